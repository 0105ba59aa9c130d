// The attachment list of a record (strAttachFile: names separated by "," or ";") written to its item, the same for
// every kind that carries one.
#pragma once

#include <mapipim/MAPIItem.h>

namespace mapipim
{
// Full paths (IsFullFilePath) are attached; other names, as reading gives them, stand for attachments already
// there and are left alone. An empty list removes every attachment that passes nFilter. Failures are traced with
// the folder's name and the writing goes on.
void WriteAttachmentList(CMAPIItem& item, const CString& strAttachFile, int nFilter, LPCWSTR szFolder);
} // namespace mapipim
