// Opening an entry identifier as a folder, below a store or a folder, and wrapping an opened folder in a new
// CMAPIFolder.
#pragma once

#include "platform/platform.h"
#include "session/Scoped.h"

class CMAPIEx;
class CMAPIFolder;

namespace mapipim
{
// Opens the entry that lpEntryID names below pContainer (IMsgStore or IMAPIFolder) as a folder; null when it cannot
// be opened. Anything else the identifier may name (a message) is released: wrapped as a folder, its interface
// would be called through the wrong method table.
template <typename TContainer>
IMAPIFolder* OpenFolderEntry(TContainer* pContainer, ULONG cb, LPENTRYID lpEntryID, ULONG ulFlags)
{
    if (!pContainer)
        return nullptr;
    ULONG ulObjType = 0;
    ScopedInterface<IUnknown> object;
    if (pContainer->OpenEntry(cb, lpEntryID, nullptr, ulFlags, &ulObjType, &object.Receive()) != S_OK || !object ||
        ulObjType != MAPI_FOLDER)
        return nullptr;
    return static_cast<IMAPIFolder*>(object.Detach());
}

template <typename TContainer> IMAPIFolder* OpenFolderEntry(TContainer* pContainer, SBinary& entryID, ULONG ulFlags)
{
    return OpenFolderEntry(pContainer, entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb), ulFlags);
}

// A new folder object, without a name, that takes over pFolder's reference; null when pFolder is null or the
// object cannot be allocated, in which case pFolder is released.
CMAPIFolder* NewFolderObject(CMAPIEx* pMAPI, IMAPIFolder* pFolder);
} // namespace mapipim
