// CMAPIInterface::GetRowCount: the number of items in a host's folder.
#include <mapipim/MAPIInterface.h>

#include "interface/ItemOperations.h"

int CMAPIInterface::GetRowCount(COutlookFolder* pFolder)
{
    if (!pFolder)
        return 0;
    CMAPIFolder folder;
    if (!mapipim::OpenRecordFolder(m_MAPI, *pFolder, folder))
    {
        LOGTRACE(_T("[MAPI] GetRowCount - Open failed a folder : %s"), pFolder->strName);
        return 0;
    }
    folder.GetContents();
    return folder.GetRowCount();
}
