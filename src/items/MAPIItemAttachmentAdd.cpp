// CMAPIItem: attaching a file. The attachment is created on the open message, named, filled from the file in
// 1024-byte chunks through its data stream (with the cooperative pause after each and the cancel flag tested
// between them) and saved; the message itself is saved by the caller.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>

#include "items/AnsiChunkDecoder.h"
#include "items/AttachmentFileName.h"
#include "items/AttachmentTable.h"
#include "items/CancelFlag.h"
#include "platform/Pause.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "items/StreamChunks.h"
#include "session/StringMode.h"

#include <algorithm>
#include <cstring>
#include <vector>

using mapipim::AnsiText;
using mapipim::IsItemAccessCancelled;
using mapipim::kAttachmentChunkBytes;
using mapipim::ScopedInterface;

namespace
{
const int kAnsiNameBytes = 260; // MAX_PATH: at most 259 bytes and the terminator

// The name and extension an attachment is stored under, and whether it is the contact photo.
struct AttachmentNaming
{
    CString strName;
    CString strExtension; // empty: the name has none
    bool bPhoto = false;
};

AttachmentNaming NameAttachment(LPCWSTR szPath, LPCWSTR szDisplayName, LPCWSTR szFileName)
{
    AttachmentNaming naming;
    naming.bPhoto = szFileName && lstrcmpW(szFileName, mapipim::kContactPictureFileName) == 0;
    if (naming.bPhoto)
        naming.strName = mapipim::kContactPictureFileName;
    else if (szDisplayName && szDisplayName[0])
        naming.strName = szDisplayName;
    else
        naming.strName = mapipim::GetFileNamePart(szPath);
    // A leading dot starts a hidden file's name, not an extension.
    const int nDot = naming.strName.ReverseFind(_T('.'));
    if (nDot > 0)
        naming.strExtension = naming.strName.Mid(nDot);
    return naming;
}

// 8-bit text for a MAX_PATH buffer: cut at a character border when it does not fit.
class AnsiName
{
public:
    explicit AnsiName(const CString& strText)
    {
        AnsiText text(strText);
        const int cbText = static_cast<int>(std::strlen(text.Get()));
        const int cbKept = mapipim::GetCompleteAnsiLength(text.Get(), std::min(cbText, kAnsiNameBytes - 1));
        std::memcpy(m_buffer, text.Get(), static_cast<size_t>(cbKept));
    }
    LPSTR Get() { return m_buffer; }

private:
    char m_buffer[kAnsiNameBytes] = {};
};

SPropValue StringValue(ULONG ulUnicodeTag, const CString& strText, AnsiName& ansiText, bool bUnicode)
{
    SPropValue value = {};
    value.ulPropTag = mapipim::StringTagFor(ulUnicodeTag, bUnicode);
    if (bUnicode)
        value.Value.lpszW = const_cast<LPWSTR>(static_cast<LPCWSTR>(strText));
    else
        value.Value.lpszA = ansiText.Get();
    return value;
}

HRESULT WriteNaming(IAttach* pAttachment, const AttachmentNaming& naming, bool bUnicode)
{
    AnsiName ansiName(naming.strName);
    AnsiName ansiExtension(naming.strExtension);
    SPropValue values[7] = {};
    values[0].ulPropTag = PR_ATTACH_METHOD;
    values[0].Value.l = ATTACH_BY_VALUE;
    values[1].ulPropTag = PR_RENDERING_POSITION;
    values[1].Value.l = -1;
    values[2] = StringValue(PR_ATTACH_LONG_FILENAME_W, naming.strName, ansiName, bUnicode);
    values[3] = StringValue(PR_ATTACH_FILENAME_W, naming.strName, ansiName, bUnicode);
    values[4] = StringValue(PR_DISPLAY_NAME_W, naming.strName, ansiName, bUnicode);
    values[5] = StringValue(PR_ATTACH_EXTENSION_W, naming.strExtension, ansiExtension, bUnicode);
    if (naming.strExtension.IsEmpty())
        values[5].ulPropTag = PR_NULL;
    values[6].ulPropTag = PR_ATTACHMENT_CONTACTPHOTO;
    values[6].Value.b = naming.bPhoto ? 1 : 0;
    return pAttachment->SetProps(7, values, NULL);
}

// Copies the file into the stream chunk by chunk while the host has not cancelled, counting the bytes. False
// when a write to the stream fails.
bool CopyFileToStream(CFile& file, IStream* pStream, ULONG& cbCopied)
{
    const ULONG cbChunk = mapipim::StreamChunkBytes(kAttachmentChunkBytes);
    std::vector<BYTE> chunk(cbChunk);
    cbCopied = 0;
    while (!IsItemAccessCancelled())
    {
        const UINT cbRead = file.Read(chunk.data(), cbChunk);
        // Even an empty chunk is written: an empty file still gives the attachment its (empty) content.
        ULONG cbWritten = 0;
        if (pStream->Write(chunk.data(), cbRead, &cbWritten) != S_OK || cbWritten != cbRead)
            return false;
        cbCopied += cbRead;
        mapipim::Pause();
        if (cbRead < cbChunk)
            break;
    }
    return true;
}

// Fills the attachment's data from the file; false when the copy failed or was cancelled.
bool FillAttachmentData(IAttach* pAttachment, CFile& file, ULONG& cbCopied)
{
    ScopedInterface<IStream> stream;
    if (pAttachment->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, MAPI_CREATE | MAPI_MODIFY,
                                  reinterpret_cast<LPUNKNOWN*>(&stream.Receive())) != S_OK ||
        !stream)
        return false;
    const bool bCopied = CopyFileToStream(file, stream.Get(), cbCopied);
    return stream->Commit(0) == S_OK && bCopied && !IsItemAccessCancelled();
}
} // namespace

BOOL CMAPIItem::AddAttachment(LPCWSTR szPath, LPCWSTR szDisplayName, LPCWSTR szFileName)
{
    if (IsItemAccessCancelled() || !m_pItem || !szPath)
        return FALSE;
    ScopedInterface<IMessage> message;
    if (!mapipim::QueryMessage(m_pItem, message))
        return FALSE;
    CFile file;
    if (!file.Open(szPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        return FALSE;
    ULONG ulAttachmentNum = 0;
    ScopedInterface<IAttach> attachment;
    if (message->CreateAttach(NULL, 0, &ulAttachmentNum, &attachment.Receive()) != S_OK || !attachment)
        return FALSE;
    if (WriteNaming(attachment.Get(), NameAttachment(szPath, szDisplayName, szFileName), IsUnicodeStore()) != S_OK)
        return FALSE;
    ULONG cbCopied = 0;
    if (!FillAttachmentData(attachment.Get(), file, cbCopied))
        return FALSE; // released unsaved
    file.Close();
    // Stores that compute the size themselves may refuse it; the attachment is complete without it.
    SPropValue size = {};
    size.ulPropTag = PR_ATTACH_SIZE;
    size.Value.l = static_cast<LONG>(cbCopied);
    attachment->SetProps(1, &size, NULL);
    return attachment->SaveChanges(KEEP_OPEN_READONLY) == S_OK;
}
