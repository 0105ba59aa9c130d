#include "platform/mapi/RtfStream.h"

#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/Text.h"

#include <algorithm>
#include <cstring>

namespace mapisvc
{
namespace
{
constexpr ULONG kReadPiece = 64 * 1024;
// What one stream may hold, as for property streams.
constexpr uint64_t kMaxWrapped = 1000000000;
} // namespace

HRESULT ReadWholeStream(IStream* stream, std::string& data)
{
    data.clear();
    std::string piece(kReadPiece, '\0');
    for (;;)
    {
        ULONG cbRead = 0;
        if (HRESULT hr = stream->Read(&piece[0], kReadPiece, &cbRead))
            return hr;
        cbRead = std::min(cbRead, kReadPiece);
        if (data.size() + cbRead > kMaxWrapped)
            return MAPI_E_NOT_ENOUGH_MEMORY;
        data.append(piece, 0, cbRead);
        if (cbRead < kReadPiece)
            return S_OK;
    }
}

HRESULT DecodeStoredRtf(const std::string& stored, std::string& rtf)
{
    // A property created but never written holds no RTF at all: nothing to decode, nothing damaged.
    if (stored.empty())
    {
        rtf.clear();
        return S_OK;
    }
    const RtfDecodeResult result = DecompressRtf(stored, rtf);
    switch (result.status)
    {
    case RtfDecodeStatus::Ok:
        return S_OK;
    case RtfDecodeStatus::CrcMismatch:
        LOGTRACE(_T("[MAPI] WrapCompressedRTFStream - CRC mismatch tolerated : stored %x, content %x"),
                 static_cast<unsigned>(result.storedCrc), static_cast<unsigned>(result.contentCrc));
        return S_OK;
    default:
        LOGTRACE(_T("[MAPI] WrapCompressedRTFStream - damaged stream : %s"), FromUtf8(result.reason).c_str());
        rtf.clear();
        return MAPI_E_CORRUPT_DATA;
    }
}

RtfStream::RtfStream(IStream* underlying, Decoder decoder, bool writing, bool uncompressed)
    : m_underlying(underlying), m_decoder(std::move(decoder)), m_writing(writing), m_uncompressed(uncompressed),
      m_loaded(writing)
{
    m_underlying->AddRef();
}

RtfStream* RtfStream::Reader(IStream* underlying, Decoder decoder)
{
    return new RtfStream(underlying, std::move(decoder), false, false);
}

RtfStream* RtfStream::Writer(IStream* underlying, bool uncompressed)
{
    return new RtfStream(underlying, Decoder(), true, uncompressed);
}

RtfStream::~RtfStream()
{
    m_underlying->Release();
}

bool RtfStream::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IStream, &IID_ISequentialStream});
}

HRESULT RtfStream::Load()
{
    if (m_loaded)
        return m_loadResult;
    m_loaded = true;
    std::string stored;
    m_loadResult = ReadWholeStream(m_underlying, stored);
    if (m_loadResult == S_OK)
        m_loadResult = m_decoder(stored, m_data);
    if (m_loadResult != S_OK)
        m_data.clear();
    return m_loadResult;
}

HRESULT RtfStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    ServiceCall call(*this, "ISequentialStream", "Read");
    if (HRESULT hr = call.Fault())
        return hr;
    if (pcbRead)
        *pcbRead = 0;
    if (!pv && cb)
        return call.Done(STG_E_INVALIDPOINTER);
    if (HRESULT hr = Load())
        return call.Done(hr);
    const uint64_t available = m_position < m_data.size() ? m_data.size() - m_position : 0;
    const ULONG count = static_cast<ULONG>(std::min<uint64_t>(cb, available));
    if (count)
        std::memcpy(pv, m_data.data() + m_position, count);
    m_position += count;
    if (pcbRead)
        *pcbRead = count;
    return call.Done(S_OK);
}

HRESULT RtfStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    ServiceCall call(*this, "ISequentialStream", "Write");
    if (HRESULT hr = call.Fault())
        return hr;
    if (pcbWritten)
        *pcbWritten = 0;
    if (!m_writing)
        return call.Done(STG_E_ACCESSDENIED);
    if (!pv && cb)
        return call.Done(STG_E_INVALIDPOINTER);
    if (m_position + cb > kMaxWrapped)
        return call.Done(STG_E_MEDIUMFULL);
    if (m_position + cb > m_data.size())
        m_data.resize(static_cast<size_t>(m_position + cb), '\0');
    if (cb)
        std::memcpy(&m_data[static_cast<size_t>(m_position)], pv, cb);
    m_position += cb;
    if (pcbWritten)
        *pcbWritten = cb;
    return call.Done(S_OK);
}

HRESULT RtfStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition)
{
    ServiceCall call(*this, "IStream", "Seek");
    if (HRESULT hr = call.Flags(dwOrigin).Fault())
        return hr;
    if (HRESULT hr = Load())
        return call.Done(hr);
    int64_t base = 0;
    if (dwOrigin == STREAM_SEEK_CUR)
        base = static_cast<int64_t>(m_position);
    else if (dwOrigin == STREAM_SEEK_END)
        base = static_cast<int64_t>(m_data.size());
    else if (dwOrigin != STREAM_SEEK_SET)
        return call.Done(STG_E_INVALIDFUNCTION);
    const int64_t position = base + dlibMove.QuadPart;
    if (position < 0)
        return call.Done(STG_E_INVALIDFUNCTION);
    m_position = static_cast<uint64_t>(position);
    if (plibNewPosition)
        plibNewPosition->QuadPart = m_position;
    return call.Done(S_OK);
}

HRESULT RtfStream::SetSize(ULARGE_INTEGER libNewSize)
{
    ServiceCall call(*this, "IStream", "SetSize");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!m_writing)
        return call.Done(STG_E_ACCESSDENIED);
    if (libNewSize.QuadPart > kMaxWrapped)
        return call.Done(STG_E_MEDIUMFULL);
    m_data.resize(static_cast<size_t>(libNewSize.QuadPart), '\0');
    return call.Done(S_OK);
}

HRESULT RtfStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten)
{
    return Unsupported("CopyTo");
}

HRESULT RtfStream::Commit(DWORD grfCommitFlags)
{
    ServiceCall call(*this, "IStream", "Commit");
    if (HRESULT hr = call.Flags(grfCommitFlags).Fault())
        return hr;
    if (!m_writing)
        return call.Done(STG_E_ACCESSDENIED);
    const std::string stored = m_uncompressed ? StoreRtfUncompressed(m_data) : CompressRtf(m_data);
    LARGE_INTEGER start = {};
    ULARGE_INTEGER size = {};
    size.QuadPart = stored.size();
    ULONG cbWritten = 0;
    HRESULT hr = m_underlying->Seek(start, STREAM_SEEK_SET, nullptr);
    if (hr == S_OK)
        hr = m_underlying->SetSize(size);
    if (hr == S_OK)
        hr = m_underlying->Write(stored.data(), static_cast<ULONG>(stored.size()), &cbWritten);
    if (hr == S_OK && cbWritten != stored.size())
        hr = STG_E_MEDIUMFULL;
    return call.Done(hr);
}

HRESULT RtfStream::Revert()
{
    return Unsupported("Revert");
}

HRESULT RtfStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD dwLockType)
{
    return ServiceCall(*this, "IStream", "LockRegion").Flags(dwLockType).Answer(STG_E_INVALIDFUNCTION);
}

HRESULT RtfStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD dwLockType)
{
    return ServiceCall(*this, "IStream", "UnlockRegion").Flags(dwLockType).Answer(STG_E_INVALIDFUNCTION);
}

HRESULT RtfStream::Stat(STATSTG* pstatstg, DWORD grfStatFlag)
{
    ServiceCall call(*this, "IStream", "Stat");
    if (HRESULT hr = call.Flags(grfStatFlag).Fault())
        return hr;
    if (!pstatstg)
        return call.Done(STG_E_INVALIDPOINTER);
    if (HRESULT hr = Load())
        return call.Done(hr);
    std::memset(pstatstg, 0, sizeof(*pstatstg));
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = m_data.size();
    pstatstg->grfMode = m_writing ? STGM_WRITE : STGM_READ;
    return call.Done(S_OK);
}

HRESULT RtfStream::Clone(IStream** ppstm)
{
    ServiceCall call(*this, "IStream", "Clone");
    if (HRESULT hr = call.Fault())
        return hr;
    if (ppstm)
        *ppstm = nullptr;
    return call.Done(MAPI_E_NO_SUPPORT);
}
} // namespace mapisvc

extern "C" HRESULT STDAPICALLTYPE WrapCompressedRTFStream(LPSTREAM lpCompressedRTFStream, ULONG ulFlags,
                                                          LPSTREAM* lpUncompressedRTFStream)
{
    using namespace mapisvc;
    ServiceCall call("MAPI", nullptr, "WrapCompressedRTFStream");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpCompressedRTFStream || !lpUncompressedRTFStream)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lpUncompressedRTFStream = nullptr;
    if (ulFlags & ~ULONG(MAPI_MODIFY | STORE_UNCOMPRESSED_RTF))
        return call.Done(MAPI_E_UNKNOWN_FLAGS);
    if (ulFlags & MAPI_MODIFY)
        *lpUncompressedRTFStream = RtfStream::Writer(lpCompressedRTFStream, (ulFlags & STORE_UNCOMPRESSED_RTF) != 0);
    else
        *lpUncompressedRTFStream = RtfStream::Reader(lpCompressedRTFStream, DecodeStoredRtf);
    return call.Done(S_OK);
}
