// Module handles. On Linux the library is not loaded as a module with resources, so the calling program's own
// handle is a pseudo handle that is only ever compared with null. The one module that can be loaded by name is
// Outlook's MAPI, "Msmapi32.dll", whose one export the library looks up is WrapCompressedRTFStreamEx; whether
// the machine has it is the service's to say (a machine with Outlook has it).
#include "platform/platform.h"

#include "platform/mapi/NativeBody.h"
#include "platform/win32/NativeBodyModule.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace
{
char g_moduleAnchor;
char g_nativeBodyModule;
std::atomic<bool> g_nativeBodyModulePresent{true};
std::mutex g_loadMutex;
int g_loadCount = 0;

HMODULE NativeBodyHandle()
{
    return reinterpret_cast<HMODULE>(&g_nativeBodyModule);
}

// The module's name as LoadLibraryW takes it: any letter case, with or without its extension.
bool IsNativeBodyModule(LPCWSTR lpName)
{
    static const char16_t kName[] = u"msmapi32";
    int i = 0;
    for (; kName[i]; ++i)
    {
        const char16_t ch = lpName[i] >= u'A' && lpName[i] <= u'Z' ? lpName[i] + (u'a' - u'A') : lpName[i];
        if (ch != kName[i])
            return false;
    }
    return lpName[i] == 0 || lstrcmpiW(lpName + i, u".dll") == 0;
}

HMODULE NotFound()
{
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}
} // namespace

namespace mapipim::win32
{
void SetNativeBodyModulePresent(bool present)
{
    g_nativeBodyModulePresent = present;
}

bool IsNativeBodyModuleLoaded()
{
    std::lock_guard<std::mutex> lock(g_loadMutex);
    return g_loadCount > 0;
}
} // namespace mapipim::win32

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
    if (!lpModuleName)
        return reinterpret_cast<HMODULE>(&g_moduleAnchor);
    std::lock_guard<std::mutex> lock(g_loadMutex);
    if (IsNativeBodyModule(lpModuleName) && g_nativeBodyModulePresent && g_loadCount > 0)
        return NativeBodyHandle();
    return NotFound();
}

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
    if (!lpLibFileName || !IsNativeBodyModule(lpLibFileName) || !g_nativeBodyModulePresent)
        return NotFound();
    std::lock_guard<std::mutex> lock(g_loadMutex);
    ++g_loadCount;
    return NativeBodyHandle();
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    {
        std::lock_guard<std::mutex> lock(g_loadMutex);
        if (hModule != NativeBodyHandle() || g_loadCount == 0)
        {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
    }
    if (!lpProcName || std::strcmp(lpProcName, "WrapCompressedRTFStreamEx") != 0)
    {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    // Through the generic function type, as any address handed out as FARPROC.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&mapisvc::WrapCompressedRTFStreamEx));
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    std::lock_guard<std::mutex> lock(g_loadMutex);
    if (hLibModule != NativeBodyHandle() || g_loadCount == 0)
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --g_loadCount;
    return TRUE;
}
