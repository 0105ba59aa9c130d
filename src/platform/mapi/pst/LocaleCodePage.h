// The ANSI code page Windows uses for a locale. An ANSI data file keeps 8-bit text in the code page of the
// machine that wrote it and names that code page nowhere but, per item, in its code-page or locale properties.
#pragma once

#include "platform/platform.h"

namespace mapisvc::pst
{
// The Windows ANSI code page of a locale identifier (LCID); 0 when the locale is not known.
UINT AnsiCodePageOfLocale(ULONG lcid);
} // namespace mapisvc::pst
