// The text of a string property value in the form it actually has: UTF-16 for PT_UNICODE, 8-bit in the ANSI code
// page for PT_STRING8. Objects read their strings in their own store's form, which need not be the process's
// string mode, so the value's own type decides here (CMAPIEx::GetValidString keeps deciding by the mode).
#pragma once

#include <mapipim/MAPIEx.h>

#include <string>

namespace mapipim
{
// Empty for any other type (a missing value comes back as PT_ERROR) and for a null string.
inline CString StringOf(const SPropValue& value)
{
    CString strText;
    switch (PROP_TYPE(value.ulPropTag))
    {
    case PT_UNICODE:
        if (value.Value.lpszW)
            strText = value.Value.lpszW;
        break;
    case PT_STRING8:
        CMAPIEx::GetUnicodeString(strText, value.Value.lpszA);
        break;
    default:
        break;
    }
    return strText;
}

// The same text set into strText, whose buffer is kept when the text fits it.
inline void AssignStringOf(CString& strText, const SPropValue& value)
{
    if (PROP_TYPE(value.ulPropTag) == PT_UNICODE)
        strText = value.Value.lpszW; // a null string gives an empty text
    else
        strText = StringOf(value);
}

// Entry nIndex of a multi-valued string value; empty past the last entry.
inline CString StringOf(const SPropValue& value, ULONG nIndex)
{
    CString strText;
    if (nIndex >= value.Value.MVszW.cValues)
        return strText;
    if (PROP_TYPE(value.ulPropTag) == PT_MV_UNICODE && value.Value.MVszW.lppszW && value.Value.MVszW.lppszW[nIndex])
        strText = value.Value.MVszW.lppszW[nIndex];
    else if (PROP_TYPE(value.ulPropTag) == PT_MV_STRING8 && value.Value.MVszA.lppszA)
        CMAPIEx::GetUnicodeString(strText, value.Value.MVszA.lppszA[nIndex]);
    return strText;
}

// The bytes of a binary value read as 8-bit text in the ANSI code page, as far as its first zero byte and never
// beyond its byte count (the bytes carry no terminator of their own).
inline CString BinaryAsText(const SBinary& bin)
{
    CString strText;
    if (!bin.lpb || bin.cb == 0)
        return strText;
    const char* pBytes = reinterpret_cast<const char*>(bin.lpb);
    std::string text(pBytes, bin.cb);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    CMAPIEx::GetUnicodeString(strText, &text[0]);
    return strText;
}
} // namespace mapipim
