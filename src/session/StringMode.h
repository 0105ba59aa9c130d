// The process's string mode. Once a store without Unicode support has been opened or listed, every layer reads and
// writes MAPI strings in their 8-bit form (PT_STRING8) for the rest of the process: nothing switches it back.
#pragma once

#include <mapipim/MAPIEx.h>

namespace mapipim
{
// Switches the process to ANSI-only mode when a store's support mask lacks STORE_UNICODE_OK; true when it does.
inline bool SwitchToAnsiOnlyUnlessUnicode(ULONG ulStoreSupportMask)
{
    if (ulStoreSupportMask & STORE_UNICODE_OK)
        return false;
    CMAPIEx::m_nMAPICode = 0;
    CMAPIEx::m_bOnlyANSIOnUnicode = TRUE;
    return true;
}

// A string tag (PT_UNICODE or PT_MV_UNICODE) in the form a store keeps strings: as given for a Unicode store,
// else its 8-bit form. Any other tag is returned as given.
inline ULONG StringTagFor(ULONG ulPropTag, bool bUnicodeStore)
{
    if (bUnicodeStore)
        return ulPropTag;
    switch (PROP_TYPE(ulPropTag))
    {
    case PT_UNICODE:
        return CHANGE_PROP_TYPE(ulPropTag, PT_STRING8);
    case PT_MV_UNICODE:
        return CHANGE_PROP_TYPE(ulPropTag, PT_MV_STRING8);
    default:
        return ulPropTag;
    }
}

// The same in the form the process's string mode takes: its 8-bit form in ANSI-only mode.
inline ULONG StoreStringTag(ULONG ulPropTag)
{
    return StringTagFor(ulPropTag, !CMAPIEx::m_bOnlyANSIOnUnicode);
}

// The same for a property type alone: PT_UNICODE or PT_MV_UNICODE in the width the process's string mode takes.
inline ULONG StoreStringType(ULONG ulUnicodeType)
{
    return PROP_TYPE(StoreStringTag(ulUnicodeType));
}
} // namespace mapipim
