// The hook that runs when the library is loaded: the DLL's entry point on Windows (process attach; thread attach
// and detach do nothing), the shared object's static initialisation elsewhere. Unloading needs no hook: the
// library's static data is destroyed by the runtime on both.
#pragma once

#include "platform/platform.h"

#if defined(_WIN32)
#define MAPIPIM_ON_LIBRARY_LOAD(onLoad)                                                                                \
    extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)                                                  \
    {                                                                                                                  \
        if (dwReason == DLL_PROCESS_ATTACH)                                                                            \
            onLoad();                                                                                                  \
        return TRUE;                                                                                                   \
    }
#else
#define MAPIPIM_ON_LIBRARY_LOAD(onLoad)                                                                                \
    namespace                                                                                                          \
    {                                                                                                                  \
    const struct LibraryLoadHook                                                                                       \
    {                                                                                                                  \
        LibraryLoadHook() { onLoad(); }                                                                                \
    } g_libraryLoadHook;                                                                                               \
    }
#endif
