// The host's cancel request as the item object reads it: property reads and writes stop only while the flag
// equals 1, so any other value lets them proceed.
#pragma once

#include <mapipim/MAPIInterface.h>

namespace mapipim
{
inline bool IsItemAccessCancelled()
{
    return CMAPIInterface::m_bCancel == 1;
}
} // namespace mapipim
