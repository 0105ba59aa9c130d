// The host's cancel request as the item object reads it: property reads and writes stop only while the flag
// equals 1, so any other value lets them proceed.
#pragma once

#include "platform/CancelRequest.h"

namespace mapipim
{
inline bool IsItemAccessCancelled()
{
    return CancelRequest() == 1;
}
} // namespace mapipim
