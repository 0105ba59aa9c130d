// The call log of the service: every MAPI call on a service object or function, with its flags, key arguments
// and result, kept in order (the latest 100,000) for tests that check which calls the library made.
#pragma once

#include <mapipim/mapisvc.h>

namespace mapisvc
{
bool CallLogEnabled();
void AppendCallRecord(CallRecord&& record);
} // namespace mapisvc
