#include "items/NativeBodyModule.h"

namespace mapipim
{
namespace
{
const WCHAR kModuleName[] = _T("Msmapi32.dll");
}

NativeBodyModule::NativeBodyModule()
{
    HMODULE hModule = GetModuleHandleW(kModuleName);
    if (!hModule)
        hModule = m_hLoaded = LoadLibraryW(kModuleName);
    if (!hModule)
        return;
    // A function address travels as the generic FARPROC; it is the published signature.
    m_pfnWrap = reinterpret_cast<LPWRAPCOMPRESSEDRTFSTREAMEX>(
        reinterpret_cast<void (*)()>(GetProcAddress(hModule, "WrapCompressedRTFStreamEx")));
}

NativeBodyModule::~NativeBodyModule()
{
    if (m_hLoaded)
        FreeLibrary(m_hLoaded);
}
} // namespace mapipim
