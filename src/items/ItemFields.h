// The one helper through which every item kind reads and writes its field tables (ItemField.h). Reading goes
// through the item's typed getters, which answer from the batch the kind read first (PropertyBatch.h), and traces
// each field that fails as the kinds always have; writing goes through the typed setters field by field.
#pragma once

#include <mapipim/MAPIItem.h>

#include "items/ItemField.h"

#include <cstddef>
#include <vector>

namespace mapipim
{
// Trace lines shared by every kind.
void TraceGetFailed(LPCWSTR szField);
void TraceSetTextFailed(LPCWSTR szValue, LPCWSTR szField, LPCWSTR szFolder);
void TraceSetLongFailed(int nValue, LPCWSTR szField, LPCWSTR szFolder);
void TraceSetTimeFailed(const SYSTEMTIME& tmLocal, LPCWSTR szField, LPCWSTR szFolder);
void TraceRemoveFailed(LPCWSTR szField, LPCWSTR szFolder);

// The UTC a local time stands for in the machine's zone (every field 0xFFFF for a time that names no date).
SYSTEMTIME UTCOfLocalTime(const SYSTEMTIME& tmLocal);

// A local time written as the UTC it stands for; false when it cannot be.
bool WriteLocalTime(CMAPIItem& item, const PropertyName& property, const SYSTEMTIME& tmLocal);

// Appends the properties of the fields whose read group is among ulFlags.
template <typename TInfo, size_t N>
void CollectProperties(const ItemField<TInfo> (&fields)[N], ULONG ulFlags, std::vector<PropertyName>& properties)
{
    for (const ItemField<TInfo>& field : fields)
        if (field.ulGroup & ulFlags)
            properties.push_back(field.property);
}

// Reads a number or boolean with a fallback: -1 read back means the property could not be read.
template <typename TInfo> bool ReadFallbackField(CMAPIItem& item, const ItemField<TInfo>& field, TInfo& info)
{
    const PropertyName& property = field.property;
    const int nValue = field.kind == FieldKind::Bool ? item.GetPropertyBool(property.ulTag, -1, property.nSet)
                                                     : item.GetPropertyLong(property.ulTag, -1, property.nSet);
    if (nValue != -1)
    {
        info.*field.pLong = nValue;
        return true;
    }
    info.*field.pLong = field.nFallback;
    TraceGetFailed(field.szName);
    return false;
}

// Reads one field. A text that cannot be read ends empty, a time stays as it was, a number takes 0 (or its
// fallback); texts, times and numbers with a fallback are traced "[MAPI] Get failed : <field>". False when the
// field could not be read.
template <typename TInfo> bool ReadField(CMAPIItem& item, const ItemField<TInfo>& field, TInfo& info)
{
    const PropertyName& property = field.property;
    if (field.bFallback)
        return ReadFallbackField(item, field, info);
    bool bRead = true;
    switch (field.kind)
    {
    case FieldKind::Text:
        bRead = item.GetPropertyString(property.ulTag, info.*field.pText, property.nSet) != FALSE;
        break;
    case FieldKind::Time:
        bRead = item.GetPropertyTime(property.ulTag, info.*field.pTime, property.nSet) != FALSE;
        break;
    case FieldKind::Long:
    case FieldKind::Bool:
        info.*field.pLong = item.GetPropertyLong(property.ulTag, 0, property.nSet);
        return true;
    }
    if (!bRead)
        TraceGetFailed(field.szName);
    return bRead;
}

// Reads every field of the table in its order; true when each was read.
template <typename TInfo, size_t N> bool ReadFields(CMAPIItem& item, const ItemField<TInfo> (&fields)[N], TInfo& info)
{
    bool bAllRead = true;
    for (const ItemField<TInfo>& field : fields)
        bAllRead = ReadField(item, field, info) && bAllRead;
    return bAllRead;
}

// Writes one field by its rule; a failure is traced "[MAPI] Set failed : <value>(<field>) - Folder:<folder>" (a
// failed removal "[MAPI] Remove failed : <field> - Folder:<folder>") and the writing goes on.
template <typename TInfo>
void WriteField(CMAPIItem& item, const ItemField<TInfo>& field, const TInfo& info, LPCWSTR szFolder)
{
    const PropertyName& property = field.property;
    if (field.rule == WriteRule::Derived)
        return;
    switch (field.kind)
    {
    case FieldKind::Text:
    {
        const CString& strValue = info.*field.pText;
        if (field.rule == WriteRule::SetOrRemove && strValue.IsEmpty())
        {
            if (!item.RemoveProperty(property.ulTag, property.nSet))
                TraceRemoveFailed(field.szName, szFolder);
        }
        else if (!item.SetPropertyString(property.ulTag, strValue, property.nSet))
            TraceSetTextFailed(strValue, field.szName, szFolder);
        break;
    }
    case FieldKind::Time:
    {
        const SYSTEMTIME& tmLocal = info.*field.pTime;
        if (field.rule == WriteRule::SetOrRemove && tmLocal.wYear == 0)
        {
            if (!item.RemoveProperty(property.ulTag, property.nSet))
                TraceRemoveFailed(field.szName, szFolder);
        }
        else if (!WriteLocalTime(item, property, tmLocal))
            TraceSetTimeFailed(tmLocal, field.szName, szFolder);
        break;
    }
    case FieldKind::Long:
        if (!item.SetPropertyLong(property.ulTag, info.*field.pLong, property.nSet))
            TraceSetLongFailed(info.*field.pLong, field.szName, szFolder);
        break;
    case FieldKind::Bool:
        if (!item.SetPropertyBool(property.ulTag, static_cast<unsigned short>(info.*field.pLong), property.nSet))
            TraceSetLongFailed(info.*field.pLong, field.szName, szFolder);
        break;
    }
}

template <typename TInfo, size_t N>
void WriteFields(CMAPIItem& item, const ItemField<TInfo> (&fields)[N], const TInfo& info, LPCWSTR szFolder)
{
    for (const ItemField<TInfo>& field : fields)
        WriteField(item, field, info, szFolder);
}
} // namespace mapipim
