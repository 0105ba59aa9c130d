#include "platform/mapi/Restriction.h"

#include "platform/mapi/Text.h"
#include "platform/mapi/ValueCompare.h"

namespace mapisvc
{
namespace
{
constexpr int kMaxDepth = 64;

HRESULT CopyValue(const SPropValue* value, Prop& prop)
{
    if (!value)
        return MAPI_E_INVALID_PARAMETER;
    prop.tag = value->ulPropTag;
    return EncodeValue(*value, prop.data) == S_OK ? S_OK : MAPI_E_INVALID_PARAMETER;
}

// The row's value as single values to test one by one: the elements of a multi-valued property, when the
// restriction compares them with a single value, or else the value itself.
std::vector<Prop> Candidates(const Prop& rowValue, ULONG restrictionType)
{
    const ULONG type = PROP_TYPE(rowValue.tag);
    if (!(type & MV_FLAG) || (restrictionType & MV_FLAG))
        return {rowValue};
    std::vector<Prop> elements;
    for (std::string_view element : SplitMultiValue(rowValue.data, type & ~MV_FLAG))
        elements.push_back(MakeProp(CHANGE_PROP_TYPE(rowValue.tag, type & ~MV_FLAG), std::string(element)));
    return elements;
}

bool ContentMatches(std::u16string text, std::u16string pattern, ULONG fuzzy)
{
    if (fuzzy & (FL_IGNORECASE | FL_LOOSE))
    {
        text = FoldCase(text);
        pattern = FoldCase(pattern);
    }
    switch (fuzzy & 0xFFFF)
    {
    case FL_SUBSTRING:
        return text.find(pattern) != std::u16string::npos;
    case FL_PREFIX:
        return text.compare(0, pattern.size(), pattern) == 0;
    default:
        return text == pattern;
    }
}

bool BytesMatch(std::string_view data, std::string_view pattern, ULONG fuzzy)
{
    switch (fuzzy & 0xFFFF)
    {
    case FL_SUBSTRING:
        return data.find(pattern) != std::string_view::npos;
    case FL_PREFIX:
        return data.substr(0, pattern.size()) == pattern;
    default:
        return data == pattern;
    }
}

// The size MAPI reports for a value: strings with their terminator.
ULONG ValueSize(const Prop& prop)
{
    const ULONG type = PROP_TYPE(prop.tag);
    const size_t terminator = type == PT_UNICODE ? 2 : type == PT_STRING8 ? 1 : 0;
    return static_cast<ULONG>(prop.Size() + terminator);
}

const Prop* RowValue(const PropertyBag& row, ULONG tag)
{
    const Prop* prop = row.Find(PROP_ID(tag));
    return prop && prop->loaded ? prop : nullptr;
}
} // namespace

HRESULT Restriction::From(const SRestriction& restriction, Restriction& copy)
{
    copy = Restriction();
    return Copy(restriction, 0, copy);
}

HRESULT Restriction::Copy(const SRestriction& in, int depth, Restriction& out)
{
    if (depth > kMaxDepth)
        return MAPI_E_TOO_COMPLEX;
    out.m_kind = in.rt;
    switch (in.rt)
    {
    case RES_AND:
    case RES_OR:
    case RES_NOT:
    case RES_SUBRESTRICTION:
    case RES_COMMENT:
        return CopyNested(in, depth, out);
    default:
        return CopyTest(in, out);
    }
}

HRESULT Restriction::CopyNested(const SRestriction& in, int depth, Restriction& out)
{
    switch (in.rt)
    {
    case RES_AND:
        return CopyChildren(in.res.resAnd.cRes, in.res.resAnd.lpRes, depth, out);
    case RES_OR:
        return CopyChildren(in.res.resOr.cRes, in.res.resOr.lpRes, depth, out);
    case RES_NOT:
        if (!in.res.resNot.lpRes)
            return MAPI_E_INVALID_PARAMETER;
        return CopyChildren(1, in.res.resNot.lpRes, depth, out);
    case RES_SUBRESTRICTION:
        if (!in.res.resSub.lpRes)
            return MAPI_E_INVALID_PARAMETER;
        out.m_tag = in.res.resSub.ulSubObject;
        return CopyChildren(1, in.res.resSub.lpRes, depth, out);
    default: // RES_COMMENT: the restriction it annotates is optional
        out.m_hasChild = in.res.resComment.lpRes != nullptr;
        return out.m_hasChild ? CopyChildren(1, in.res.resComment.lpRes, depth, out) : S_OK;
    }
}

HRESULT Restriction::CopyChildren(ULONG count, const SRestriction* children, int depth, Restriction& out)
{
    if (count && !children)
        return MAPI_E_INVALID_PARAMETER;
    out.m_children.resize(count);
    for (ULONG i = 0; i < count; ++i)
        if (HRESULT hr = Copy(children[i], depth + 1, out.m_children[i]))
            return hr;
    return S_OK;
}

HRESULT Restriction::CopyTest(const SRestriction& in, Restriction& out)
{
    switch (in.rt)
    {
    case RES_CONTENT:
        out.m_operator = in.res.resContent.ulFuzzyLevel;
        out.m_tag = in.res.resContent.ulPropTag;
        return CopyValue(in.res.resContent.lpProp, out.m_value);
    case RES_PROPERTY:
        if (in.res.resProperty.relop > RELOP_NE)
            return MAPI_E_TOO_COMPLEX;
        out.m_operator = in.res.resProperty.relop;
        out.m_tag = in.res.resProperty.ulPropTag;
        return CopyValue(in.res.resProperty.lpProp, out.m_value);
    case RES_COMPAREPROPS:
        if (in.res.resCompareProps.relop > RELOP_NE)
            return MAPI_E_TOO_COMPLEX;
        out.m_operator = in.res.resCompareProps.relop;
        out.m_tag = in.res.resCompareProps.ulPropTag1;
        out.m_tag2 = in.res.resCompareProps.ulPropTag2;
        return S_OK;
    case RES_BITMASK:
        out.m_operator = in.res.resBitMask.relBMR;
        out.m_tag = in.res.resBitMask.ulPropTag;
        out.m_number = in.res.resBitMask.ulMask;
        return S_OK;
    case RES_SIZE:
        if (in.res.resSize.relop > RELOP_NE)
            return MAPI_E_TOO_COMPLEX;
        out.m_operator = in.res.resSize.relop;
        out.m_tag = in.res.resSize.ulPropTag;
        out.m_number = in.res.resSize.cb;
        return S_OK;
    case RES_EXIST:
        out.m_tag = in.res.resExist.ulPropTag;
        return S_OK;
    default:
        return MAPI_E_TOO_COMPLEX;
    }
}

bool Restriction::Matches(const PropertyBag& row, const SubObjectReader& subObjects) const
{
    switch (m_kind)
    {
    case RES_AND:
        for (const Restriction& child : m_children)
            if (!child.Matches(row, subObjects))
                return false;
        return true;
    case RES_OR:
        for (const Restriction& child : m_children)
            if (child.Matches(row, subObjects))
                return true;
        return false;
    case RES_NOT:
        return !m_children[0].Matches(row, subObjects);
    case RES_CONTENT:
        return MatchesContent(row);
    case RES_PROPERTY:
        return MatchesProperty(row);
    case RES_COMPAREPROPS:
        return MatchesCompareProps(row);
    case RES_BITMASK:
        return MatchesBitmask(row);
    case RES_SIZE:
        return MatchesSize(row);
    case RES_EXIST:
        return row.Find(PROP_ID(m_tag)) != nullptr;
    case RES_SUBRESTRICTION:
        return MatchesSubObjects(subObjects);
    case RES_COMMENT:
        return !m_hasChild || m_children[0].Matches(row, subObjects);
    default:
        return false;
    }
}

bool Restriction::MatchesContent(const PropertyBag& row) const
{
    const Prop* value = RowValue(row, m_tag);
    const ULONG patternType = PROP_TYPE(m_value.tag) & ~MV_FLAG;
    if (!value)
        return false;
    for (const Prop& candidate : Candidates(*value, PROP_TYPE(m_value.tag)))
    {
        const ULONG type = PROP_TYPE(candidate.tag);
        if (IsStringType(type) && IsStringType(patternType) && !(type & MV_FLAG))
        {
            if (ContentMatches(StringOf(candidate.data, type), StringOf(m_value.data, patternType), m_operator))
                return true;
        }
        else if (type == PT_BINARY && patternType == PT_BINARY)
        {
            if (BytesMatch(candidate.data, m_value.data, m_operator))
                return true;
        }
    }
    return false;
}

bool Restriction::MatchesProperty(const PropertyBag& row) const
{
    const Prop* value = RowValue(row, m_tag);
    if (!value)
        return false;
    for (const Prop& candidate : Candidates(*value, PROP_TYPE(m_value.tag)))
    {
        if (PROP_TYPE(candidate.tag) != PROP_TYPE(m_value.tag) &&
            !(IsStringType(PROP_TYPE(candidate.tag)) && IsStringType(PROP_TYPE(m_value.tag))))
            continue;
        if (SatisfiesRelop(CompareValues(candidate, m_value), m_operator))
            return true;
    }
    return false;
}

bool Restriction::MatchesCompareProps(const PropertyBag& row) const
{
    const Prop* first = RowValue(row, m_tag);
    const Prop* second = RowValue(row, m_tag2);
    if (!first || !second)
        return false;
    const ULONG typeA = PROP_TYPE(first->tag), typeB = PROP_TYPE(second->tag);
    if (typeA != typeB && !(IsStringType(typeA) && IsStringType(typeB)))
        return false;
    return SatisfiesRelop(CompareValues(*first, *second), m_operator);
}

bool Restriction::MatchesBitmask(const PropertyBag& row) const
{
    const Prop* value = RowValue(row, m_tag);
    if (!value || PROP_TYPE(value->tag) != PT_LONG)
        return false;
    const bool zero = (static_cast<ULONG>(DecodeLong(value->data)) & m_number) == 0;
    return m_operator == BMR_EQZ ? zero : !zero;
}

bool Restriction::MatchesSize(const PropertyBag& row) const
{
    const Prop* value = row.Find(PROP_ID(m_tag));
    if (!value)
        return false;
    const ULONG size = ValueSize(*value);
    return SatisfiesRelop(size < m_number ? -1 : size > m_number ? 1 : 0, m_operator);
}

bool Restriction::MatchesSubObjects(const SubObjectReader& subObjects) const
{
    std::vector<PropertyBag> objects;
    if (!subObjects || subObjects(m_tag, objects) != S_OK)
        return false;
    for (const PropertyBag& object : objects)
        if (m_children[0].Matches(object, nullptr))
            return true;
    return false;
}

void Restriction::CollectPropIds(std::vector<ULONG>& ids) const
{
    if (m_kind != RES_AND && m_kind != RES_OR && m_kind != RES_NOT && m_kind != RES_COMMENT &&
        m_kind != RES_SUBRESTRICTION)
        ids.push_back(PROP_ID(m_tag));
    if (m_kind == RES_COMPAREPROPS)
        ids.push_back(PROP_ID(m_tag2));
    if (m_kind == RES_SUBRESTRICTION)
        return;
    for (const Restriction& child : m_children)
        child.CollectPropIds(ids);
}
} // namespace mapisvc
