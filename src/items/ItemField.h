// One field of an item kind's record and the MAPI property it maps to, as a kind's field tables list them: the
// record member, the property (an ordinary tag or a named id), the read group (the GetInfo flag bit that asks for
// it), the field's name as trace lines give it, and what writing does with it. ItemFields.h reads and writes
// whole tables and collects their properties for the batch read.
#pragma once

#include "items/PropertyBatch.h"

namespace mapipim
{
enum class FieldKind
{
    Text, // CString: read and written as a string in the store's form
    Time, // SYSTEMTIME: UTC in the store, local in the record
    Long, // int: read with default 0, or with a fallback (see below)
    Bool, // int held as a MAPI boolean: read with a fallback, written as its low 16 bits
};

enum class WriteRule
{
    Set,         // written even when empty (an empty value is stored, nothing removed)
    SetOrRemove, // removed when empty (a time of year 0 is empty)
    Derived,     // never written from the field: the kind writes a value it derives from other fields
};

template <typename TInfo> struct ItemField
{
    FieldKind kind;
    CString TInfo::*pText;
    SYSTEMTIME TInfo::*pTime;
    int TInfo::*pLong;
    PropertyName property;
    ULONG ulGroup;
    LPCWSTR szName;
    WriteRule rule;
    // Numbers and booleans read "with a fallback" are read with the default -1, which stands for a property that
    // cannot be read: the field then takes nFallback and the failure is traced.
    bool bFallback;
    int nFallback;

    static constexpr ItemField Text(CString TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                    WriteRule rule = WriteRule::Set)
    {
        return {FieldKind::Text, pField, nullptr, nullptr, property, ulGroup, szName, rule, false, 0};
    }
    static constexpr ItemField Time(SYSTEMTIME TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                    WriteRule rule = WriteRule::SetOrRemove)
    {
        return {FieldKind::Time, nullptr, pField, nullptr, property, ulGroup, szName, rule, false, 0};
    }
    static constexpr ItemField Long(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName)
    {
        return {FieldKind::Long, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, false, 0};
    }
    static constexpr ItemField LongOr(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                      int nFallback)
    {
        return {FieldKind::Long, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, true, nFallback};
    }
    static constexpr ItemField BoolOr(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                      int nFallback)
    {
        return {FieldKind::Bool, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, true, nFallback};
    }
};
} // namespace mapipim
