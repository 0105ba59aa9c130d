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

// Reads one field. A text that cannot be read ends empty, a time stays as it was, a Long takes 0, a Number or a
// Flag its fallback; all but a Long are traced "[MAPI] Get failed : <field>". False when the field could not be
// read.
template <typename TInfo> bool ReadField(CMAPIItem& item, const ItemField<TInfo>& field, TInfo& info)
{
    const PropertyName& property = field.property;
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
        info.*field.pLong = item.GetPropertyLong(property.ulTag, 0, property.nSet);
        return true;
    case FieldKind::Number:
    case FieldKind::Flag:
    {
        const int nValue = field.kind == FieldKind::Number ? item.GetPropertyLong(property.ulTag, -1, property.nSet)
                                                           : item.GetPropertyBool(property.ulTag, -1, property.nSet);
        bRead = nValue != -1;
        info.*field.pLong = bRead ? nValue : field.nFallback;
        break;
    }
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
                TraceRemoveFailed(field.SetName(), szFolder);
        }
        else if (!item.SetPropertyString(property.ulTag, strValue, property.nSet))
            TraceSetTextFailed(strValue, field.SetName(), szFolder);
        break;
    }
    case FieldKind::Time:
    {
        const SYSTEMTIME& tmLocal = info.*field.pTime;
        if (field.rule == WriteRule::SetOrRemove && tmLocal.wYear == 0)
        {
            if (!item.RemoveProperty(property.ulTag, property.nSet))
                TraceRemoveFailed(field.SetName(), szFolder);
        }
        else if (!WriteLocalTime(item, property, tmLocal))
            TraceSetTimeFailed(tmLocal, field.SetName(), szFolder);
        break;
    }
    case FieldKind::Long:
    case FieldKind::Number:
        if (!item.SetPropertyLong(property.ulTag, info.*field.pLong, property.nSet))
            TraceSetLongFailed(info.*field.pLong, field.SetName(), szFolder);
        break;
    case FieldKind::Flag:
        if (!item.SetPropertyBool(property.ulTag, static_cast<unsigned short>(info.*field.pLong), property.nSet))
            TraceSetLongFailed(info.*field.pLong, field.SetName(), szFolder);
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
