#include "platform/mapi/NativeBody.h"

#include "platform/mapi/MessageBody.h"
#include "platform/mapi/RtfBody.h"
#include "platform/mapi/RtfStream.h"

namespace mapisvc
{
namespace
{
const ULONG kKnownFlags = MAPI_MODIFY | STORE_UNCOMPRESSED_RTF | MAPI_NATIVE_BODY;

ULONG StreamFlagsOf(RtfBodyKind kind)
{
    switch (kind)
    {
    case RtfBodyKind::Html:
        return MAPI_NATIVE_BODY_TYPE_HTML;
    case RtfBodyKind::Text:
        return MAPI_NATIVE_BODY_TYPE_PLAINTEXT;
    default:
        return MAPI_NATIVE_BODY_TYPE_RTF;
    }
}

// The native body of the stored RTF, in the output code page.
std::string NativeBody(const std::string& rtf, RtfBodyKind kind, UINT codePage)
{
    if (kind == RtfBodyKind::Rtf)
        return rtf;
    const std::u16string body = RtfBodyText(rtf);
    return kind == RtfBodyKind::Html ? EncodeHtml(body, codePage) : EncodeText(body, codePage);
}
} // namespace

HRESULT STDMETHODCALLTYPE WrapCompressedRTFStreamEx(LPSTREAM lpCompressedRTFStream, const RTF_WCSINFO* pWCSInfo,
                                                    LPSTREAM* lppUncompressedRTFStream, RTF_WCSRETINFO* pRetInfo)
{
    ServiceCall call("MAPI", nullptr, "WrapCompressedRTFStreamEx");
    if (HRESULT hr = call.Flags(pWCSInfo ? pWCSInfo->ulFlags : 0).Fault())
        return hr;
    if (!lpCompressedRTFStream || !pWCSInfo || !lppUncompressedRTFStream || !pRetInfo ||
        pWCSInfo->size < sizeof(RTF_WCSINFO) || pRetInfo->size < sizeof(RTF_WCSRETINFO))
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppUncompressedRTFStream = nullptr;
    const ULONG ulFlags = pWCSInfo->ulFlags;
    if ((ulFlags & ~kKnownFlags) || ((ulFlags & MAPI_NATIVE_BODY) && (ulFlags & MAPI_MODIFY)))
        return call.Done(MAPI_E_UNKNOWN_FLAGS);
    if (ulFlags & MAPI_MODIFY)
    {
        *lppUncompressedRTFStream = RtfStream::Writer(lpCompressedRTFStream, (ulFlags & STORE_UNCOMPRESSED_RTF) != 0);
        pRetInfo->ulStreamFlags = MAPI_NATIVE_BODY_TYPE_RTF;
        return call.Done(S_OK);
    }
    if (!(ulFlags & MAPI_NATIVE_BODY))
    {
        *lppUncompressedRTFStream = RtfStream::Reader(lpCompressedRTFStream, DecodeStoredRtf);
        pRetInfo->ulStreamFlags = MAPI_NATIVE_BODY_TYPE_RTF;
        return call.Done(S_OK);
    }
    // The kind is returned with the stream, so the body is decoded now; damage still fails the stream's reads.
    std::string stored;
    if (HRESULT hr = ReadWholeStream(lpCompressedRTFStream, stored))
        return call.Done(hr);
    std::string rtf;
    const HRESULT decoded = DecodeStoredRtf(stored, rtf);
    const RtfBodyKind kind = decoded == S_OK ? EncapsulatedKind(rtf) : RtfBodyKind::Rtf;
    const UINT codePage = pWCSInfo->ulOutCodePage ? pWCSInfo->ulOutCodePage
                          : pWCSInfo->ulInCodePage ? pWCSInfo->ulInCodePage
                                                   : CP_ACP;
    std::string body = decoded == S_OK ? NativeBody(rtf, kind, codePage) : std::string();
    *lppUncompressedRTFStream =
        RtfStream::Reader(lpCompressedRTFStream, [decoded, body = std::move(body)](const std::string&, std::string& out)
                          {
                              out = body;
                              return decoded;
                          });
    pRetInfo->ulStreamFlags = StreamFlagsOf(kind);
    return call.Done(S_OK);
}
} // namespace mapisvc
