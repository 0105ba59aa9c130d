// The records that own a recurrence pattern (appointments and tasks) copy it deeply: two records never share one.
#pragma once

#include <mapipim/MAPIRecurring.h>

namespace mapipim
{
// Makes pTarget an own copy of *pSource: allocated when the target has none, deleted and nulled when the source
// has none.
inline void AssignRecurrence(CMAPIRecurring*& pTarget, const CMAPIRecurring* pSource)
{
    if (pSource == nullptr)
    {
        delete pTarget;
        pTarget = nullptr;
        return;
    }
    if (pTarget == nullptr)
        pTarget = new CMAPIRecurring(*pSource);
    else
        *pTarget = *pSource;
}
} // namespace mapipim
