// A zone's rules as the registry keeps them under HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones:
// the "TZI" of the key, and the per-year "TZI"s of its "Dynamic DST" subkey.
#pragma once

#include "items/TimeZoneDefinitionBlob.h"

#include <vector>

namespace mapipim
{
// False (and the value untouched) when the key or its 44-byte "TZI" is missing.
bool ReadZoneTzi(LPCWSTR pszKeyName, TziValue& tzi);
// The years from "FirstEntry" to "LastEntry" that hold a 44-byte value, oldest first; empty without the subkey.
std::vector<YearRule> ReadDynamicRules(LPCWSTR pszKeyName);
} // namespace mapipim
