// The values of many properties of one object, read in one GetProps. An item kind reads every property of the
// read groups a host asks for this way; while the batch is set on the item (PropertyBatchScope), the item's typed
// getters answer from it what it holds and ask MAPI only for anything else, so that each field is still read,
// checked and traced on its own exactly as a single read would be.
#pragma once

#include "platform/platform.h"
#include "session/BatchTagCache.h"
#include "session/PropertyName.h"
#include "session/Scoped.h"

#include <vector>

class CMAPIItem;

namespace mapipim
{
class PropertyBatch
{
public:
    // Reads the properties of the item in one call, its named ones resolved through the store's map. False when
    // the read failed as a whole: the batch then holds nothing, and every getter asks MAPI for its own property
    // (a failure tied to one property then fails that property alone).
    bool Read(CMAPIItem& item, const std::vector<PropertyName>& properties);

    // The value read under the property id of ulPropTag (PT_ERROR when the object lacks it); null when the batch
    // did not read that property.
    const SPropValue* Find(ULONG ulPropTag) const;
    // Whether the read resolved the named property, and then its tag (PR_NULL when the store has no mapping).
    bool TagOfName(const PropertyName& name, ULONG& ulTag) const;

private:
    // The first read of an item opened with its identity pending, as the store met last would answer it, with the
    // object's entry identifier and store record key: when the object lies in that store, the read stands and
    // gives the item its identity; else the batch is left empty for an ordinary read.
    bool ReadIdentifying(CMAPIItem& item, IMAPIProp& object, const std::vector<PropertyName>& properties);
    // One GetProps of the tags; false (the batch empty) when it failed as a whole.
    bool Fetch(IMAPIProp& object, BatchTagCache::TagArray tags, ULONG ulFlags);

    ScopedBuffer<SPropValue> m_values;
    BatchTagCache::TagArray m_tags; // the tags read; m_values holds their values in order
};

// Sets a batch read of the properties on the item for the life of the scope.
class PropertyBatchScope
{
public:
    PropertyBatchScope(CMAPIItem& item, const std::vector<PropertyName>& properties);
    ~PropertyBatchScope();
    PropertyBatchScope(const PropertyBatchScope&) = delete;
    PropertyBatchScope& operator=(const PropertyBatchScope&) = delete;

private:
    CMAPIItem& m_item;
    PropertyBatch m_batch;
};
} // namespace mapipim
