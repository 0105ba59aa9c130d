// What the library does as it loads: the progress messages of the interface object get their numbers before any
// object exists, so that a host that registers the same names receives the same numbers.
#include <mapipim/MAPIInterface.h>

#include "platform/platform.h"
#include "platform/ModuleEntry.h"

UINT WM_MAPI_GET_STOREINFO = 0;
UINT WM_MAPI_GET_FOLDERINFO = 0;
UINT WM_MAPI_GET_CONTENTS = 0;
UINT WM_MAPI_GET_CONTENTS_END = 0;

namespace
{
void RegisterProgressMessages()
{
    WM_MAPI_GET_STOREINFO = RegisterWindowMessageW(_T("WM_MAPI_GET_STOREINFO"));
    WM_MAPI_GET_FOLDERINFO = RegisterWindowMessageW(_T("WM_MAPI_GET_FOLDERINFO"));
    WM_MAPI_GET_CONTENTS = RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS"));
    WM_MAPI_GET_CONTENTS_END = RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS_END"));
}
} // namespace

MAPIPIM_ON_LIBRARY_LOAD(RegisterProgressMessages)
