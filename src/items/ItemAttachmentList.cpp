#include "items/ItemAttachmentList.h"

#include <mapipim/SubString.h>

#include "items/CancelFlag.h"
#include "platform/Path.h"
#include "platform/trace/Trace.h"

namespace mapipim
{
void ReadAttachmentList(CMAPIItem& item, int& nCount, CString& strNames, int nFilter)
{
    if (item.GetPropertyBool(PR_HASATTACH, FALSE))
    {
        nCount = item.GetAttachmentCount();
        item.GetAttachmentNames(strNames, -1, nFilter);
    }
    else if (!IsItemAccessCancelled())
    {
        nCount = 0;
        strNames.Empty();
    }
}

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
