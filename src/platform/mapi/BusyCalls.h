// The service's calls of the process that found a store busy, counted apart from the call log so that a host
// can tell its user why an operation failed while the log stays off.
#pragma once

namespace mapisvc
{
void CountBusyCall();
} // namespace mapisvc
