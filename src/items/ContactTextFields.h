// The text fields of the contact record that map one to one onto a string property, described as tables so that
// the contact item reads and writes each group of fields in one loop, in the order of its table.
#pragma once

#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIItem.h>

#include <cstddef>

namespace mapipim
{
struct ContactTextField
{
    CString CMAPIContactInfo::*pField;
    ULONG ulTag;           // a PT_UNICODE property tag, or the named id when nSet is not MAPIPIM_SET_NONE
    int nSet;              // set index of a named property
    LPCWSTR szName;        // the record field's name, as trace lines give it
    bool bDerived = false; // written from the other fields of the record, never from its own value
};

// Table entries named after their record fields: an ordinary property, a named property of PSETID_Address (where
// every named contact property lies), and a field that is only read, its property being derived on writing.
// clang-format off
#define MAPIPIM_CONTACT_TEXT(field, tag) {&CMAPIContactInfo::field, tag, MAPIPIM_SET_NONE, _T(#field)}
#define MAPIPIM_CONTACT_NAMED_TEXT(field, id) {&CMAPIContactInfo::field, id, MAPIPIM_SET_ADDRESS, _T(#field)}
#define MAPIPIM_CONTACT_DERIVED_TEXT(field, tag, set) {&CMAPIContactInfo::field, tag, set, _T(#field), true}
// clang-format on

// Reads each field; one that cannot be read ends empty and is traced "[MAPI] Get failed : <field>". True when
// every field was read.
bool ReadContactTexts(CMAPIItem& item, const ContactTextField* pFields, size_t nCount, CMAPIContactInfo& info);

// Writes each field but the derived ones, an empty one as an empty property; one that cannot be written is traced
// "[MAPI] Set failed : <value>(<field>) - Folder:<folder>".
void WriteContactTexts(CMAPIItem& item, const ContactTextField* pFields, size_t nCount, const CMAPIContactInfo& info,
                       LPCWSTR szFolderName);

template <size_t N> bool ReadContactTexts(CMAPIItem& item, const ContactTextField (&fields)[N], CMAPIContactInfo& info)
{
    return ReadContactTexts(item, fields, N, info);
}

template <size_t N>
void WriteContactTexts(CMAPIItem& item, const ContactTextField (&fields)[N], const CMAPIContactInfo& info,
                       LPCWSTR szFolderName)
{
    WriteContactTexts(item, fields, N, info, szFolderName);
}
} // namespace mapipim
