// CMAPIItem: typed reading and writing of single properties, ordinary (set index 0, the tag as given) or named
// (a set index and the name's numeric id, the type supplied here). Writing resolves a name with MAPI_CREATE, so
// that a store which has not yet mapped the name maps it instead of losing the value; reading never creates.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIByteStream.h>
#include <mapipim/MAPIEx.h>

#include "platform/platform.h"
#include "items/CancelFlag.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringMode.h"

using mapipim::AnsiText;
using mapipim::IsItemAccessCancelled;
using mapipim::ScopedBuffer;
using mapipim::StoreStringTag;
using mapipim::StoreStringType;

namespace
{
// Reads one property for a typed getter; a value of any other type (a named property stored with another type)
// counts as absent, since its union member would be read as the wrong kind.
bool ReadTyped(CMAPIItem& item, ULONG ulPropTag, int nSet, ULONG ulType, ScopedBuffer<SPropValue>& value)
{
    if (IsItemAccessCancelled())
        return false;
    const HRESULT hr = nSet == MAPIPIM_SET_NONE
                           ? item.GetProperty(ulPropTag, value.Receive())
                           : item.GetNamedProperty(nSet, static_cast<LONG>(ulPropTag), value.Receive());
    return hr == S_OK && value && PROP_TYPE(value->ulPropTag) == ulType;
}

// The tag a typed setter writes: as given for set index 0; else the named id, created when the store has not
// mapped it yet, with the setter's type.
bool ResolveWriteTag(CMAPIItem& item, ULONG ulPropTag, int nSet, ULONG ulType, ULONG& ulWriteTag)
{
    if (nSet == MAPIPIM_SET_NONE)
    {
        ulWriteTag = ulPropTag;
        return true;
    }
    ScopedBuffer<SPropTagArray> tags;
    ULONG ulNamedType = 0;
    if (item.GetNamedPropTag(nSet, static_cast<LONG>(ulPropTag), tags.Receive(), ulNamedType, TRUE) != S_OK)
        return false;
    ulWriteTag = CHANGE_PROP_TYPE(tags->aulPropTag[0], ulType);
    return true;
}

// Writes one value for a typed setter.
BOOL WriteTyped(CMAPIItem& item, IMAPIProp* pObject, ULONG ulPropTag, int nSet, ULONG ulType, SPropValue& value)
{
    if (!pObject || IsItemAccessCancelled())
        return FALSE;
    if (!ResolveWriteTag(item, ulPropTag, nSet, ulType, value.ulPropTag))
        return FALSE;
    return pObject->SetProps(1, &value, NULL) == S_OK;
}
} // namespace

BOOL CMAPIItem::GetPropertyString(ULONG ulPropTag, CString& strValue, int nSet)
{
    strValue.Empty();
    if (nSet == MAPIPIM_SET_NONE)
        ulPropTag = StoreStringTag(ulPropTag);
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, StoreStringType(PT_UNICODE), value))
        return FALSE;
    CMAPIEx::GetValidString(*value.Get(), strValue);
    return TRUE;
}

BOOL CMAPIItem::GetPropertyTime(ULONG ulPropTag, SYSTEMTIME& tm, int nSet, BOOL bLocal)
{
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, PT_SYSTIME, value))
        return FALSE;
    if (bLocal)
    {
        SYSTEMTIME tmUniversal = {};
        FileTimeToSystemTime(&value->Value.ft, &tmUniversal);
        SystemTimeToTzSpecificLocalTime(NULL, &tmUniversal, &tm);
    }
    else
    {
        tm = SYSTEMTIME{};
        FileTimeToSystemTime(&value->Value.ft, &tm);
    }
    return TRUE;
}

int CMAPIItem::GetPropertyBool(ULONG ulPropTag, int nDefault, int nSet)
{
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, PT_BOOLEAN, value))
        return nDefault;
    return value->Value.b;
}

LONG CMAPIItem::GetPropertyLong(ULONG ulPropTag, LONG nDefault, int nSet)
{
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, PT_LONG, value))
        return nDefault;
    return value->Value.l;
}

double CMAPIItem::GetPropertyDouble(ULONG ulPropTag, double dDefault, int nSet)
{
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, PT_DOUBLE, value))
        return dDefault;
    return value->Value.dbl;
}

BOOL CMAPIItem::GetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet)
{
    ScopedBuffer<SPropValue> value;
    if (!ReadTyped(*this, ulPropTag, nSet, PT_BINARY, value))
        return FALSE;
    // The stream adopts the whole value and frees it.
    stream.AttachValue(value.Detach());
    return TRUE;
}

BOOL CMAPIItem::SetPropertyString(ULONG ulPropTag, LPCWSTR szValue, int nSet)
{
    if (nSet == MAPIPIM_SET_NONE)
        ulPropTag = StoreStringTag(ulPropTag);
    // A null text is written as an empty property, as an empty one is.
    LPCWSTR szText = szValue ? szValue : _T("");
    SPropValue value = {};
    if (!CMAPIEx::m_bOnlyANSIOnUnicode)
    {
        value.Value.lpszW = const_cast<LPWSTR>(szText);
        return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_UNICODE, value);
    }
    AnsiText ansiText(szText);
    value.Value.lpszA = ansiText.Get();
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_STRING8, value);
}

BOOL CMAPIItem::SetPropertyTime(ULONG ulPropTag, const SYSTEMTIME& tm, int nSet)
{
    SPropValue value = {};
    // A time that names no day cannot be written: its FILETIME would be whatever the conversion left.
    if (!SystemTimeToFileTime(&tm, &value.Value.ft))
        return FALSE;
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_SYSTIME, value);
}

BOOL CMAPIItem::SetPropertyBool(ULONG ulPropTag, unsigned short bValue, int nSet)
{
    SPropValue value = {};
    value.Value.b = bValue;
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_BOOLEAN, value);
}

BOOL CMAPIItem::SetPropertyLong(ULONG ulPropTag, LONG nValue, int nSet)
{
    SPropValue value = {};
    value.Value.l = nValue;
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_LONG, value);
}

BOOL CMAPIItem::SetPropertyDouble(ULONG ulPropTag, double dValue, int nSet)
{
    SPropValue value = {};
    value.Value.dbl = dValue;
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_DOUBLE, value);
}

BOOL CMAPIItem::SetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet)
{
    SPropValue value = {};
    value.Value.bin.cb = stream.GetLength();
    value.Value.bin.lpb = stream.GetBuffer();
    return WriteTyped(*this, m_pItem, ulPropTag, nSet, PT_BINARY, value);
}
