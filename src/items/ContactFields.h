// The contact kind's field tables are tables of ItemField<CMAPIContactInfo>; these shorthands name each entry
// after its record field. Every named contact property lies in PSETID_Address.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include "items/ItemField.h"

#include <vector>

namespace mapipim
{
typedef ItemField<CMAPIContactInfo> ContactField;

// The properties of the three postal addresses' parts and of the three e-mail slots, for the batch read.
void CollectAddressProperties(std::vector<PropertyName>& properties);
void CollectEmailSlotProperties(std::vector<PropertyName>& properties);
} // namespace mapipim

// clang-format off
#define CONTACT_TEXT(field, tag, group) \
    mapipim::ContactField::Text(&CMAPIContactInfo::field, {tag, MAPIPIM_SET_NONE}, group, _T(#field))
#define CONTACT_NAMED_TEXT(field, id, group) \
    mapipim::ContactField::Text(&CMAPIContactInfo::field, {id, MAPIPIM_SET_ADDRESS}, group, _T(#field))
#define CONTACT_DERIVED_TEXT(field, tag, set, group) \
    mapipim::ContactField::Text(&CMAPIContactInfo::field, {tag, set}, group, _T(#field), mapipim::WriteRule::Derived)
#define CONTACT_TIME(field, tag, group) \
    mapipim::ContactField::Time(&CMAPIContactInfo::field, {tag, MAPIPIM_SET_NONE}, group, _T(#field))
// clang-format on
