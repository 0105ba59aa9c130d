// Resolving named properties to the tags of an object's store. The store's named-property map, kept by the
// session, answers names it has met; only the others are asked of the object, all in one GetIDsFromNames, and
// their answers (also "no mapping") are remembered. A call that fails as a whole is asked again name by name, so
// that a failure tied to one name fails that name alone; failures are never remembered.
#pragma once

#include "platform/platform.h"

#include <vector>

class CMAPIItem;

namespace mapipim
{
// The name of a numeric named property: the GUID of its set index and its id. False for a set index outside
// the table of property sets.
bool MakeNumericName(int nSet, LONG lID, MAPINAMEID& name);

// Tags (type PT_UNSPECIFIED) for the names, created when bCreate is set; a name that has no mapping (or could
// not be resolved) gets PR_NULL and its result says why: MAPI_E_NOT_FOUND for no mapping, else the failure.
void ResolveNamedTags(CMAPIItem& item, const std::vector<MAPINAMEID>& names, bool bCreate, std::vector<ULONG>& tags,
                      std::vector<HRESULT>& results);

// One name: S_OK with its tag, MAPI_E_NOT_FOUND when the store has no mapping for it, or the failure.
HRESULT ResolveNamedTag(CMAPIItem& item, const MAPINAMEID& name, bool bCreate, ULONG& ulTag);

// The tag of the named property a field reads (id lID of set index nSet), as the item's batch resolved it when it
// has one, else resolved now without creating it; false when it has no tag.
bool ReadTagOfField(CMAPIItem& item, LONG lID, int nSet, ULONG& ulTag);
} // namespace mapipim
