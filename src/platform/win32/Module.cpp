// Module handles. On Linux the library is not loaded as a module with resources, so the calling program's own
// handle is a pseudo handle that is only ever compared with null.
#include "platform/platform.h"

namespace
{
char g_moduleAnchor;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
    if (lpModuleName)
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&g_moduleAnchor);
}
