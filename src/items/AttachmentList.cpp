#include "items/AttachmentList.h"

#include <mapipim/SubString.h>

#include "platform/Path.h"
#include "platform/trace/Trace.h"

namespace mapipim
{
void WriteAttachmentList(CMAPIItem& item, const CString& strAttachFile, int nFilter, LPCWSTR szFolder)
{
    if (strAttachFile.IsEmpty())
    {
        if (!item.DeleteAttachment(-1, nFilter))
            LOGTRACE(_T("[MAPI] Remove failed : AttachFile - Folder:%s"), szFolder);
        return;
    }
    CString strPath;
    for (int i = 0; GetExtractSubString(strPath, strAttachFile, i, _T(",;")); ++i)
    {
        if (!IsFullFilePath(strPath))
            continue;
        if (!item.AddAttachment(strPath))
            LOGTRACE(_T("[MAPI] Set failed : %s(strAttachFile) - Folder:%s"), strPath, szFolder);
    }
}
} // namespace mapipim
