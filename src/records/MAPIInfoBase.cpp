#include <mapipim/MAPIInfoBase.h>

#include <mapipim/SBinaryUtils.h>

#include "session/SBinaryBytes.h"

CMAPIInfoBase::CMAPIInfoBase() : sbEntryID(), tmCTime(), tmLMTime() {}

CMAPIInfoBase::CMAPIInfoBase(const CMAPIInfoBase& source) : CMAPIInfoBase()
{
    *this = source;
}

CMAPIInfoBase::~CMAPIInfoBase()
{
    mapipim::FreeSBinary(sbEntryID);
}

CMAPIInfoBase& CMAPIInfoBase::operator=(const CMAPIInfoBase& source)
{
    if (this != &source)
    {
        CopySBinary(sbEntryID, source.sbEntryID);
        strEntryID = source.strEntryID;
        tmCTime = source.tmCTime;
        tmLMTime = source.tmLMTime;
    }
    return *this;
}
