#include "session/FolderEntry.h"

#include <mapipim/MAPIFolder.h>

#include <new>

namespace mapipim
{
CMAPIFolder* NewFolderObject(CMAPIEx* pMAPI, IMAPIFolder* pFolder)
{
    if (!pFolder)
        return nullptr;
    CMAPIFolder* pObject = new (std::nothrow) CMAPIFolder(pMAPI, pFolder, _T(""));
    if (!pObject)
        pFolder->Release();
    return pObject;
}
} // namespace mapipim
