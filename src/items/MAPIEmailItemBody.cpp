// CMAPIEmailItem: the body in its three forms. Every body moves through a property stream in fixed chunks, with
// the cooperative pause after each and the host's cancel flag tested before each, so that a body of any length
// can be read or written and the host can stop between chunks.
#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIEx.h>

#include "items/AnsiChunkDecoder.h"
#include "items/HtmlRtfWrapper.h"
#include "items/MessageCodePage.h"
#include "items/NativeBodyModule.h"
#include "items/RtfBodyDecoder.h"
#include "items/StreamChunks.h"
#include "platform/CancelRequest.h"
#include "platform/Pause.h"
#include "session/Scoped.h"
#include "session/StoreFacts.h"

#include <algorithm>
#include <vector>

using mapipim::AnsiChunkDecoder;
using mapipim::ScopedInterface;

namespace
{
const ULONG kReadChunkBytes = 1024;    // an 8-bit chunk
const ULONG kReadChunkUnicode = 2048;  // 1024 UTF-16 characters
const int kWritePieceChars = 512;      // characters converted and written at once
const ULONG kCreateFlags = MAPI_CREATE | MAPI_MODIFY;

HRESULT OpenStream(IMAPIProp* pObject, ULONG ulPropTag, ULONG ulOptions, ULONG ulFlags,
                   ScopedInterface<IStream>& stream)
{
    return pObject->OpenProperty(ulPropTag, &IID_IStream, ulOptions, ulFlags,
                                 reinterpret_cast<LPUNKNOWN*>(&stream.Receive()));
}

// Reads 8-bit text in the code page, a character split between two chunks joined again.
bool ReadText(IStream* pStream, UINT nCodePage, CString& strText)
{
    AnsiChunkDecoder decoder(nCodePage);
    const bool bRead = mapipim::ReadStreamChunks(
        pStream, mapipim::StreamChunkBytes(kReadChunkBytes), [&](const BYTE* pChunk, ULONG cb)
        { decoder.Append(reinterpret_cast<const char*>(pChunk), static_cast<int>(cb), strText); });
    decoder.Finish(strText);
    return bRead;
}

bool ReadUnicodeText(IStream* pStream, CString& strText)
{
    return mapipim::ReadStreamChunks(pStream, mapipim::StreamChunkBytes(kReadChunkUnicode),
                                     [&](const BYTE* pChunk, ULONG cb) {
                                         strText.Append(reinterpret_cast<const WCHAR*>(pChunk),
                                                        static_cast<int>(cb / sizeof(WCHAR)));
                                     });
}

// The length of the next piece: at most kWritePieceChars characters, never half of a surrogate pair.
int PieceLength(LPCWSTR szText, int cchLeft)
{
    int cch = std::min(cchLeft, kWritePieceChars);
    if (cch < cchLeft && szText[cch - 1] >= 0xD800 && szText[cch - 1] < 0xDC00)
        --cch;
    return cch;
}

// Writes the text in pieces, as UTF-16 or converted into the code page, testing the cancel flag before and
// pausing after each. The stream is emptied first, so that an empty text leaves an empty body.
bool WriteText(IStream* pStream, LPCWSTR szText, bool bUnicode, UINT nCodePage)
{
    ULARGE_INTEGER empty = {};
    if (pStream->SetSize(empty) != S_OK)
        return false;
    const int cchText = lstrlenW(szText);
    std::vector<char> buffer;
    for (int nDone = 0; nDone < cchText;)
    {
        if (mapipim::CancelRequest() != 0)
            return false;
        const int cch = PieceLength(szText + nDone, cchText - nDone);
        const void* pData = szText + nDone;
        ULONG cb = static_cast<ULONG>(cch * sizeof(WCHAR));
        if (!bUnicode)
        {
            const int cbNeeded = WideCharToMultiByte(nCodePage, 0, szText + nDone, cch, nullptr, 0, nullptr, nullptr);
            buffer.resize(static_cast<size_t>(std::max(cbNeeded, 1)));
            cb = static_cast<ULONG>(std::max(WideCharToMultiByte(nCodePage, 0, szText + nDone, cch, buffer.data(),
                                                                 cbNeeded, nullptr, nullptr),
                                             0));
            pData = buffer.data();
        }
        ULONG cbWritten = 0;
        if (pStream->Write(pData, cb, &cbWritten) != S_OK || cbWritten != cb)
            return false;
        mapipim::Pause();
        nDone += cch;
    }
    return true;
}

bool BeginsWithHtml(LPCWSTR szText)
{
    static const WCHAR kTag[] = _T("<html");
    for (int i = 0; kTag[i]; ++i)
    {
        WCHAR ch = szText[i];
        if (ch >= _T('A') && ch <= _T('Z'))
            ch = static_cast<WCHAR>(ch + (_T('a') - _T('A')));
        if (ch != kTag[i])
            return false;
    }
    return true;
}

// The code page an RTF text's head declares (\ansicpgN); the ANSI code page without one.
UINT DeclaredCodePage(const CString& strRtf)
{
    const int nWord = strRtf.Find(_T("\\ansicpg"));
    UINT nCodePage = 0;
    for (int i = nWord + 8; nWord >= 0 && i < strRtf.GetLength() && strRtf[i] >= _T('0') && strRtf[i] <= _T('9') &&
                            nCodePage < 100000;
         ++i)
        nCodePage = nCodePage * 10 + (strRtf[i] - _T('0'));
    return mapipim::IsUsableCodePage(nCodePage) ? nCodePage : CP_ACP;
}

// The code page SetBodyHTML writes in: the message's own when it holds the text, else the ANSI code page when
// that does, else UTF-8, which holds everything.
UINT HtmlWriteCodePage(CMAPIItem& item, LPCWSTR szText)
{
    const int cchText = lstrlenW(szText);
    const UINT nMessage = mapipim::GetInternetCodePage(item);
    if (nMessage && mapipim::CanHoldText(szText, cchText, nMessage))
        return nMessage;
    if (mapipim::CanHoldText(szText, cchText, CP_ACP))
        return nMessage ? GetACP() : CP_ACP;
    return CP_UTF8;
}
} // namespace


ULONG CMAPIEmailItem::GetStoreSupport()
{
    if (const std::shared_ptr<mapipim::StoreFacts>& pStore = GetStoreFacts())
        return pStore->ulSupportMask;
    return m_pMAPI ? m_pMAPI->GetMessageStoreSupport() : 0;
}

BOOL CMAPIEmailItem::GetBodyText(CString& strText)
{
    if (!m_pItem)
        return FALSE;
    strText.Empty();
    ScopedInterface<IStream> stream;
    if (OpenStream(m_pItem, StringTag(PR_BODY_W), 0, 0, stream) != S_OK || !stream)
        return FALSE;
    const bool bRead =
        IsUnicodeStore() ? ReadUnicodeText(stream.Get(), strText) : ReadText(stream.Get(), CP_ACP, strText);
    return bRead && mapipim::CancelRequest() == 0;
}

BOOL CMAPIEmailItem::GetBodyHTML(CString& strText)
{
    if (!m_pItem)
        return FALSE;
    strText.Empty();
    const UINT nCodePage = mapipim::GetMessageCodePage(*this);
    ScopedInterface<IStream> stream;
    if (OpenStream(m_pItem, PR_HTML, 0, 0, stream) != S_OK || !stream)
        return FALSE;
    return ReadText(stream.Get(), nCodePage, strText) && mapipim::CancelRequest() == 0;
}

BOOL CMAPIEmailItem::GetBodyRTF(CString& strText)
{
    if (!m_pItem)
        return FALSE;
    strText.Empty();
    if (!m_pMAPI)
        return FALSE;
    const mapipim::NativeBodyModule module;
    const UINT nInternetCodePage = mapipim::GetInternetCodePage(*this);
    ScopedInterface<IStream> property;
    if (OpenStream(m_pItem, PR_RTF_COMPRESSED, 0, 0, property) != S_OK || !property)
        return FALSE;
    ScopedInterface<IStream> wrapped;
    HRESULT hr = S_OK;
    // RTF that MAPI hands back as it is, is read as 8-bit text; a converted native body comes in UTF-8, which
    // holds every character of it whatever the message's code page.
    UINT nCodePage = CP_ACP;
    if (module.Function())
    {
        RTF_WCSINFO info = {sizeof(RTF_WCSINFO), MAPI_NATIVE_BODY, nInternetCodePage, CP_UTF8};
        RTF_WCSRETINFO retInfo = {sizeof(RTF_WCSRETINFO), 0};
        hr = module.Function()(property.Get(), &info, &wrapped.Receive(), &retInfo);
        if (hr == S_OK && (retInfo.ulStreamFlags & (MAPI_NATIVE_BODY_TYPE_HTML | MAPI_NATIVE_BODY_TYPE_PLAINTEXT)))
            nCodePage = CP_UTF8;
    }
    else
        hr = WrapCompressedRTFStream(property.Get(), 0, &wrapped.Receive());
    IStream* pRead = hr == S_OK && wrapped ? wrapped.Get() : property.Get();
    if (!ReadText(pRead, nCodePage, strText))
        return FALSE;
    if (module.Function())
        return mapipim::CancelRequest() == 0;
    return DecodeRTFBody(strText);
}

BOOL CMAPIEmailItem::DecodeRTFBody(CString& strText)
{
    return mapipim::DecodeRtfBody(strText) ? TRUE : FALSE;
}

BOOL CMAPIEmailItem::SetBodyText(LPCWSTR szText)
{
    if (!m_pItem || !szText)
        return FALSE;
    ScopedInterface<IStream> stream;
    if (OpenStream(m_pItem, StringTag(PR_BODY_W), 0, kCreateFlags, stream) != S_OK || !stream)
        return FALSE;
    const bool bWritten = WriteText(stream.Get(), szText, IsUnicodeStore(), CP_ACP);
    return bWritten && mapipim::CancelRequest() == 0;
}

BOOL CMAPIEmailItem::SetBodyHTML(LPCWSTR szText)
{
    if (!m_pItem || !szText)
        return FALSE;
    const UINT nCodePage = HtmlWriteCodePage(*this, szText);
    ScopedInterface<IStream> stream;
    if (OpenStream(m_pItem, PR_HTML, 0, kCreateFlags, stream) != S_OK || !stream)
        return FALSE;
    if (!WriteText(stream.Get(), szText, false, nCodePage))
        return FALSE;
    // The bytes are read back in the message's code page: it names the one they were written in.
    if (nCodePage != CP_ACP && !SetPropertyLong(PR_INTERNET_CPID, static_cast<LONG>(nCodePage)))
        return FALSE;
    return mapipim::CancelRequest() == 0;
}

BOOL CMAPIEmailItem::SetBodyRTF(LPCWSTR szText)
{
    if (!m_pItem || !m_pMAPI || !szText)
        return FALSE;
    CString strRtf(szText);
    if (BeginsWithHtml(szText))
    {
        if (GetStoreSupport() & STORE_HTML_OK)
            return SetBodyHTML(szText);
        strRtf = mapipim::WrapHtmlInRtf(szText);
    }
    if (strRtf.IsEmpty())
        return FALSE;
    ScopedInterface<IStream> property;
    if (OpenStream(m_pItem, PR_RTF_COMPRESSED, STGM_CREATE | STGM_WRITE, kCreateFlags, property) != S_OK || !property)
        return FALSE;
    ScopedInterface<IStream> wrapped;
    if (WrapCompressedRTFStream(property.Get(), MAPI_MODIFY, &wrapped.Receive()) != S_OK || !wrapped)
        return FALSE;
    const UINT nCodePage = DeclaredCodePage(strRtf);
    const int cb = WideCharToMultiByte(nCodePage, 0, strRtf, strRtf.GetLength(), nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<size_t>(std::max(cb, 1)));
    WideCharToMultiByte(nCodePage, 0, strRtf, strRtf.GetLength(), bytes.data(), cb, nullptr, nullptr);
    ULONG cbWritten = 0;
    bool bDone = wrapped->Write(bytes.data(), static_cast<ULONG>(std::max(cb, 0)), &cbWritten) == S_OK &&
                 cbWritten == static_cast<ULONG>(cb);
    bDone = bDone && wrapped->Commit(0) == S_OK && property->Commit(0) == S_OK;
    return bDone && mapipim::CancelRequest() == 0;
}
