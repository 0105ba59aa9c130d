// CMAPIItem: saving attachments to files. The content moves from the attachment's data stream to the file in
// 1024-byte chunks, with the cooperative pause after each and the host's cancel flag tested between them.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>

#include "items/AttachmentSaveTarget.h"
#include "items/AttachmentTable.h"
#include "items/CancelFlag.h"
#include "platform/Pause.h"
#include "session/Scoped.h"
#include "items/StreamChunks.h"

#include <vector>

using mapipim::AttachmentSaveTarget;
using mapipim::AttachmentTable;
using mapipim::GetRowText;
using mapipim::IsItemAccessCancelled;
using mapipim::kAttachmentChunkBytes;
using mapipim::ScopedInterface;

namespace
{
enum SaveColumn
{
    kNumColumn,
    kLongFileNameColumn,
    kFileNameColumn,
    kPhotoColumn,
    kSaveColumns
};

// The attachment a row names by its PR_ATTACH_NUM; false when it cannot be opened.
bool OpenRowAttachment(IMessage* pMessage, const SRow& row, ScopedInterface<IAttach>& attachment)
{
    const SPropValue* pNum = mapipim::FindRowValue(row, kNumColumn, PR_ATTACH_NUM);
    return pNum && pMessage->OpenAttach(pNum->Value.ul, NULL, 0, &attachment.Receive()) == S_OK && attachment;
}

// Copies the stream to the file chunk by chunk until a chunk comes back short. False when a read or a write
// fails or the host cancels after a full chunk.
bool CopyStreamToFile(IStream* pStream, CFile& file)
{
    const ULONG cbChunk = mapipim::StreamChunkBytes(kAttachmentChunkBytes);
    std::vector<BYTE> chunk(cbChunk);
    for (;;)
    {
        ULONG cbRead = 0;
        if (pStream->Read(chunk.data(), cbChunk, &cbRead) != S_OK || cbRead > cbChunk)
            return false;
        if (cbRead > 0 && file.Write(chunk.data(), cbRead) != cbRead)
            return false;
        mapipim::Pause();
        if (cbRead < cbChunk)
            return true;
        if (IsItemAccessCancelled())
            return false;
    }
}
} // namespace

BOOL CMAPIItem::SaveAttachmentData(IAttach* pAttachment, LPCWSTR szPath)
{
    if (!pAttachment || !szPath)
        return FALSE;
    CFile file;
    if (!file.Open(szPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return FALSE;
    ScopedInterface<IStream> stream;
    if (pAttachment->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, 0,
                                  reinterpret_cast<LPUNKNOWN*>(&stream.Receive())) != S_OK ||
        !stream)
        return FALSE;
    if (IsItemAccessCancelled())
        return FALSE;
    return CopyStreamToFile(stream.Get(), file);
}

BOOL CMAPIItem::SaveAttachment(LPCWSTR szPath, int nIndex, int nFilter)
{
    if (IsItemAccessCancelled() || !szPath)
        return FALSE;
    AttachmentSaveTarget target;
    if (!target.Decide(szPath))
        return FALSE;
    SizedSPropTagArray(kSaveColumns, columns) = {kSaveColumns,
                                                 {PR_ATTACH_NUM, StringTag(PR_ATTACH_LONG_FILENAME_W),
                                                  StringTag(PR_ATTACH_FILENAME_W), PR_ATTACHMENT_CONTACTPHOTO}};
    AttachmentTable table;
    if (!table.Open(m_pItem) || !table.SetColumns(reinterpret_cast<LPSPropTagArray>(&columns)))
        return FALSE;
    bool bSaved = false;
    const auto saveRow = [&](const SRow& row)
    {
        ScopedInterface<IAttach> attachment;
        if (!OpenRowAttachment(table.GetMessage(), row, attachment))
            return true; // an attachment that cannot be opened is passed over
        const CString strFile =
            target.GetFilePath(GetRowText(row, kLongFileNameColumn), GetRowText(row, kFileNameColumn));
        if (!SaveAttachmentData(attachment.Get(), strFile))
            return false;
        bSaved = true;
        return true;
    };
    const bool bWalked = table.Walk(nIndex, nFilter, kPhotoColumn, saveRow);
    return bWalked && bSaved;
}
