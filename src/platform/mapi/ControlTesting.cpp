// Control API: the counters tests check for leaks, the native-body module switch, and the reset of the testing
// state between tests.
#include <mapipim/mapisvc.h>

#include "platform/mapi/ComObject.h"
#include "platform/mapi/MAPIMemory.h"
#include "platform/win32/NativeBodyModule.h"

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
    SetNativeBodyModulePresent(true);
}

void SetNativeBodyModulePresent(bool present)
{
    mapipim::win32::SetNativeBodyModulePresent(present);
}
} // namespace mapisvc
