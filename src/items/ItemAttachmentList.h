// The attachments of an item as the records carry them: one text of file names separated by "," or ";". Writing
// attaches each token that is a full path (through the one path helper, so a Linux path counts as a Windows path
// with a drive letter does) and leaves every other token alone, since the names reading gives stand for
// attachments already there; an empty text removes the item's attachments that pass the filter. Every item kind
// that carries strAttachFile goes through here.
#pragma once

#include <mapipim/MAPIItem.h>

namespace mapipim
{
// The number of attachments and their names joined with ";", both of every attachment that passes the filter. An
// item whose PR_HASATTACH says it has none is not asked further: it gets 0 and an empty text (unless the host
// cancelled, which leaves both as they were).
void ReadAttachmentList(CMAPIItem& item, int& nCount, CString& strNames, int nFilter);

// Failures are traced "[MAPI] Set failed : <path>(strAttachFile) - Folder:<folder>" for each path that could not
// be attached, "[MAPI] Remove failed : AttachFile - Folder:<folder>" for a removal that failed.
void WriteAttachmentList(CMAPIItem& item, const CString& strAttachFile, int nFilter, LPCWSTR szFolder);
} // namespace mapipim
