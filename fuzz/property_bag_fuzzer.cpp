// Property blobs as the service reads them back from a store database (messages, attachments, recipients,
// address-book entries). A damaged blob must load as some property list, and every value in it must go out as
// GetProps and table rows hand it out (string width conversion, one packed MAPI buffer) and come back in through
// the copy path, without a read or write outside its buffer. A blob that loads writes back to one that loads the
// same, and reading only some properties keeps exactly those.
#include "FuzzSupport.h"
#include "PackedValues.h"

#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/PropertyBag.h"
#include "platform/mapi/PropertyPacker.h"

#include <algorithm>
#include <forward_list>

using namespace mapisvc;

namespace
{
// The values of the bag as GetProps without a tag list gives them, in one MAPI buffer.
LPSPropValue HandOut(const PropertyBag& bag, bool unicode)
{
    std::forward_list<std::string> converted;
    std::vector<OutValue> values;
    for (const Prop& prop : bag.Props())
    {
        ULONG type = PT_UNSPECIFIED;
        if (!prop.loaded)
            values.push_back(OutValue::Error(prop.tag, MAPI_E_NOT_ENOUGH_MEMORY));
        else if (!OutputType(PROP_TYPE(prop.tag), PT_UNSPECIFIED, unicode, type))
            values.push_back(OutValue::Error(prop.tag, MAPI_E_NOT_FOUND));
        else
        {
            converted.push_front(DataAs(prop, type));
            OutValue value;
            value.tag = PROP_TAG(type, PROP_ID(prop.tag));
            value.data = converted.front();
            values.push_back(value);
        }
    }
    LPSPropValue packed = nullptr;
    FUZZ_CHECK(PackValues(values, &packed) == S_OK);
    return packed;
}

void HandOutAndCopy(const PropertyBag& bag, bool unicode)
{
    const ULONG count = static_cast<ULONG>(bag.Size());
    LPSPropValue packed = HandOut(bag, unicode);
    fuzz::ReadValues(packed, count);
    LPSPropValue copy = nullptr;
    if (CopyValues(count, packed, &copy) == S_OK)
    {
        fuzz::ReadValues(copy, count);
        MAPIFreeBuffer(copy);
    }
    MAPIFreeBuffer(packed);
}

bool SameProps(const std::vector<Prop>& a, const std::vector<Prop>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](const Prop& x, const Prop& y) {
                                                  return x.tag == y.tag && x.Size() == y.Size() &&
                                                         x.loaded == y.loaded && (!x.loaded || x.data == y.data);
                                              });
}

void CheckWrittenBack(const PropertyBag& bag)
{
    // Values too large for the blob are written as markers and read back as not loaded.
    std::vector<Prop> expected = bag.Props();
    for (Prop& prop : expected)
        if (IsLargeValue(prop))
            prop.loaded = false;
    FUZZ_CHECK(SameProps(PropertyBag::Parse(bag.Serialize()).Props(), expected));
}

void CheckPartialRead(std::string_view blob, const PropertyBag& bag)
{
    std::vector<ULONG> wanted;
    for (size_t i = 0; i < bag.Size(); i += 2)
        wanted.push_back(PROP_ID(bag.Props()[i].tag));
    std::sort(wanted.begin(), wanted.end());
    std::vector<Prop> expected;
    for (const Prop& prop : bag.Props())
        if (std::binary_search(wanted.begin(), wanted.end(), PROP_ID(prop.tag)))
            expected.push_back(prop);
    FUZZ_CHECK(SameProps(PropertyBag::Parse(blob, &wanted).Props(), expected));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const LONG buffersBefore = LiveBufferCount();
    const std::string_view blob(reinterpret_cast<const char*>(data), size);
    const PropertyBag bag = PropertyBag::Parse(blob);
    HandOutAndCopy(bag, true);
    HandOutAndCopy(bag, false);
    CheckWrittenBack(bag);
    CheckPartialRead(blob, bag);
    FUZZ_CHECK(LiveBufferCount() == buffersBefore);
    return 0;
}
