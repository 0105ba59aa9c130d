#include "platform/mapi/PropertyStream.h"

#include "platform/mapi/ServiceCall.h"

#include <algorithm>
#include <cstring>

namespace mapisvc
{
namespace
{
// The largest value a store keeps (SQLite's limit for one value).
constexpr uint64_t kMaxValueSize = 1000000000;
} // namespace

PropertyStream::PropertyStream(IUnknown* owner, StreamOwner* host, ULONG ulPropTag, std::string data, bool writable)
    : m_owner(ComPtr<IUnknown>::AddRefed(owner)), m_host(host), m_tag(ulPropTag), m_data(std::move(data)),
      m_writable(writable)
{
}

PropertyStream::PropertyStream(IUnknown* owner, StreamOwner* host, ULONG ulPropTag, std::unique_ptr<StoredValue> stored,
                               bool writable)
    : m_owner(ComPtr<IUnknown>::AddRefed(owner)), m_host(host), m_tag(ulPropTag), m_stored(std::move(stored)),
      m_writable(writable)
{
}

PropertyStream::~PropertyStream()
{
    if (m_written)
        m_host->WriteStreamValue(m_tag, std::move(m_data));
}

bool PropertyStream::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IStream, &IID_ISequentialStream});
}

HRESULT PropertyStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    ServiceCall call(*this, "ISequentialStream", "Read");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!pv && cb)
        return call.Done(STG_E_INVALIDPOINTER);
    const uint64_t available = m_position < Size() ? Size() - m_position : 0;
    const ULONG count = static_cast<ULONG>(std::min<uint64_t>(cb, available));
    if (pcbRead)
        *pcbRead = 0;
    if (m_stored && count)
    {
        if (FAILED(m_stored->Read(m_position, pv, count)))
            return call.Done(STG_E_READFAULT);
    }
    else if (count)
        std::memcpy(pv, m_data.data() + m_position, count);
    m_position += count;
    if (pcbRead)
        *pcbRead = count;
    return call.Done(S_OK);
}

HRESULT PropertyStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    ServiceCall call(*this, "ISequentialStream", "Write");
    if (HRESULT hr = call.Fault())
        return hr;
    if (pcbWritten)
        *pcbWritten = 0;
    if (!m_writable)
        return call.Done(STG_E_ACCESSDENIED);
    if (!pv && cb)
        return call.Done(STG_E_INVALIDPOINTER);
    if (HRESULT hr = LoadStored())
        return call.Done(hr);
    if (m_position + cb > m_data.size())
        if (HRESULT hr = Resize(m_position + cb))
            return call.Done(hr);
    if (cb)
        std::memcpy(&m_data[m_position], pv, cb);
    m_position += cb;
    m_written = true;
    if (pcbWritten)
        *pcbWritten = cb;
    return call.Done(S_OK);
}

HRESULT PropertyStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition)
{
    ServiceCall call(*this, "IStream", "Seek");
    if (HRESULT hr = call.Flags(dwOrigin).Fault())
        return hr;
    int64_t base = 0;
    switch (dwOrigin)
    {
    case STREAM_SEEK_SET:
        break;
    case STREAM_SEEK_CUR:
        base = static_cast<int64_t>(m_position);
        break;
    case STREAM_SEEK_END:
        base = static_cast<int64_t>(Size());
        break;
    default:
        return call.Done(STG_E_INVALIDFUNCTION);
    }
    const int64_t position = base + dlibMove.QuadPart;
    if (position < 0)
        return call.Done(STG_E_INVALIDFUNCTION);
    m_position = static_cast<uint64_t>(position);
    if (plibNewPosition)
        plibNewPosition->QuadPart = m_position;
    return call.Done(S_OK);
}

HRESULT PropertyStream::LoadStored()
{
    if (!m_stored)
        return S_OK;
    if (HRESULT hr = Resize(m_stored->Size()))
        return hr;
    if (FAILED(m_stored->Read(0, m_data.data(), m_data.size())))
    {
        m_data.clear();
        return STG_E_READFAULT;
    }
    m_stored.reset();
    return S_OK;
}

HRESULT PropertyStream::Resize(uint64_t size)
{
    if (size > kMaxValueSize)
        return STG_E_MEDIUMFULL;
    try
    {
        m_data.resize(static_cast<size_t>(size), '\0');
    }
    catch (const std::bad_alloc&)
    {
        return STG_E_INSUFFICIENTMEMORY;
    }
    return S_OK;
}

HRESULT PropertyStream::SetSize(ULARGE_INTEGER libNewSize)
{
    ServiceCall call(*this, "IStream", "SetSize");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!m_writable)
        return call.Done(STG_E_ACCESSDENIED);
    if (HRESULT hr = LoadStored())
        return call.Done(hr);
    if (HRESULT hr = Resize(libNewSize.QuadPart))
        return call.Done(hr);
    m_written = true;
    return call.Done(S_OK);
}

HRESULT PropertyStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten)
{
    ServiceCall call(*this, "IStream", "CopyTo");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!pstm)
        return call.Done(STG_E_INVALIDPOINTER);
    const uint64_t available = m_position < Size() ? Size() - m_position : 0;
    uint64_t remaining = std::min<uint64_t>(cb.QuadPart, available);
    uint64_t read = 0, written = 0;
    std::string buffer;
    HRESULT hr = S_OK;
    while (remaining && hr == S_OK)
    {
        const ULONG chunk = static_cast<ULONG>(std::min<uint64_t>(remaining, 1 << 20));
        const char* bytes = nullptr;
        if ((hr = Piece(chunk, buffer, bytes)) != S_OK)
            break;
        ULONG done = 0;
        hr = pstm->Write(bytes, chunk, &done);
        m_position += chunk;
        read += chunk;
        written += done;
        remaining -= chunk;
    }
    if (pcbRead)
        pcbRead->QuadPart = read;
    if (pcbWritten)
        pcbWritten->QuadPart = written;
    return call.Done(hr);
}

HRESULT PropertyStream::Piece(ULONG count, std::string& buffer, const char*& bytes)
{
    if (!m_stored)
    {
        bytes = m_data.data() + m_position;
        return S_OK;
    }
    buffer.resize(count);
    if (FAILED(m_stored->Read(m_position, buffer.data(), count)))
        return STG_E_READFAULT;
    bytes = buffer.data();
    return S_OK;
}

HRESULT PropertyStream::Commit(DWORD grfCommitFlags)
{
    ServiceCall call(*this, "IStream", "Commit");
    if (HRESULT hr = call.Flags(grfCommitFlags).Fault())
        return hr;
    if (!m_writable)
        return call.Done(STG_E_ACCESSDENIED);
    if (!m_written)
        return call.Done(S_OK);
    if (HRESULT hr = m_host->WriteStreamValue(m_tag, m_data))
        return call.Done(hr);
    m_written = false;
    return call.Done(S_OK);
}

HRESULT PropertyStream::Revert()
{
    return Unsupported("Revert");
}

HRESULT PropertyStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD dwLockType)
{
    return ServiceCall(*this, "IStream", "LockRegion").Flags(dwLockType).Answer(STG_E_INVALIDFUNCTION);
}

HRESULT PropertyStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD dwLockType)
{
    return ServiceCall(*this, "IStream", "UnlockRegion").Flags(dwLockType).Answer(STG_E_INVALIDFUNCTION);
}

HRESULT PropertyStream::Stat(STATSTG* pstatstg, DWORD grfStatFlag)
{
    ServiceCall call(*this, "IStream", "Stat");
    if (HRESULT hr = call.Flags(grfStatFlag).Fault())
        return hr;
    if (!pstatstg)
        return call.Done(STG_E_INVALIDPOINTER);
    std::memset(pstatstg, 0, sizeof(*pstatstg));
    // The stream has no name to hand out, whatever grfStatFlag asks.
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = Size();
    pstatstg->grfMode = m_writable ? STGM_READWRITE : STGM_READ;
    return call.Done(S_OK);
}

HRESULT PropertyStream::Clone(IStream** ppstm)
{
    ServiceCall call(*this, "IStream", "Clone");
    if (HRESULT hr = call.Fault())
        return hr;
    if (ppstm)
        *ppstm = nullptr;
    return call.Done(MAPI_E_NO_SUPPORT);
}
} // namespace mapisvc
