// The properties a folder or message has by its place in its store rather than by what was written to it:
// PR_ENTRYID, PR_RECORD_KEY, PR_INSTANCE_KEY, PR_STORE_ENTRYID, PR_STORE_RECORD_KEY, PR_OBJECT_TYPE and
// PR_PARENT_ENTRYID. Callers cannot write them.
#pragma once

#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
struct ObjectPlace
{
    const StoreDatabase* store;
    ULONG type; // MAPI_FOLDER or MAPI_MESSAGE
    int64_t id;
    int64_t parent; // 0: none (the root folder)
    // The store's identifiers of objects of this type made ready, for a caller that makes many (a table's rows).
    const StoreEntryIds* entryIds = nullptr;
};

bool IsIdentityProp(ULONG propId);
bool IdentityProp(const ObjectPlace& place, ULONG propId, Prop& prop);
void IdentityPropIds(std::vector<ULONG>& ids);
// Adds the identity properties (only the wanted ones, when `wanted` is given) to a table row.
void AddIdentityProps(const ObjectPlace& place, PropertyBag& props, const std::vector<ULONG>* wanted);
} // namespace mapisvc
