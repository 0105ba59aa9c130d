// What library code includes to reach the platform: the public platform plus the library-internal services
// every layer uses (the trace log).
#pragma once

#include <mapipim/platform.h>

#include "platform/trace/Trace.h"
