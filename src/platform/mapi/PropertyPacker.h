// Hands property values out as MAPI expects them: one SPropValue array with everything it points to in a
// single MAPI buffer, freed with one MAPIFreeBuffer.
#pragma once

#include "platform/mapi/PropValue.h"

namespace mapisvc
{
// One value to hand out: a tag and the value's stored bytes in the tag's type, or an error (PT_ERROR).
struct OutValue
{
    ULONG tag = PR_NULL;
    std::string_view data;
    SCODE error = S_OK;

    static OutValue Error(ULONG propTag, SCODE scode)
    {
        OutValue value;
        value.tag = PROP_TAG(PT_ERROR, PROP_ID(propTag));
        value.error = scode;
        return value;
    }
};

HRESULT PackValues(const std::vector<OutValue>& values, LPSPropValue* lppPropArray);
HRESULT PackTags(const std::vector<ULONG>& tags, LPSPropTagArray* lppTags);
// Deep copy of MAPI values into one new buffer.
HRESULT CopyValues(ULONG cValues, const SPropValue* lpValues, LPSPropValue* lppCopy);
} // namespace mapisvc
