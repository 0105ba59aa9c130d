// MAPI declarations for the Linux build, under the SDK's names.
#pragma once

#include <mapipim/win32/wintypes.h>
