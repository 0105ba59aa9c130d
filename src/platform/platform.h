// What library code includes to reach the platform: the public platform plus the library-internal helpers.
#pragma once

#include <mapipim/platform.h>
