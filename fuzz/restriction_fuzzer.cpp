// Table restrictions evaluated on rows whose values come from stored blobs: any restriction a caller can build
// (every kind, nested, with values of every type, tags that the row has in its own or another type) is copied or
// refused, and a copied one evaluates on any row without a fault. Comparing a string ignoring case must agree
// with the service's own case-insensitive equality.
//
// Input (FuzzedDataProvider): the row's blob, the sub-objects' blob, then the restriction.
#include "FuzzSupport.h"

#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/PropertyPacker.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/ValueCompare.h"

#include <unicode/uchar.h>

#include <deque>

using namespace mapisvc;

namespace
{
const ULONG kTypes[] = {PT_I2,    PT_LONG,      PT_R4,       PT_DOUBLE,     PT_CURRENCY,   PT_APPTIME,
                        PT_ERROR, PT_BOOLEAN,   PT_I8,       PT_STRING8,    PT_UNICODE,    PT_SYSTIME,
                        PT_CLSID, PT_BINARY,    PT_MV_LONG,  PT_MV_STRING8, PT_MV_UNICODE, PT_MV_BINARY,
                        PT_MV_I2, PT_MV_DOUBLE, PT_MV_CLSID, PT_MV_SYSTIME, PT_NULL,       PT_OBJECT};

// Builds SRestriction trees from the input, keeping everything they point to alive until it is destroyed.
class RestrictionMaker
{
public:
    RestrictionMaker(FuzzedDataProvider& input, const PropertyBag& row) : m_input(input), m_row(row) {}
    ~RestrictionMaker()
    {
        for (LPSPropValue buffer : m_buffers)
            MAPIFreeBuffer(buffer);
    }
    RestrictionMaker(const RestrictionMaker&) = delete;
    RestrictionMaker& operator=(const RestrictionMaker&) = delete;

    SRestriction Make()
    {
        SRestriction restriction = {};
        restriction.rt = m_input.ConsumeIntegralInRange<ULONG>(RES_AND, RES_COMMENT + 1);
        if (--m_budget <= 0 && restriction.rt <= RES_NOT)
            restriction.rt = RES_EXIST;
        switch (restriction.rt)
        {
        case RES_AND:
        case RES_OR:
            restriction.res.resAnd.cRes = m_input.ConsumeIntegralInRange<ULONG>(0, 4);
            restriction.res.resAnd.lpRes = Children(restriction.res.resAnd.cRes);
            break;
        case RES_NOT:
            restriction.res.resNot.lpRes = Children(1);
            break;
        case RES_CONTENT:
            restriction.res.resContent.ulFuzzyLevel = m_input.ConsumeIntegral<ULONG>();
            restriction.res.resContent.ulPropTag = Tag();
            restriction.res.resContent.lpProp = Value(Tag());
            break;
        case RES_PROPERTY:
            restriction.res.resProperty.relop = m_input.ConsumeIntegralInRange<ULONG>(RELOP_LT, RELOP_RE);
            restriction.res.resProperty.ulPropTag = Tag();
            restriction.res.resProperty.lpProp = Value(Tag());
            break;
        case RES_COMPAREPROPS:
            restriction.res.resCompareProps.relop = m_input.ConsumeIntegralInRange<ULONG>(RELOP_LT, RELOP_RE);
            restriction.res.resCompareProps.ulPropTag1 = Tag();
            restriction.res.resCompareProps.ulPropTag2 = Tag();
            break;
        case RES_BITMASK:
            restriction.res.resBitMask.relBMR = m_input.ConsumeIntegralInRange<ULONG>(BMR_EQZ, BMR_NEZ);
            restriction.res.resBitMask.ulPropTag = Tag();
            restriction.res.resBitMask.ulMask = m_input.ConsumeIntegral<ULONG>();
            break;
        case RES_SIZE:
            restriction.res.resSize.relop = m_input.ConsumeIntegralInRange<ULONG>(RELOP_LT, RELOP_RE);
            restriction.res.resSize.ulPropTag = Tag();
            restriction.res.resSize.cb = m_input.ConsumeIntegral<ULONG>();
            break;
        case RES_EXIST:
            restriction.res.resExist.ulPropTag = Tag();
            break;
        case RES_SUBRESTRICTION:
            restriction.res.resSub.ulSubObject = m_input.ConsumeBool() ? PR_MESSAGE_RECIPIENTS : PR_MESSAGE_ATTACHMENTS;
            restriction.res.resSub.lpRes = m_budget > 0 ? Children(1) : nullptr;
            break;
        case RES_COMMENT:
            restriction.res.resComment.lpRes = m_input.ConsumeBool() && m_budget > 0 ? Children(1) : nullptr;
            break;
        }
        return restriction;
    }

    // A value of the tag's type whose stored form comes from the input.
    LPSPropValue Value(ULONG tag)
    {
        if (m_input.ConsumeIntegralInRange(0, 15) == 0)
            return nullptr;
        return Pack(tag, m_input.ConsumeRandomLengthString(64));
    }

    LPSPropValue Pack(ULONG tag, std::string data)
    {
        OutValue value;
        value.tag = tag;
        value.data = data;
        LPSPropValue packed = nullptr;
        FUZZ_CHECK(PackValues({value}, &packed) == S_OK);
        m_buffers.push_back(packed);
        return packed;
    }

    // A tag of the row, as stored or in another type, or any tag.
    ULONG Tag()
    {
        const auto& props = m_row.Props();
        if (props.empty() || m_input.ConsumeIntegralInRange(0, 7) == 0)
            return m_input.ConsumeIntegral<ULONG>();
        const ULONG tag = props[m_input.ConsumeIntegralInRange<size_t>(0, props.size() - 1)].tag;
        return m_input.ConsumeBool() ? tag : CHANGE_PROP_TYPE(tag, m_input.PickValueInArray(kTypes));
    }

private:
    LPSRestriction Children(ULONG count)
    {
        std::vector<SRestriction> children;
        for (ULONG i = 0; i < count; ++i)
            children.push_back(Make());
        m_arrays.push_back(std::move(children));
        return m_arrays.back().data();
    }

    FuzzedDataProvider& m_input;
    const PropertyBag& m_row;
    std::deque<std::vector<SRestriction>> m_arrays;
    std::vector<LPSPropValue> m_buffers;
    int m_budget = 96; // nodes: enough to nest past the depth the copy refuses
};

std::u16string TextOf(const SPropValue& value)
{
    return PROP_TYPE(value.ulPropTag) == PT_UNICODE ? std::u16string(value.Value.lpszW) : FromAnsi(value.Value.lpszA);
}

// The row's text with the case of some characters changed.
std::string ChangeCase(FuzzedDataProvider& input, const Prop& prop)
{
    std::u16string text = StringOf(prop.data, PROP_TYPE(prop.tag));
    for (char16_t& c : text)
    {
        const UChar32 changed = input.ConsumeBool() ? u_toupper(c) : u_tolower(c);
        if (changed <= 0xFFFF && !U_IS_SURROGATE(changed))
            c = static_cast<char16_t>(changed);
    }
    return PROP_TYPE(prop.tag) == PT_UNICODE ? Utf16ToBytes(text) : ToAnsi(text);
}

// A full-string content restriction that ignores case matches when the texts are equal ignoring case.
void CheckIgnoringCase(FuzzedDataProvider& input, const PropertyBag& row, RestrictionMaker& maker)
{
    for (const Prop& prop : row.Props())
    {
        const ULONG type = PROP_TYPE(prop.tag);
        if ((type != PT_UNICODE && type != PT_STRING8) || !prop.loaded)
            continue;
        // A row of this value alone: a damaged blob may hold the same id twice or out of order.
        PropertyBag single;
        single.Set(prop);
        const ULONG patternTag = CHANGE_PROP_TYPE(prop.tag, input.ConsumeBool() ? PT_UNICODE : PT_STRING8);
        LPSPropValue pattern =
            maker.Pack(patternTag, input.ConsumeBool() ? ChangeCase(input, prop) : input.ConsumeRandomLengthString(64));
        SRestriction content = {};
        content.rt = RES_CONTENT;
        content.res.resContent.ulFuzzyLevel = FL_FULLSTRING | FL_IGNORECASE;
        content.res.resContent.ulPropTag = prop.tag;
        content.res.resContent.lpProp = pattern;
        Restriction copy;
        FUZZ_CHECK(Restriction::From(content, copy) == S_OK);
        FUZZ_CHECK(copy.Matches(single, nullptr) == EqualIgnoreCase(StringOf(prop.data, type), TextOf(*pattern)));
        return;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const PropertyBag row = PropertyBag::Parse(input.ConsumeRandomLengthString(4096));
    const std::vector<PropertyBag> subObjects = {PropertyBag::Parse(input.ConsumeRandomLengthString(1024)), row};
    const SubObjectReader reader = [&](ULONG, std::vector<PropertyBag>& objects)
    {
        objects = subObjects;
        return S_OK;
    };
    RestrictionMaker maker(input, row);
    const SRestriction restriction = maker.Make();
    Restriction copy;
    if (Restriction::From(restriction, copy) == S_OK)
    {
        copy.Matches(row, reader);
        std::vector<ULONG> ids;
        copy.CollectPropIds(ids);
    }
    CheckIgnoringCase(input, row, maker);
    return 0;
}
