// WrapCompressedRTFStreamEx, which only Outlook's MAPI ("Msmapi32.dll") exports, looked up by name for one call:
// the module is taken if it is already loaded, else loaded for the call and freed afterwards.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
class NativeBodyModule
{
public:
    NativeBodyModule();
    ~NativeBodyModule();
    NativeBodyModule(const NativeBodyModule&) = delete;
    NativeBodyModule& operator=(const NativeBodyModule&) = delete;

    // Null when the machine has no such module or function.
    LPWRAPCOMPRESSEDRTFSTREAMEX Function() const { return m_pfnWrap; }

private:
    HMODULE m_hLoaded = nullptr;
    LPWRAPCOMPRESSEDRTFSTREAMEX m_pfnWrap = nullptr;
};
} // namespace mapipim
