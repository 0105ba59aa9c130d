// CMAPIItem: typed reading and writing of single properties, ordinary (set index 0, the tag as given) or named
// (a set index and the name's numeric id, the type supplied here). Writing resolves a name with MAPI_CREATE, so
// that a store which has not yet mapped the name maps it instead of losing the value; reading never creates.
// Names resolve through the store's named-property map, and a getter answers from the item's batch read when
// the batch holds its property. Strings take the form of the object's own store.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIByteStream.h>
#include <mapipim/MAPIEx.h>

#include "platform/platform.h"
#include "items/CancelFlag.h"
#include "items/NamedTags.h"
#include "items/PropertyBatch.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringMode.h"
#include "session/StringValue.h"

using mapipim::AnsiText;
using mapipim::IsItemAccessCancelled;
using mapipim::MakeNumericName;
using mapipim::ReadTagOfField;
using mapipim::ResolveNamedTag;
using mapipim::ScopedBuffer;

namespace
{
// The value a typed getter answers with: from the item's batch when it read the property, else read alone. A
// value of any other type (a named property stored with another type, a missing one as PT_ERROR) counts as
// absent, since its union member would be read as the wrong kind.
class TypedRead
{
public:
    const SPropValue* Read(CMAPIItem& item, ULONG ulPropTag, int nSet, ULONG ulType)
    {
        if (IsItemAccessCancelled() || !item.GetMAPIProp())
            return nullptr;
        if (nSet != MAPIPIM_SET_NONE && !ReadTagOfField(item, static_cast<LONG>(ulPropTag), nSet, ulPropTag))
            return nullptr;
        const SPropValue* pValue = item.GetPropertyBatch() ? item.GetPropertyBatch()->Find(ulPropTag) : nullptr;
        if (!pValue)
            pValue = ReadAlone(item, ulPropTag);
        return pValue && PROP_TYPE(pValue->ulPropTag) == ulType ? pValue : nullptr;
    }

    // The value read alone, for a getter that keeps it (the byte stream adopts the whole buffer).
    ScopedBuffer<SPropValue>& Owned() { return m_value; }

private:
    const SPropValue* ReadAlone(CMAPIItem& item, ULONG ulPropTag)
    {
        SizedSPropTagArray(1, tags) = {1, {ulPropTag}};
        ULONG cValues = 0;
        if (item.GetMAPIProp()->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), item.GetStringFlags(), &cValues,
                                         &m_value.Receive()) != S_OK)
            m_value.Reset();
        return m_value.Get();
    }

    ScopedBuffer<SPropValue> m_value;
};

// The tag a typed setter writes: as given for set index 0; else the named id, created when the store has not
// mapped it yet, with the setter's type.
bool ResolveWriteTag(CMAPIItem& item, ULONG ulPropTag, int nSet, ULONG ulType, ULONG& ulWriteTag)
{
    if (nSet == MAPIPIM_SET_NONE)
    {
        ulWriteTag = ulPropTag;
        return true;
    }
    MAPINAMEID name;
    ULONG ulNamedTag = PR_NULL;
    if (!MakeNumericName(nSet, static_cast<LONG>(ulPropTag), name) ||
        ResolveNamedTag(item, name, true, ulNamedTag) != S_OK)
        return false;
    ulWriteTag = CHANGE_PROP_TYPE(ulNamedTag, ulType);
    return true;
}

// Writes one value for a typed setter.
BOOL WriteTyped(CMAPIItem& item, ULONG ulPropTag, int nSet, ULONG ulType, SPropValue& value)
{
    IMAPIProp* pObject = item.GetMAPIProp();
    if (!pObject || IsItemAccessCancelled())
        return FALSE;
    if (!ResolveWriteTag(item, ulPropTag, nSet, ulType, value.ulPropTag))
        return FALSE;
    return pObject->SetProps(1, &value, NULL) == S_OK;
}
} // namespace

BOOL CMAPIItem::GetPropertyString(ULONG ulPropTag, CString& strValue, int nSet)
{
    const bool bUnicodeStore = IsUnicodeStore();
    if (nSet == MAPIPIM_SET_NONE)
        ulPropTag = mapipim::StringTagFor(ulPropTag, bUnicodeStore);
    TypedRead read;
    const SPropValue* pValue = read.Read(*this, ulPropTag, nSet, bUnicodeStore ? PT_UNICODE : PT_STRING8);
    if (!pValue)
    {
        strValue.Empty();
        return FALSE;
    }
    // Assigned in place: a record read again keeps the buffers its texts already have.
    mapipim::AssignStringOf(strValue, *pValue);
    return TRUE;
}

BOOL CMAPIItem::GetPropertyTime(ULONG ulPropTag, SYSTEMTIME& tm, int nSet, BOOL bLocal)
{
    TypedRead read;
    const SPropValue* value = read.Read(*this, ulPropTag, nSet, PT_SYSTIME);
    if (!value)
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
    TypedRead read;
    const SPropValue* value = read.Read(*this, ulPropTag, nSet, PT_BOOLEAN);
    if (!value)
        return nDefault;
    return value->Value.b;
}

LONG CMAPIItem::GetPropertyLong(ULONG ulPropTag, LONG nDefault, int nSet)
{
    TypedRead read;
    const SPropValue* value = read.Read(*this, ulPropTag, nSet, PT_LONG);
    if (!value)
        return nDefault;
    return value->Value.l;
}

double CMAPIItem::GetPropertyDouble(ULONG ulPropTag, double dDefault, int nSet)
{
    TypedRead read;
    const SPropValue* value = read.Read(*this, ulPropTag, nSet, PT_DOUBLE);
    if (!value)
        return dDefault;
    return value->Value.dbl;
}

BOOL CMAPIItem::GetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet)
{
    // The stream adopts a whole value buffer and frees it, so a binary is always read alone.
    const mapipim::PropertyBatch* pBatch = m_pBatch;
    m_pBatch = NULL;
    TypedRead read;
    const SPropValue* value = read.Read(*this, ulPropTag, nSet, PT_BINARY);
    m_pBatch = pBatch;
    if (!value)
        return FALSE;
    stream.AttachValue(read.Owned().Detach());
    return TRUE;
}

BOOL CMAPIItem::SetPropertyString(ULONG ulPropTag, LPCWSTR szValue, int nSet)
{
    if (nSet == MAPIPIM_SET_NONE)
        ulPropTag = StringTag(ulPropTag);
    // A null text is written as an empty property, as an empty one is.
    LPCWSTR szText = szValue ? szValue : _T("");
    SPropValue value = {};
    if (IsUnicodeStore())
    {
        value.Value.lpszW = const_cast<LPWSTR>(szText);
        return WriteTyped(*this, ulPropTag, nSet, PT_UNICODE, value);
    }
    AnsiText ansiText(szText);
    value.Value.lpszA = ansiText.Get();
    return WriteTyped(*this, ulPropTag, nSet, PT_STRING8, value);
}

BOOL CMAPIItem::SetPropertyTime(ULONG ulPropTag, const SYSTEMTIME& tm, int nSet)
{
    SPropValue value = {};
    // A time that names no day cannot be written: its FILETIME would be whatever the conversion left.
    if (!SystemTimeToFileTime(&tm, &value.Value.ft))
        return FALSE;
    return WriteTyped(*this, ulPropTag, nSet, PT_SYSTIME, value);
}

BOOL CMAPIItem::SetPropertyBool(ULONG ulPropTag, unsigned short bValue, int nSet)
{
    SPropValue value = {};
    value.Value.b = bValue;
    return WriteTyped(*this, ulPropTag, nSet, PT_BOOLEAN, value);
}

BOOL CMAPIItem::SetPropertyLong(ULONG ulPropTag, LONG nValue, int nSet)
{
    SPropValue value = {};
    value.Value.l = nValue;
    return WriteTyped(*this, ulPropTag, nSet, PT_LONG, value);
}

BOOL CMAPIItem::SetPropertyDouble(ULONG ulPropTag, double dValue, int nSet)
{
    SPropValue value = {};
    value.Value.dbl = dValue;
    return WriteTyped(*this, ulPropTag, nSet, PT_DOUBLE, value);
}

BOOL CMAPIItem::SetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet)
{
    SPropValue value = {};
    value.Value.bin.cb = stream.GetLength();
    value.Value.bin.lpb = stream.GetBuffer();
    return WriteTyped(*this, ulPropTag, nSet, PT_BINARY, value);
}
