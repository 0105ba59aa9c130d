// IStream over one property of a service object (OpenProperty with IID_IStream). A value the store keeps out of
// line is read from the store a piece at a time, as the caller reads; any other value, or one about to be
// written, is held in memory. Writes go back to the object's properties at Commit and, as with Outlook's
// stores, at the stream's final Release when it was written since, so they take effect with the object's next
// save.
#pragma once

#include "platform/mapi/ComObject.h"
#include "platform/mapi/StoredValue.h"

#include <memory>
#include <string>

namespace mapisvc
{
// The object a property stream reads from and writes back to.
class StreamOwner
{
public:
    // The property's value in the type of ulPropTag; MAPI_E_NOT_FOUND when it has none.
    virtual HRESULT ReadStreamValue(ULONG ulPropTag, bool create, std::string& data) = 0;
    virtual HRESULT WriteStreamValue(ULONG ulPropTag, std::string data) = 0;
    virtual bool StreamWritable() const = 0;

protected:
    ~StreamOwner() = default;
};

class PropertyStream : public ComObject<IStream>
{
public:
    // Keeps a reference to `owner` (the COM object behind `host`) while the stream lives.
    PropertyStream(IUnknown* owner, StreamOwner* host, ULONG ulPropTag, std::string data, bool writable);
    // Over a value read from where it is stored until the stream is first written.
    PropertyStream(IUnknown* owner, StreamOwner* host, ULONG ulPropTag, std::unique_ptr<StoredValue> stored,
                   bool writable);
    ~PropertyStream() override;

    const char* InterfaceName() const override { return "IStream"; }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                     ULARGE_INTEGER* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    uint64_t Size() const { return m_stored ? m_stored->Size() : m_data.size(); }
    // The value's bytes in memory, read whole from the store first if that is where they are.
    HRESULT LoadStored();
    HRESULT Resize(uint64_t size);
    // `count` bytes of the value from the position: where they lie in memory, or read into `buffer`.
    HRESULT Piece(ULONG count, std::string& buffer, const char*& bytes);

    ComPtr<IUnknown> m_owner;
    StreamOwner* m_host;
    ULONG m_tag;
    std::unique_ptr<StoredValue> m_stored; // where the bytes are read from until they are in m_data
    std::string m_data;
    uint64_t m_position = 0;
    bool m_writable;
    bool m_written = false;
};
} // namespace mapisvc
