#include "platform/mapi/ObjectIdentity.h"

#include <algorithm>

namespace mapisvc
{
namespace
{
const ULONG kIdentityIds[] = {
    PROP_ID(PR_PARENT_ENTRYID), PROP_ID(PR_INSTANCE_KEY), PROP_ID(PR_RECORD_KEY), PROP_ID(PR_STORE_RECORD_KEY),
    PROP_ID(PR_STORE_ENTRYID),  PROP_ID(PR_OBJECT_TYPE),  PROP_ID(PR_ENTRYID),
};
} // namespace

bool IsIdentityProp(ULONG propId)
{
    return std::find(std::begin(kIdentityIds), std::end(kIdentityIds), propId) != std::end(kIdentityIds);
}

void IdentityPropIds(std::vector<ULONG>& ids)
{
    ids.insert(ids.end(), std::begin(kIdentityIds), std::end(kIdentityIds));
}

bool IdentityProp(const ObjectPlace& place, ULONG propId, Prop& prop)
{
    const StoreDatabase& store = *place.store;
    switch (propId)
    {
    case PROP_ID(PR_ENTRYID):
        prop = MakeProp(PR_ENTRYID,
                        place.entryIds ? place.entryIds->Of(place.id) : Blob(store.EntryIdOf(place.type, place.id)));
        return true;
    case PROP_ID(PR_RECORD_KEY):
        prop = MakeProp(PR_RECORD_KEY, Blob(MakeRecordKey(store.Uid(), place.id)));
        return true;
    case PROP_ID(PR_INSTANCE_KEY):
        prop = MakeProp(PR_INSTANCE_KEY, Blob(MakeRecordKey(store.Uid(), place.id)));
        return true;
    case PROP_ID(PR_STORE_ENTRYID):
        prop = MakeProp(PR_STORE_ENTRYID, Blob(store.EntryIdOf(MAPI_STORE, 0)));
        return true;
    case PROP_ID(PR_STORE_RECORD_KEY):
        prop = MakeProp(PR_STORE_RECORD_KEY, std::string(UidBytes(store.Uid())));
        return true;
    case PROP_ID(PR_OBJECT_TYPE):
        prop = MakeProp(PR_OBJECT_TYPE, EncodeLong(static_cast<LONG>(place.type)));
        return true;
    case PROP_ID(PR_PARENT_ENTRYID):
        if (place.parent <= 0)
            return false;
        prop = MakeProp(PR_PARENT_ENTRYID, Blob(store.EntryIdOf(MAPI_FOLDER, place.parent)));
        return true;
    default:
        return false;
    }
}

void AddIdentityProps(const ObjectPlace& place, PropertyBag& props, const std::vector<ULONG>* wanted)
{
    for (ULONG propId : kIdentityIds)
    {
        if (wanted && !std::binary_search(wanted->begin(), wanted->end(), propId))
            continue;
        Prop prop;
        if (IdentityProp(place, propId, prop))
            props.Set(std::move(prop));
    }
}
} // namespace mapisvc
