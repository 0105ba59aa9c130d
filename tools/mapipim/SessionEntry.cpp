#include "SessionEntry.h"

namespace cli
{
MapiObject<IUnknown> OpenEntryOfType(IMAPISession* pSession, const SBinary& entryID, ULONG ulType)
{
    ULONG ulOpenedType = 0;
    LPUNKNOWN pUnknown = nullptr;
    if (!pSession ||
        pSession->OpenEntry(entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb), nullptr, 0, &ulOpenedType,
                            &pUnknown) != S_OK ||
        !pUnknown)
        return nullptr;
    MapiObject<IUnknown> object(pUnknown);
    return ulOpenedType == ulType ? std::move(object) : nullptr;
}
} // namespace cli
