#include "items/PropertyBatch.h"

#include <mapipim/MAPIItem.h>

#include "items/CancelFlag.h"
#include "items/NamedTags.h"

#include <algorithm>

namespace mapipim
{
namespace
{
// The tags to read: ordinary ones in the store's string form, named ones as their store's tags. A named property
// the store has no mapping for is not asked for: its getter finds no tag and fails as it always did.
std::vector<ULONG> TagsOf(CMAPIItem& item, const std::vector<PropertyName>& properties)
{
    std::vector<ULONG> tags;
    std::vector<MAPINAMEID> names;
    for (const PropertyName& property : properties)
    {
        MAPINAMEID name;
        if (property.nSet == 0)
            tags.push_back(item.StringTag(property.ulTag));
        else if (MakeNumericName(property.nSet, static_cast<LONG>(property.ulTag), name))
            names.push_back(name);
    }
    std::vector<ULONG> namedTags;
    std::vector<HRESULT> results;
    if (!names.empty())
        ResolveNamedTags(item, names, false, namedTags, results);
    for (size_t i = 0; i < namedTags.size(); ++i)
        if (results[i] == S_OK)
            tags.push_back(namedTags[i]);
    // Each property once: a field read twice (an e-mail slot's address, say) needs one value.
    std::sort(tags.begin(), tags.end(), [](ULONG a, ULONG b) { return PROP_ID(a) < PROP_ID(b); });
    tags.erase(std::unique(tags.begin(), tags.end(), [](ULONG a, ULONG b) { return PROP_ID(a) == PROP_ID(b); }),
               tags.end());
    return tags;
}
} // namespace

bool PropertyBatch::Read(CMAPIItem& item, const std::vector<PropertyName>& properties)
{
    m_values.Reset();
    m_cValues = 0;
    m_positions.clear();
    IMAPIProp* pObject = item.GetMAPIProp();
    if (!pObject || IsItemAccessCancelled())
        return false;
    const std::vector<ULONG> tags = TagsOf(item, properties);
    if (tags.empty())
        return false;
    std::vector<ULONG> tagArray(tags.size() + 1);
    tagArray[0] = static_cast<ULONG>(tags.size());
    std::copy(tags.begin(), tags.end(), tagArray.begin() + 1);
    ULONG cValues = 0;
    const HRESULT hr = pObject->GetProps(reinterpret_cast<LPSPropTagArray>(tagArray.data()), item.GetStringFlags(),
                                         &cValues, &m_values.Receive());
    if ((hr != S_OK && hr != MAPI_W_ERRORS_RETURNED) || !m_values || cValues != tags.size())
    {
        m_values.Reset();
        return false;
    }
    m_cValues = cValues;
    m_positions.reserve(cValues);
    for (ULONG i = 0; i < cValues; ++i)
        m_positions.emplace_back(PROP_ID(tags[i]), i);
    return true;
}

const SPropValue* PropertyBatch::Find(ULONG ulPropTag) const
{
    const ULONG ulId = PROP_ID(ulPropTag);
    const auto it = std::lower_bound(m_positions.begin(), m_positions.end(), std::make_pair(ulId, ULONG(0)));
    if (it == m_positions.end() || it->first != ulId)
        return nullptr;
    return &m_values.Get()[it->second];
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
