// An object of the profile opened through the session by its entry identifier, released with its holder.
#pragma once

#include <mapipim/platform.h>

#include <memory>

namespace cli
{
struct ObjectRelease
{
    void operator()(IUnknown* pObject) const { pObject->Release(); }
};
template <class T> using MapiObject = std::unique_ptr<T, ObjectRelease>;

// The object the identifier names when it is of ulType (MAPI_MESSAGE, MAPI_FOLDER), read-only; null otherwise.
MapiObject<IUnknown> OpenEntryOfType(IMAPISession* pSession, const SBinary& entryID, ULONG ulType);

template <class T> MapiObject<T> OpenEntryAs(IMAPISession* pSession, const SBinary& entryID, ULONG ulType)
{
    return MapiObject<T>(static_cast<T*>(OpenEntryOfType(pSession, entryID, ulType).release()));
}
} // namespace cli
