// The platform the library and its hosts compile against: the Windows SDK on Windows, the project's stand-ins
// under the same names on Linux. No other header decides between the two.
#pragma once

#include <mapipim/export.h>

#if defined(_WIN32)
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <shlobj.h>
#include <mapix.h>
#include <mapiutil.h>
#include <mapitags.h>
#include <mapiguid.h>
#include <mapicode.h>
#include <mapipim/mapi/mapiext.h>
#include <imessage.h>
#include <gdiplus.h>
#ifndef _T
#define _T(x) L##x
#endif
// No iCalendar library is built for Windows: the iCalendar and vCard members are left out there.
#define MAPIPIM_HAS_INTEROP 0
#else
#define MAPIPIM_HAS_INTEROP 1
#include <mapipim/win32/wintypes.h>
#include <mapipim/win32/winapi.h>
#include <mapipim/mapi/mapidefs.h>
#include <mapipim/mapi/mapicode.h>
#include <mapipim/mapi/mapitags.h>
#include <mapipim/mapi/mapiguid.h>
#include <mapipim/mapi/mapix.h>
#include <mapipim/mapi/mapiutil.h>
#include <mapipim/mapi/mapiext.h>
#include <mapipim/mapi/imessage.h>
#include <mapipim/win32/gdiplus.h>
#endif

#include <mapipim/afx/afx.h>
