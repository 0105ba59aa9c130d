// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones, answered from ICU: one subkey per Windows zone with
// "Std", "Dlt", "Display" and "TZI" (the current year's rule), and "Dynamic DST" for zones whose rule has changed.
#pragma once

#include "platform/win32/RegistryKey.h"

namespace mapipim::win32
{
std::shared_ptr<const RegistryKey> MakeTimeZonesKey();
} // namespace mapipim::win32
