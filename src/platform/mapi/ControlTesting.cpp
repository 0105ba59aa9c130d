// Control API: the counters tests check for leaks, and the reset of the testing state between tests.
#include <mapipim/mapisvc.h>

#include "platform/mapi/ComObject.h"
#include "platform/mapi/MAPIMemory.h"

namespace mapisvc
{
LONG GetLiveBufferCount()
{
    return LiveBufferCount();
}

LONG GetLiveObjectCount()
{
    return LiveObjectCount();
}

void ResetTestingState()
{
    ClearFaults();
    ClearCallLog();
    SetCallLogEnabled(true);
    SetNotificationDelivery(NotificationDelivery::AsInitialised);
    SetAddressDialogHandler(nullptr);
}
} // namespace mapisvc
