// WrapCompressedRTFStreamEx, which Outlook's MAPI exports from "Msmapi32.dll" only: with MAPI_NATIVE_BODY its
// stream delivers the body the RTF encapsulates (HTML or text, in the output code page: ulOutCodePage, else
// ulInCodePage, else the ANSI code page), or the RTF itself when it encapsulates nothing, and says which in
// ulStreamFlags. Without MAPI_NATIVE_BODY it is WrapCompressedRTFStream. Reached through the module stand-ins
// (GetModuleHandleW, LoadLibraryW, GetProcAddress), as a Windows host reaches it.
#pragma once

#include "platform/platform.h"

namespace mapisvc
{
HRESULT STDMETHODCALLTYPE WrapCompressedRTFStreamEx(LPSTREAM lpCompressedRTFStream, const RTF_WCSINFO* pWCSInfo,
                                                    LPSTREAM* lppUncompressedRTFStream, RTF_WCSRETINFO* pRetInfo);
} // namespace mapisvc
