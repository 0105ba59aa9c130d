// The standard string of WCHAR text, for the implementation's own buffers (CString is the type that crosses the
// library's interface).
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapipim
{
using WideString = std::basic_string<WCHAR>;
} // namespace mapipim
