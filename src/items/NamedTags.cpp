#include "items/NamedTags.h"

#include <mapipim/MAPIItem.h>

#include "items/PropertyBatch.h"
#include "items/PropertySets.h"
#include "session/Scoped.h"
#include "session/StoreFacts.h"

namespace mapipim
{
namespace
{
// Asks the object for the names at the given positions in one call; false when the call failed as a whole.
bool AskObject(IMAPIProp* pObject, const std::vector<MAPINAMEID>& names, const std::vector<size_t>& positions,
               bool bCreate, std::vector<ULONG>& tags, std::vector<HRESULT>& results, HRESULT& hrCall)
{
    std::vector<LPMAPINAMEID> asked;
    asked.reserve(positions.size());
    for (size_t nPosition : positions)
        asked.push_back(const_cast<LPMAPINAMEID>(&names[nPosition]));
    ScopedBuffer<SPropTagArray> answer;
    hrCall = pObject->GetIDsFromNames(static_cast<ULONG>(asked.size()), asked.data(), bCreate ? MAPI_CREATE : 0,
                                      &answer.Receive());
    if ((hrCall != S_OK && hrCall != MAPI_W_ERRORS_RETURNED) || !answer || answer->cValues != asked.size())
        return false;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        const ULONG ulTag = answer->aulPropTag[i];
        const size_t nPosition = positions[i];
        if (PROP_TYPE(ulTag) == PT_ERROR)
        {
            tags[nPosition] = PR_NULL;
            results[nPosition] = MAPI_E_NOT_FOUND;
        }
        else
        {
            tags[nPosition] = CHANGE_PROP_TYPE(ulTag, PT_UNSPECIFIED);
            results[nPosition] = S_OK;
        }
    }
    return true;
}

// What the session already knows of the name (its tag, or that a read finds no mapping); false when the store
// must be asked.
bool KnownAnswer(const StoreFacts* pFacts, const MAPINAMEID& name, bool bCreate, ULONG& ulTag, HRESULT& hr)
{
    const NamedPropertyMap::State state = pFacts ? pFacts->names.Find(name, ulTag) : NamedPropertyMap::State::Unknown;
    if (state == NamedPropertyMap::State::Mapped)
        hr = S_OK;
    else if (state == NamedPropertyMap::State::Unmapped && !bCreate)
        hr = MAPI_E_NOT_FOUND;
    else
        return false;
    return true;
}

void Remember(StoreFacts* pFacts, const MAPINAMEID& name, ULONG ulTag, HRESULT hr, bool bCreate)
{
    if (!pFacts)
        return;
    if (hr == S_OK)
        pFacts->names.RememberMapped(name, ulTag);
    else if (hr == MAPI_E_NOT_FOUND && !bCreate)
        pFacts->names.RememberUnmapped(name);
}
} // namespace

bool MakeNumericName(int nSet, LONG lID, MAPINAMEID& name)
{
    const LPGUID pSet = GetPropertySet(nSet);
    if (!pSet)
        return false;
    name = MAPINAMEID{};
    name.lpguid = pSet;
    name.ulKind = MNID_ID;
    name.Kind.lID = lID;
    return true;
}

void ResolveNamedTags(CMAPIItem& item, const std::vector<MAPINAMEID>& names, bool bCreate, std::vector<ULONG>& tags,
                      std::vector<HRESULT>& results)
{
    tags.assign(names.size(), PR_NULL);
    results.assign(names.size(), E_INVALIDARG);
    IMAPIProp* pObject = item.GetMAPIProp();
    if (!pObject)
        return;
    StoreFacts* pFacts = item.GetStoreFacts().get();
    std::vector<size_t> unknown;
    for (size_t i = 0; i < names.size(); ++i)
        if (!KnownAnswer(pFacts, names[i], bCreate, tags[i], results[i]))
            unknown.push_back(i);
    if (unknown.empty())
        return;
    HRESULT hrCall = S_OK;
    if (!AskObject(pObject, names, unknown, bCreate, tags, results, hrCall))
    {
        if (unknown.size() == 1)
        {
            results[unknown[0]] = FAILED(hrCall) ? hrCall : MAPI_E_CALL_FAILED;
            return;
        }
        for (size_t nPosition : unknown)
            if (!AskObject(pObject, names, {nPosition}, bCreate, tags, results, hrCall))
                results[nPosition] = FAILED(hrCall) ? hrCall : MAPI_E_CALL_FAILED;
    }
    for (size_t nPosition : unknown)
        Remember(pFacts, names[nPosition], tags[nPosition], results[nPosition], bCreate);
}

HRESULT ResolveNamedTag(CMAPIItem& item, const MAPINAMEID& name, bool bCreate, ULONG& ulTag)
{
    // Every field getter of a named property comes here: a name the session knows costs no allocation.
    HRESULT hr = S_OK;
    ulTag = PR_NULL;
    if (item.GetMAPIProp() && KnownAnswer(item.GetStoreFacts().get(), name, bCreate, ulTag, hr))
        return hr;
    std::vector<ULONG> tags;
    std::vector<HRESULT> results;
    ResolveNamedTags(item, {name}, bCreate, tags, results);
    ulTag = tags[0];
    return results[0];
}

bool ReadTagOfField(CMAPIItem& item, LONG lID, int nSet, ULONG& ulTag)
{
    const PropertyBatch* pBatch = item.GetPropertyBatch();
    if (pBatch && pBatch->TagOfName({static_cast<ULONG>(lID), nSet}, ulTag))
        return ulTag != PR_NULL;
    MAPINAMEID name;
    return MakeNumericName(nSet, lID, name) && ResolveNamedTag(item, name, false, ulTag) == S_OK;
}
} // namespace mapipim
