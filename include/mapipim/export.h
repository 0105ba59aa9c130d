// What the shared library exports. Only names marked MAPIPIM_API are visible outside it, as in the Windows DLL.
#pragma once

#if defined(_WIN32)
#if defined(MAPIPIM_BUILDING)
#define MAPIPIM_API __declspec(dllexport)
#elif defined(MAPIPIM_STATIC)
#define MAPIPIM_API
#else
#define MAPIPIM_API __declspec(dllimport)
#endif
#else
#define MAPIPIM_API __attribute__((visibility("default")))
#endif
