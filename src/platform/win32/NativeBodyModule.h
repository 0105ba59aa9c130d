// Whether the machine has Outlook's MAPI module ("Msmapi32.dll"): switched by the service's control API, and
// whether a LoadLibraryW of it is still in effect, for the service's tests.
#pragma once

namespace mapipim::win32
{
void SetNativeBodyModulePresent(bool present);
bool IsNativeBodyModuleLoaded();
} // namespace mapipim::win32
