// Results of the MAPI service's calls put into words for the one-line failure message.
#pragma once

#include <mapipim/platform.h>

#include <string>

namespace cli
{
// Throws Failure("<what>: <reason>") unless hr is S_OK.
void CheckResult(HRESULT hr, const std::string& what);

// The failure message with the cause the library's FALSE does not carry but the service's calls of this process
// showed: a store that stayed locked by another process for the whole of the service's wait.
std::string WithServiceCause(const std::string& message);
} // namespace cli
