#include "platform/mapi/pst/NameMap.h"

#include <cstring>
#include <vector>

namespace mapisvc::pst
{
namespace
{
// Names longer than this are not names a program gave (the map's entries are short identifiers).
constexpr size_t kLongestName = 1024;

bool StringName(libpff_name_to_id_map_entry_t* entry, std::u16string& name)
{
    size_t size = 0;
    if (libpff_name_to_id_map_entry_get_utf16_string_size(entry, &size, nullptr) != 1 || size == 0 ||
        size > kLongestName)
        return false;
    std::vector<uint16_t> units(size);
    if (libpff_name_to_id_map_entry_get_utf16_string(entry, units.data(), units.size(), nullptr) != 1)
        return false;
    name.assign(units.begin(), units.end());
    name.erase(std::find(name.begin(), name.end(), u'\0'), name.end());
    return !name.empty();
}
} // namespace

bool NameOfEntry(libpff_record_entry_t* entry, NamedProperty& name)
{
    libpff_name_to_id_map_entry_t* mapped = nullptr;
    if (libpff_record_entry_get_name_to_id_map_entry(entry, &mapped, nullptr) != 1 || !mapped)
        return false;
    uint8_t guid[16] = {};
    uint8_t type = 0;
    if (libpff_name_to_id_map_entry_get_guid(mapped, guid, sizeof(guid), nullptr) != 1 ||
        libpff_name_to_id_map_entry_get_type(mapped, &type, nullptr) != 1)
        return false;
    std::memcpy(&name.propertySet, guid, sizeof(guid));
    if (type == LIBPFF_NAME_TO_ID_MAP_ENTRY_TYPE_STRING)
    {
        name.kind = MNID_STRING;
        return StringName(mapped, name.name);
    }
    uint32_t number = 0;
    if (type != LIBPFF_NAME_TO_ID_MAP_ENTRY_TYPE_NUMERIC ||
        libpff_name_to_id_map_entry_get_number(mapped, &number, nullptr) != 1)
        return false;
    name.kind = MNID_ID;
    name.id = static_cast<LONG>(number);
    return true;
}

bool NameMap::StoreId(libpff_record_entry_t* entry, ULONG fileId, ULONG& storeId)
{
    auto known = m_ids.find(fileId);
    if (known == m_ids.end())
    {
        NamedProperty name;
        ULONG mapped = 0;
        if (!NameOfEntry(entry, name) || m_resolver(name, mapped) != S_OK)
            mapped = 0;
        known = m_ids.emplace(fileId, mapped).first;
    }
    storeId = known->second;
    return storeId != 0;
}
} // namespace mapisvc::pst
