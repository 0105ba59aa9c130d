// Results of the MAPI service's calls put into words for the one-line failure message.
#pragma once

#include <mapipim/platform.h>

#include <string>

namespace cli
{
// Throws Failure("<what>: <reason>") unless hr is S_OK.
void CheckResult(HRESULT hr, const std::string& what);
} // namespace cli
