// CMAPIItem: the plain-text body. A body can be longer than one property value may be, so it moves through a
// stream, read in fixed chunks with the cooperative pause after each and the host's cancel flag tested before
// each. With the pause off no pause is owed: a body the item's batch read already holds is taken from there, and
// a stream moves in large pieces.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>

#include "items/AnsiChunkDecoder.h"
#include "items/CancelFlag.h"
#include "items/PropertyBatch.h"
#include "items/StreamChunks.h"
#include "platform/CancelRequest.h"
#include "platform/Pause.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringValue.h"

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

HRESULT OpenBodyStream(const CMAPIItem& item, IMAPIProp* pObject, ULONG ulFlags, ScopedInterface<IStream>& stream)
{
    return pObject->OpenProperty(item.StringTag(PR_BODY_W), &IID_IStream, 0, ulFlags,
                                 reinterpret_cast<LPUNKNOWN*>(&stream.Receive()));
}

// The body from the item's batch read, when the batch holds all of it as a string of the store's form; a body
// too large for a property value comes back as an error there and is read through its stream.
bool TakeBatchBody(const CMAPIItem& item, CString& strBody)
{
    const mapipim::PropertyBatch* pBatch = item.GetPropertyBatch();
    const SPropValue* pValue = pBatch ? pBatch->Find(PR_BODY_W) : nullptr;
    if (!pValue || pValue->ulPropTag != item.StringTag(PR_BODY_W) || mapipim::GetPauseMilliseconds() != 0)
        return false;
    strBody = mapipim::StringOf(*pValue);
    return true;
}

bool ReadAnsiBody(IStream* pStream, CString& strBody)
{
    AnsiChunkDecoder decoder;
    const bool bRead =
        mapipim::ReadStreamChunks(pStream, mapipim::StreamChunkBytes(kBodyChunkBytes),
                   [&](const BYTE* pChunk, ULONG cb)
                   { decoder.Append(reinterpret_cast<const char*>(pChunk), static_cast<int>(cb), strBody); });
    decoder.Finish(strBody);
    return bRead;
}

bool ReadUnicodeBody(IStream* pStream, CString& strBody)
{
    return mapipim::ReadStreamChunks(pStream, mapipim::StreamChunkBytes(kBodyChunkChars * sizeof(WCHAR)),
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
HRESULT WriteBody(IStream* pStream, LPCWSTR szBody, bool bUnicode)
{
    ULONG cbWritten = 0;
    if (bUnicode)
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
    if (TakeBatchBody(*this, strBody))
        return TRUE;
    ScopedInterface<IStream> stream;
    if (OpenBodyStream(*this, m_pItem, 0, stream) != S_OK || !stream)
        return FALSE;
    const bool bRead = IsUnicodeStore() ? ReadUnicodeBody(stream.Get(), strBody) : ReadAnsiBody(stream.Get(), strBody);
    return bRead && mapipim::CancelRequest() == 0;
}

BOOL CMAPIItem::SetBody(LPCWSTR szBody)
{
    if (!m_pItem || !szBody || IsItemAccessCancelled())
        return FALSE;
    ScopedInterface<IStream> stream;
    if (OpenBodyStream(*this, m_pItem, MAPI_CREATE | MAPI_MODIFY, stream) != S_OK || !stream)
        return FALSE;
    return WriteBody(stream.Get(), szBody, IsUnicodeStore()) == S_OK;
}
