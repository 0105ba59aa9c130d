// Text output names items and folders by the shortest tail of their entry identifier (never fewer than
// kShortestTail digits) that no other identifier of the profile ends with: the form ExpandEntryIdTail takes back.
// --full-ids, and JSON output always, give the whole identifier. Store identifiers, which no command takes as a
// tail, stay whole.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli
{
class Host;

class ShortIds
{
public:
    explicit ShortIds(std::vector<std::string> ids);

    // The shortest tail of the identifier that no other of the set ends with; the whole identifier when even
    // that is the tail of another.
    std::string Of(const std::string& id) const;

private:
    size_t SharedTail(const std::string& id) const;

    std::vector<std::string> m_ids;
    std::map<std::string, size_t> m_shared; // identifier -> longest tail it shares with another of the set
};

// The identifier as text output shows it while a ShortIdsScope with a host lasts: a short tail among every folder
// and item of the host's profile (read once, at the first call); else the whole identifier.
std::string ShownId(const std::string& id);

// The run of a command whose text output names items by short tails (a host) or whole (null, for --full-ids).
class ShortIdsScope
{
public:
    explicit ShortIdsScope(Host* host);
    ~ShortIdsScope();
    ShortIdsScope(const ShortIdsScope&) = delete;
    ShortIdsScope& operator=(const ShortIdsScope&) = delete;
};
} // namespace cli
