// The stream WrapCompressedRTFStream hands out over a PR_RTF_COMPRESSED stream. Reading gives the RTF (or, for
// WrapCompressedRTFStreamEx, the body it encapsulates), decoded from the whole underlying stream at the first
// read; a damaged stream fails that read. Opened with MAPI_MODIFY it collects what is written and, at Commit,
// writes the encoded form into the underlying stream, which its owner commits in turn.
#pragma once

#include "platform/mapi/ComObject.h"

#include <functional>
#include <string>

namespace mapisvc
{
// Reads what the underlying stream holds from its current position to its end.
HRESULT ReadWholeStream(IStream* stream, std::string& data);

class RtfStream : public ComObject<IStream>
{
public:
    // Turns the underlying stream's bytes into what the wrapper delivers.
    typedef std::function<HRESULT(const std::string& stored, std::string& delivered)> Decoder;

    // A reading wrapper, or a writing one whose Commit stores the written RTF as compressed RTF (uncompressed
    // when `uncompressed`).
    static RtfStream* Reader(IStream* underlying, Decoder decoder);
    static RtfStream* Writer(IStream* underlying, bool uncompressed);
    ~RtfStream() override;

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
    RtfStream(IStream* underlying, Decoder decoder, bool writing, bool uncompressed);
    HRESULT Load();

    IStream* m_underlying;
    Decoder m_decoder;
    bool m_writing;
    bool m_uncompressed;
    bool m_loaded;
    HRESULT m_loadResult = S_OK;
    std::string m_data;
    uint64_t m_position = 0;
};

// The decoder of WrapCompressedRTFStream: the RTF of either stored form. A CRC that is not the content's is
// traced and tolerated, as Outlook does; damage is traced and fails the read.
HRESULT DecodeStoredRtf(const std::string& stored, std::string& rtf);
} // namespace mapisvc
