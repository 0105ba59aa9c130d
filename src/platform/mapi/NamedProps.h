// Named properties of one store: each name (a property set and a number or string) is mapped once to an id
// from 0x8000 up and kept in the store's database, so the mapping is the same for every session and process.
// Names of PS_MAPI with a number are ordinary property ids.
#pragma once

#include "platform/mapi/PropertyNames.h"
#include "platform/mapi/Sqlite.h"

#include <map>
#include <mutex>
#include <string>

namespace mapisvc
{
class NamedProps : public PropertyNames
{
public:
    // `mutex` guards the store's connection, which the names share.
    NamedProps(Database& db, std::recursive_mutex& mutex) : m_db(db), m_mutex(mutex) {}

    HRESULT IdOfName(const NamedProperty& name, bool create, ULONG& propId) override;
    bool NameOfId(ULONG propId, NamedProperty& name) override;
    HRESULT AllNames(std::vector<std::pair<ULONG, NamedProperty>>& names) override;

private:
    HRESULT Lookup(const std::string& key, ULONG& propId);
    void Remember(ULONG propId, const std::string& key);

    Database& m_db;
    std::recursive_mutex& m_mutex;
    std::map<std::string, ULONG> m_ids;
    std::map<ULONG, std::string> m_keys;
};

std::string NameKey(const NamedProperty& name);
NamedProperty NameFromKey(const std::string& key);
} // namespace mapisvc
