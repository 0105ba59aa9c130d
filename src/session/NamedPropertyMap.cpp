#include "session/NamedPropertyMap.h"

#include <cstring>

namespace mapipim
{
std::string NamedPropertyMap::KeyOf(const MAPINAMEID& name)
{
    std::string key;
    if (name.lpguid)
        key.assign(reinterpret_cast<const char*>(name.lpguid), sizeof(GUID));
    else
        key.assign(sizeof(GUID), '\0');
    key += static_cast<char>(name.ulKind);
    if (name.ulKind == MNID_ID)
        key.append(reinterpret_cast<const char*>(&name.Kind.lID), sizeof(name.Kind.lID));
    else if (name.Kind.lpwstrName)
        key.append(reinterpret_cast<const char*>(name.Kind.lpwstrName),
                   static_cast<size_t>(lstrlenW(name.Kind.lpwstrName)) * sizeof(WCHAR));
    return key;
}

NamedPropertyMap::State NamedPropertyMap::Find(const MAPINAMEID& name, ULONG& ulTag) const
{
    const auto it = m_tags.find(KeyOf(name));
    if (it == m_tags.end())
        return State::Unknown;
    if (it->second == kUnmapped)
        return State::Unmapped;
    ulTag = it->second;
    return State::Mapped;
}

void NamedPropertyMap::RememberMapped(const MAPINAMEID& name, ULONG ulTag)
{
    m_tags[KeyOf(name)] = CHANGE_PROP_TYPE(ulTag, PT_UNSPECIFIED);
}

void NamedPropertyMap::RememberUnmapped(const MAPINAMEID& name)
{
    m_tags.emplace(KeyOf(name), kUnmapped);
}

void NamedPropertyMap::ForgetUnmapped()
{
    for (auto it = m_tags.begin(); it != m_tags.end();)
        it = it->second == kUnmapped ? m_tags.erase(it) : std::next(it);
}
} // namespace mapipim
