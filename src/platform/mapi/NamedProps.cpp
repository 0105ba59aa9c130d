#include "platform/mapi/NamedProps.h"

#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc
{
namespace
{
constexpr ULONG kFirstNamedId = 0x8000;
constexpr ULONG kLastNamedId = 0xFFFE;
} // namespace

// The stored form of a name: the property set, the kind, then the number or the UTF-16 string.
std::string NameKey(const NamedProperty& name)
{
    std::string key(reinterpret_cast<const char*>(&name.propertySet), sizeof(GUID));
    key.append(reinterpret_cast<const char*>(&name.kind), 4);
    if (name.kind == MNID_ID)
        key.append(reinterpret_cast<const char*>(&name.id), 4);
    else
        key += Utf16ToBytes(name.name);
    return key;
}

NamedProperty NameFromKey(const std::string& key)
{
    NamedProperty name;
    if (key.size() < sizeof(GUID) + 4)
        return name;
    std::memcpy(&name.propertySet, key.data(), sizeof(GUID));
    std::memcpy(&name.kind, key.data() + sizeof(GUID), 4);
    const std::string_view rest = std::string_view(key).substr(sizeof(GUID) + 4);
    if (name.kind == MNID_ID && rest.size() >= 4)
        std::memcpy(&name.id, rest.data(), 4);
    else
        name.name = BytesToUtf16(rest);
    return name;
}

HRESULT NamedProps::IdOfName(const NamedProperty& name, bool create, ULONG& propId)
{
    if (name.kind != MNID_ID && name.kind != MNID_STRING)
        return MAPI_E_INVALID_PARAMETER;
    if (name.kind == MNID_ID && IsEqualGUID(name.propertySet, PS_MAPI))
    {
        propId = static_cast<ULONG>(name.id) & 0xFFFF;
        return S_OK;
    }
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const std::string key = NameKey(name);
    auto known = m_ids.find(key);
    if (known != m_ids.end())
    {
        propId = known->second;
        return S_OK;
    }
    // Another session or process may have mapped it since.
    HRESULT hr = Lookup(key, propId);
    if (hr != MAPI_E_NOT_FOUND || !create)
        return hr;
    Transaction transaction(m_db);
    if (HRESULT begin = transaction.Begin())
        return begin;
    if (Lookup(key, propId) == S_OK)
        return S_OK;
    Query next = m_db.Prepare("SELECT COALESCE(MAX(id), ?) + 1 FROM name");
    if (!next.Bind(1, kFirstNamedId - 1).Step())
        return next.Result();
    const int64_t id = next.Int(0);
    if (id > kLastNamedId)
        return MAPI_E_NOT_ENOUGH_RESOURCES;
    if (HRESULT insert = m_db.Prepare("INSERT INTO name(id, key) VALUES(?, ?)").Bind(1, id).BindBlob(2, key).Run())
        return insert;
    if (HRESULT commit = transaction.Commit())
        return commit;
    propId = static_cast<ULONG>(id);
    Remember(propId, key);
    return S_OK;
}

HRESULT NamedProps::Lookup(const std::string& key, ULONG& propId)
{
    Query query = m_db.Prepare("SELECT id FROM name WHERE key = ?");
    if (!query.BindBlob(1, key).Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    propId = static_cast<ULONG>(query.Int(0));
    Remember(propId, key);
    return S_OK;
}

void NamedProps::Remember(ULONG propId, const std::string& key)
{
    m_ids[key] = propId;
    m_keys[propId] = key;
}

bool NamedProps::NameOfId(ULONG propId, NamedProperty& name)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto known = m_keys.find(propId);
    if (known == m_keys.end())
    {
        Query query = m_db.Prepare("SELECT key FROM name WHERE id = ?");
        if (!query.Bind(1, propId).Step())
            return false;
        Remember(propId, std::string(query.Blob(0)));
        known = m_keys.find(propId);
    }
    name = NameFromKey(known->second);
    return true;
}

HRESULT NamedProps::AllNames(std::vector<std::pair<ULONG, NamedProperty>>& names)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Query query = m_db.Prepare("SELECT id, key FROM name ORDER BY id");
    while (query.Step())
        names.emplace_back(static_cast<ULONG>(query.Int(0)), NameFromKey(std::string(query.Blob(1))));
    return query.Result();
}
} // namespace mapisvc
