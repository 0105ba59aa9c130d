// One field of an item kind's record and the MAPI property it maps to, as a kind's field tables list them: the
// record member, the property (an ordinary tag or a named id), the read group (the GetInfo flag bit that asks for
// it), the field's name as trace lines give it, and what writing does with it. ItemFields.h reads and writes
// whole tables and collects their properties for the batch read.
//
// A Number or a Flag is read with the default -1, which stands for "could not be read": the field then takes its
// fallback and the failure is traced. A few kinds name a field one way when reading fails and another when
// writing does (a note's "nNoteX" is written as "dispidNoteX"): szSetName, when given, is the name of the set and
// remove trace lines.
#pragma once

#include "items/PropertyBatch.h"

namespace mapipim
{
enum class FieldKind
{
    Text,   // CString: read and written as a string in the store's form
    Time,   // SYSTEMTIME: UTC in the store, local in the record
    Long,   // int: read with default 0
    Number, // int: a 32-bit long, read with default -1; -1 gives the fallback and a trace line
    Flag,   // int: a boolean, read and falling back as Number; written as its low 16 bits
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
    int nFallback;
    LPCWSTR szSetName;

    LPCWSTR SetName() const { return szSetName ? szSetName : szName; }

    static constexpr ItemField Text(CString TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                    WriteRule rule = WriteRule::Set)
    {
        return {FieldKind::Text, pField, nullptr, nullptr, property, ulGroup, szName, rule, 0, nullptr};
    }
    static constexpr ItemField Time(SYSTEMTIME TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                    WriteRule rule = WriteRule::SetOrRemove)
    {
        return {FieldKind::Time, nullptr, pField, nullptr, property, ulGroup, szName, rule, 0, nullptr};
    }
    static constexpr ItemField Long(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName)
    {
        return {FieldKind::Long, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, 0, nullptr};
    }
    static constexpr ItemField Number(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                      int nFallback, LPCWSTR szSetName = nullptr)
    {
        return {FieldKind::Number, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, nFallback,
                szSetName};
    }
    static constexpr ItemField Flag(int TInfo::*pField, PropertyName property, ULONG ulGroup, LPCWSTR szName,
                                    int nFallback)
    {
        return {FieldKind::Flag, nullptr, nullptr, pField, property, ulGroup, szName, WriteRule::Set, nFallback,
                nullptr};
    }
};
} // namespace mapipim
