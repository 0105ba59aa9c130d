// The property sets that a named property's set index selects, in the order of the set indexes.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// The property-set GUID of a set index from 1 to 9; null for 0 (an ordinary tag) and for any index outside the
// table.
LPGUID GetPropertySet(int nSet);
} // namespace mapipim
