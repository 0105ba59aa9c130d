// CMAPIEmailItem: the body operations in their simplest form, until the full body formats (compressed RTF and its
// de-encapsulation) take their place: plain text through the item's body stream, HTML as 8-bit text in the ANSI
// code page through PR_HTML's stream, and no RTF body (reading and writing it fails; decoding leaves text as is).
#include <mapipim/MAPIEmailItem.h>

#include "items/CancelFlag.h"
#include "session/Scoped.h"

#include <string>

using mapipim::ScopedInterface;

namespace
{
HRESULT OpenHtmlStream(IMAPIProp* pItem, ULONG ulFlags, ScopedInterface<IStream>& stream)
{
    const ULONG ulInterfaceOptions = (ulFlags & MAPI_CREATE) ? STGM_CREATE | STGM_WRITE : 0;
    return pItem->OpenProperty(PR_HTML, &IID_IStream, ulInterfaceOptions, ulFlags,
                               reinterpret_cast<LPUNKNOWN*>(&stream.Receive()));
}
} // namespace

BOOL CMAPIEmailItem::GetBodyText(CString& strText)
{
    return GetBody(strText);
}

BOOL CMAPIEmailItem::SetBodyText(LPCWSTR szText)
{
    return SetBody(szText);
}

BOOL CMAPIEmailItem::GetBodyHTML(CString& strText)
{
    strText.Empty();
    if (!m_pItem || mapipim::IsItemAccessCancelled())
        return FALSE;
    ScopedInterface<IStream> stream;
    if (OpenHtmlStream(m_pItem, 0, stream) != S_OK || !stream)
        return FALSE;
    std::string bytes;
    char buffer[4096];
    ULONG cbRead = 0;
    while (stream->Read(buffer, sizeof buffer, &cbRead) == S_OK && cbRead > 0)
        bytes.append(buffer, cbRead);
    if (!bytes.empty())
    {
        const int nChars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), NULL, 0);
        std::basic_string<WCHAR> wide(static_cast<size_t>(nChars > 0 ? nChars : 0), WCHAR(0));
        if (nChars > 0)
            MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], nChars);
        strText = CString(wide.c_str(), nChars);
    }
    return mapipim::IsItemAccessCancelled() ? FALSE : TRUE;
}

BOOL CMAPIEmailItem::SetBodyHTML(LPCWSTR szText)
{
    if (!m_pItem || !szText || mapipim::IsItemAccessCancelled())
        return FALSE;
    ScopedInterface<IStream> stream;
    if (OpenHtmlStream(m_pItem, MAPI_CREATE | MAPI_MODIFY, stream) != S_OK || !stream)
        return FALSE;
    const int nBytes = WideCharToMultiByte(CP_ACP, 0, szText, -1, NULL, 0, NULL, NULL);
    if (nBytes <= 1)
        return TRUE;
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, szText, -1, &bytes[0], nBytes, NULL, NULL);
    ULONG cbWritten = 0;
    return stream->Write(bytes.data(), static_cast<ULONG>(nBytes - 1), &cbWritten) == S_OK;
}

BOOL CMAPIEmailItem::GetBodyRTF(CString& strText)
{
    strText.Empty();
    return FALSE;
}

BOOL CMAPIEmailItem::SetBodyRTF(LPCWSTR)
{
    return FALSE;
}

BOOL CMAPIEmailItem::DecodeRTFBody(CString&)
{
    return mapipim::IsItemAccessCancelled() ? FALSE : TRUE;
}
