// Hands property values out as MAPI expects them: one SPropValue array with everything it points to in a
// single MAPI buffer, freed with one MAPIFreeBuffer.
#pragma once

#include "platform/mapi/PropertyBag.h"

#include <forward_list>

namespace mapisvc
{
// One value to hand out: a tag and the value's stored bytes in the tag's type, or an error (PT_ERROR).
struct OutValue
{
    ULONG tag = PR_NULL;
    std::string_view data;
    SCODE error = S_OK;

    // A stored value handed out as `propTag` (its type one that OutputType allows); a string conversion is kept
    // in `converted`, which must outlive the value, as must the stored value's bytes.
    static OutValue Of(const PropView& prop, ULONG propTag, std::forward_list<std::string>& converted)
    {
        OutValue value;
        value.Set(prop, propTag, converted);
        return value;
    }

    // The same, and an error in place of a value, for a value that already lies where it is wanted (a vector's
    // element being filled): building it apart and copying it over makes the processor wait for the halves it just
    // wrote, once per value.
    void SetError(ULONG propTag, SCODE scode)
    {
        tag = PROP_TAG(PT_ERROR, PROP_ID(propTag));
        data = std::string_view();
        error = scode;
    }
    void Set(const PropView& prop, ULONG propTag, std::forward_list<std::string>& converted)
    {
        tag = propTag;
        error = S_OK;
        if (PROP_TYPE(propTag) == PROP_TYPE(prop.tag))
            data = prop.data;
        else
        {
            converted.push_front(ConvertStrings(prop.data, PROP_TYPE(prop.tag), PROP_TYPE(propTag)));
            data = converted.front();
        }
    }
};

HRESULT PackValues(const std::vector<OutValue>& values, LPSPropValue* lppPropArray);
HRESULT PackTags(const std::vector<ULONG>& tags, LPSPropTagArray* lppTags);
// Deep copy of MAPI values into one new buffer.
HRESULT CopyValues(ULONG cValues, const SPropValue* lpValues, LPSPropValue* lppCopy);
} // namespace mapisvc
