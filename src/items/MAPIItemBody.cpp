// CMAPIItem: the plain-text body. A body can be longer than one property value may be, so it always moves
// through a stream, read in fixed chunks with the cooperative pause after each and the host's cancel flag
// tested before each.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIInterface.h>

#include "items/AnsiChunkDecoder.h"
#include "items/CancelFlag.h"
#include "platform/Pause.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringMode.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

using mapipim::AnsiChunkDecoder;
using mapipim::AnsiText;
using mapipim::IsItemAccessCancelled;
using mapipim::ScopedInterface;

namespace
{
const ULONG kBodyChunkBytes = 2048; // an 8-bit chunk
const ULONG kBodyChunkChars = 2048; // a UTF-16 chunk

HRESULT OpenBodyStream(IMAPIProp* pItem, ULONG ulFlags, ScopedInterface<IStream>& stream)
{
    return pItem->OpenProperty(mapipim::StoreStringTag(PR_BODY_W), &IID_IStream, 0, ulFlags,
                               reinterpret_cast<LPUNKNOWN*>(&stream.Receive()));
}

// Hands the stream to appendChunk in chunks of cbChunk bytes, pausing after each, until a chunk comes back short
// or the cancel flag is anything but 0 before a read. False when a read fails.
bool ReadChunks(IStream* pStream, ULONG cbChunk, const std::function<void(const BYTE*, ULONG)>& appendChunk)
{
    std::vector<BYTE> chunk(cbChunk);
    while (CMAPIInterface::m_bCancel == 0)
    {
        ULONG cbRead = 0;
        if (pStream->Read(chunk.data(), cbChunk, &cbRead) != S_OK)
            return false;
        cbRead = std::min(cbRead, cbChunk);
        appendChunk(chunk.data(), cbRead);
        mapipim::Pause();
        if (cbRead < cbChunk)
            break;
    }
    return true;
}

bool ReadAnsiBody(IStream* pStream, CString& strBody)
{
    AnsiChunkDecoder decoder;
    const bool bRead =
        ReadChunks(pStream, kBodyChunkBytes,
                   [&](const BYTE* pChunk, ULONG cb)
                   { decoder.Append(reinterpret_cast<const char*>(pChunk), static_cast<int>(cb), strBody); });
    decoder.Finish(strBody);
    return bRead;
}

bool ReadUnicodeBody(IStream* pStream, CString& strBody)
{
    return ReadChunks(pStream, kBodyChunkChars * sizeof(WCHAR),
                      [&](const BYTE* pChunk, ULONG cb)
                      {
                          // The chunk is text up to its first zero character, as a terminated string would be.
                          const auto* pText = reinterpret_cast<const WCHAR*>(pChunk);
                          const int cchChunk = static_cast<int>(cb / sizeof(WCHAR));
                          int cchText = 0;
                          while (cchText < cchChunk && pText[cchText])
                              ++cchText;
                          strBody.Append(pText, cchText);
                      });
}

// The text with its terminator, in the form the store keeps: UTF-16, or 8-bit in the ANSI code page.
HRESULT WriteBody(IStream* pStream, LPCWSTR szBody)
{
    ULONG cbWritten = 0;
    if (!CMAPIEx::m_bOnlyANSIOnUnicode)
    {
        const ULONG cbBody = static_cast<ULONG>((lstrlenW(szBody) + 1) * sizeof(WCHAR));
        return pStream->Write(szBody, cbBody, &cbWritten);
    }
    AnsiText ansiBody(szBody);
    const ULONG cbBody = static_cast<ULONG>(std::strlen(ansiBody.Get()) + 1);
    return pStream->Write(ansiBody.Get(), cbBody, &cbWritten);
}
} // namespace

BOOL CMAPIItem::GetBody(CString& strBody)
{
    if (!m_pItem || IsItemAccessCancelled())
        return FALSE;
    strBody.Empty();
    ScopedInterface<IStream> stream;
    if (OpenBodyStream(m_pItem, 0, stream) != S_OK || !stream)
        return FALSE;
    const bool bRead =
        CMAPIEx::m_bOnlyANSIOnUnicode ? ReadAnsiBody(stream.Get(), strBody) : ReadUnicodeBody(stream.Get(), strBody);
    return bRead && CMAPIInterface::m_bCancel == 0;
}

BOOL CMAPIItem::SetBody(LPCWSTR szBody)
{
    if (!m_pItem || !szBody || IsItemAccessCancelled())
        return FALSE;
    ScopedInterface<IStream> stream;
    if (OpenBodyStream(m_pItem, MAPI_CREATE | MAPI_MODIFY, stream) != S_OK || !stream)
        return FALSE;
    return WriteBody(stream.Get(), szBody) == S_OK;
}
