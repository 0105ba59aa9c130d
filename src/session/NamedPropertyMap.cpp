#include "session/NamedPropertyMap.h"

#include <cstring>
#include <functional>

namespace mapipim
{
namespace
{
const GUID kNoGuid = {};

const GUID& GuidOf(const MAPINAMEID& name)
{
    return name.lpguid ? *name.lpguid : kNoGuid;
}

template <typename Map> void EraseUnmapped(Map& map, ULONG ulUnmapped)
{
    for (auto it = map.begin(); it != map.end();)
        it = it->second == ulUnmapped ? map.erase(it) : std::next(it);
}
} // namespace

bool NamedPropertyMap::NumericKey::operator==(const NumericKey& other) const
{
    return lID == other.lID && std::memcmp(&guid, &other.guid, sizeof(GUID)) == 0;
}

size_t NamedPropertyMap::NumericKeyHash::operator()(const NumericKey& key) const
{
    // The standard sets differ in their first four bytes; the id tells the names of one set apart.
    return std::hash<uint64_t>()((static_cast<uint64_t>(key.guid.Data1) << 32) ^ static_cast<uint32_t>(key.lID));
}

NamedPropertyMap::NumericKey NamedPropertyMap::NumericKeyOf(const MAPINAMEID& name)
{
    return NumericKey{GuidOf(name), name.Kind.lID};
}

std::string NamedPropertyMap::StringKeyOf(const MAPINAMEID& name)
{
    std::string key(reinterpret_cast<const char*>(&GuidOf(name)), sizeof(GUID));
    if (name.Kind.lpwstrName)
        key.append(reinterpret_cast<const char*>(name.Kind.lpwstrName),
                   static_cast<size_t>(lstrlenW(name.Kind.lpwstrName)) * sizeof(WCHAR));
    return key;
}

NamedPropertyMap::State NamedPropertyMap::Find(const MAPINAMEID& name, ULONG& ulTag) const
{
    ULONG ulFound = 0;
    if (name.ulKind == MNID_ID)
    {
        const auto it = m_numeric.find(NumericKeyOf(name));
        if (it == m_numeric.end())
            return State::Unknown;
        ulFound = it->second;
    }
    else
    {
        const auto it = m_strings.find(StringKeyOf(name));
        if (it == m_strings.end())
            return State::Unknown;
        ulFound = it->second;
    }
    if (ulFound == kUnmapped)
        return State::Unmapped;
    ulTag = ulFound;
    return State::Mapped;
}

void NamedPropertyMap::Remember(const MAPINAMEID& name, ULONG ulTag, bool bReplace)
{
    ++m_nGeneration;
    if (name.ulKind == MNID_ID)
    {
        if (bReplace)
            m_numeric[NumericKeyOf(name)] = ulTag;
        else
            m_numeric.emplace(NumericKeyOf(name), ulTag);
    }
    else if (bReplace)
        m_strings[StringKeyOf(name)] = ulTag;
    else
        m_strings.emplace(StringKeyOf(name), ulTag);
}

void NamedPropertyMap::RememberMapped(const MAPINAMEID& name, ULONG ulTag)
{
    Remember(name, CHANGE_PROP_TYPE(ulTag, PT_UNSPECIFIED), true);
}

void NamedPropertyMap::RememberUnmapped(const MAPINAMEID& name)
{
    Remember(name, kUnmapped, false);
}

void NamedPropertyMap::ForgetUnmapped()
{
    ++m_nGeneration;
    EraseUnmapped(m_numeric, kUnmapped);
    EraseUnmapped(m_strings, kUnmapped);
}
} // namespace mapipim
