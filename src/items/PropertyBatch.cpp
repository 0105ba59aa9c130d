#include "items/PropertyBatch.h"

#include <mapipim/MAPIItem.h>

#include "items/CancelFlag.h"
#include "items/NamedTags.h"
#include "session/StoreFacts.h"

#include <algorithm>

namespace mapipim
{
namespace
{
// Each property once, in id order: a field read twice (an e-mail slot's address, say) needs one value.
BatchTagCache::TagArray MakeTags(std::vector<ULONG> tags, const std::vector<BatchTags::ResolvedName>& resolved)
{
    std::sort(tags.begin(), tags.end(), [](ULONG a, ULONG b) { return PROP_ID(a) < PROP_ID(b); });
    tags.erase(std::unique(tags.begin(), tags.end(), [](ULONG a, ULONG b) { return PROP_ID(a) == PROP_ID(b); }),
               tags.end());
    return std::make_shared<const BatchTags>(std::move(tags), resolved);
}

// The tags to read as a tag array: ordinary ones in the store's string form, named ones as their store's tags. A
// named property the store has no mapping for is not asked for: its getter finds no tag and fails as it always
// did. The tags also remember what each name resolved to, so that the getters need not look it up again.
// bLasting turns false when a name could not be resolved for now (a failed call), which the next read must try
// again (its getter then resolves it itself).
BatchTagCache::Tags BuildTags(CMAPIItem& item, const std::vector<PropertyName>& properties, bool& bLasting)
{
    std::vector<ULONG> tags;
    std::vector<MAPINAMEID> names;
    std::vector<PropertyName> named;
    for (const PropertyName& property : properties)
    {
        MAPINAMEID name;
        if (property.nSet == 0)
            tags.push_back(item.StringTag(property.ulTag));
        else if (MakeNumericName(property.nSet, static_cast<LONG>(property.ulTag), name))
        {
            names.push_back(name);
            named.push_back(property);
        }
    }
    std::vector<ULONG> namedTags;
    std::vector<HRESULT> results;
    if (!names.empty())
        ResolveNamedTags(item, names, false, namedTags, results);
    std::vector<BatchTags::ResolvedName> resolved;
    for (size_t i = 0; i < namedTags.size(); ++i)
    {
        if (results[i] == S_OK)
            tags.push_back(namedTags[i]);
        if (results[i] == S_OK || results[i] == MAPI_E_NOT_FOUND)
            resolved.emplace_back(named[i], results[i] == S_OK ? namedTags[i] : PR_NULL);
        else
            bLasting = false;
    }
    std::vector<ULONG> identifyingTags = tags;
    identifyingTags.push_back(PR_ENTRYID);
    identifyingTags.push_back(PR_STORE_RECORD_KEY);
    return {MakeTags(std::move(tags), resolved), MakeTags(std::move(identifyingTags), resolved)};
}

// The tags of the properties, from the store's cache while its named-property map answers as when they were
// built.
BatchTagCache::TagArray TagsOf(CMAPIItem& item, const std::vector<PropertyName>& properties)
{
    bool bLasting = true;
    StoreFacts* pFacts = item.GetStoreFacts().get();
    if (!pFacts)
        return BuildTags(item, properties, bLasting).plain;
    if (BatchTagCache::TagArray tags = pFacts->batchTags.Find(properties, pFacts->names.Generation()))
        return tags;
    BatchTagCache::Tags tags = BuildTags(item, properties, bLasting);
    // Building may have resolved names, which moves the map to a new generation: the tags belong to that one.
    if (bLasting)
        pFacts->batchTags.Keep(properties, pFacts->names.Generation(), tags);
    return tags.plain;
}
} // namespace

bool PropertyBatch::Read(CMAPIItem& item, const std::vector<PropertyName>& properties)
{
    m_values.Reset();
    m_tags.reset();
    IMAPIProp* pObject = item.GetMAPIProp();
    if (!pObject || IsItemAccessCancelled())
        return false;
    if (item.IsIdentityPending() && ReadIdentifying(item, *pObject, properties))
        return true;
    // Asking for the store's tags identifies an item whose identity is still pending.
    BatchTagCache::TagArray tags = TagsOf(item, properties);
    return Fetch(*pObject, std::move(tags), item.GetStringFlags());
}

bool PropertyBatch::ReadIdentifying(CMAPIItem& item, IMAPIProp& object, const std::vector<PropertyName>& properties)
{
    std::shared_ptr<StoreFacts> pGuess = item.LikelyStore();
    if (!pGuess)
        return false;
    BatchTagCache::TagArray tags = pGuess->batchTags.Find(properties, pGuess->names.Generation(), true);
    if (!tags || !Fetch(object, std::move(tags), pGuess->bUnicode ? MAPI_UNICODE : 0))
        return false;
    // Tags and string forms were the guessed store's: they hold only if the object lies there.
    const SPropValue* pStoreKey = Find(PR_STORE_RECORD_KEY);
    if (!pStoreKey || pStoreKey->ulPropTag != PR_STORE_RECORD_KEY || !pGuess->IsStore(pStoreKey->Value.bin))
    {
        m_values.Reset();
        m_tags.reset();
        return false;
    }
    const SPropValue* pEntryID = Find(PR_ENTRYID);
    item.TakeIdentity(pEntryID->ulPropTag == PR_ENTRYID ? &pEntryID->Value.bin : nullptr, std::move(pGuess));
    return true;
}

bool PropertyBatch::Fetch(IMAPIProp& object, BatchTagCache::TagArray tags, ULONG ulFlags)
{
    const ULONG cTags = tags->Count();
    if (cTags == 0)
        return false;
    ULONG cValues = 0;
    const HRESULT hr = object.GetProps(tags->Array(), ulFlags, &cValues, &m_values.Receive());
    if ((hr != S_OK && hr != MAPI_W_ERRORS_RETURNED) || !m_values || cValues != cTags)
    {
        m_values.Reset();
        return false;
    }
    m_tags = std::move(tags);
    return true;
}

const SPropValue* PropertyBatch::Find(ULONG ulPropTag) const
{
    if (!m_tags)
        return nullptr;
    const int nPosition = m_tags->PositionOf(PROP_ID(ulPropTag));
    return nPosition < 0 ? nullptr : &m_values.Get()[nPosition];
}

bool PropertyBatch::TagOfName(const PropertyName& name, ULONG& ulTag) const
{
    return m_tags && m_tags->TagOfName(name, ulTag);
}

PropertyBatchScope::PropertyBatchScope(CMAPIItem& item, const std::vector<PropertyName>& properties) : m_item(item)
{
    if (m_batch.Read(item, properties))
        m_item.SetPropertyBatch(&m_batch);
}

PropertyBatchScope::~PropertyBatchScope()
{
    m_item.SetPropertyBatch(nullptr);
}
} // namespace mapipim
