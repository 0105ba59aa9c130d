#include <mapipim/OutlookFolder.h>

#include <mapipim/SBinaryUtils.h>

#include "session/SBinaryBytes.h"

COutlookFolder::COutlookFolder()
    : sbEntryID(), sbParentEntryID(), sbStoreEntryID(), nFolderType(0), nDepth(0), nCount(0)
{
}

COutlookFolder::COutlookFolder(const COutlookFolder& source) : COutlookFolder()
{
    *this = source;
}

COutlookFolder::~COutlookFolder()
{
    mapipim::FreeSBinary(sbEntryID);
    mapipim::FreeSBinary(sbParentEntryID);
    mapipim::FreeSBinary(sbStoreEntryID);
}

COutlookFolder& COutlookFolder::operator=(const COutlookFolder& source)
{
    if (this != &source)
    {
        CopySBinary(sbEntryID, source.sbEntryID);
        CopySBinary(sbParentEntryID, source.sbParentEntryID);
        CopySBinary(sbStoreEntryID, source.sbStoreEntryID);
        strName = source.strName;
        nFolderType = source.nFolderType;
        nDepth = source.nDepth;
        nCount = source.nCount;
    }
    return *this;
}
