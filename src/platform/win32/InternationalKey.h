// HKCU\Control Panel\International: "iFirstDayOfWeek", the first day of the week as a Windows digit (0 Monday ...
// 6 Sunday), from the process locale through ICU. MAPIPIM_FIRST_DAY, when set, is the value's text as it stands;
// set but empty, the value is absent, as on a machine that never stored it.
#pragma once

#include "platform/win32/RegistryKey.h"

namespace mapipim::win32
{
std::shared_ptr<const RegistryKey> MakeInternationalKey();
} // namespace mapipim::win32
