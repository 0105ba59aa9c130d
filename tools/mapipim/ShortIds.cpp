#include "ShortIds.h"

#include "EntryIdTail.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace cli
{
namespace
{
size_t CommonTail(const std::string& a, const std::string& b)
{
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

size_t CommonStart(const std::string& a, const std::string& b)
{
    return static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
}

std::string Reversed(const std::string& text)
{
    return std::string(text.rbegin(), text.rend());
}

Host* g_host = nullptr;
std::unique_ptr<ShortIds> g_ids;
} // namespace

ShortIds::ShortIds(std::vector<std::string> ids) : m_ids(std::move(ids))
{
    // Sorted by their reversed text, the identifier sharing the longest tail with another is its neighbour.
    std::vector<std::string> reversed;
    for (const std::string& id : m_ids)
        reversed.push_back(Reversed(id));
    std::sort(reversed.begin(), reversed.end());
    reversed.erase(std::unique(reversed.begin(), reversed.end()), reversed.end());
    for (size_t i = 0; i < reversed.size(); ++i)
    {
        size_t shared = 0;
        if (i > 0)
            shared = std::max(shared, CommonStart(reversed[i], reversed[i - 1]));
        if (i + 1 < reversed.size())
            shared = std::max(shared, CommonStart(reversed[i], reversed[i + 1]));
        m_shared[Reversed(reversed[i])] = shared;
    }
}

size_t ShortIds::SharedTail(const std::string& id) const
{
    const auto known = m_shared.find(id);
    if (known != m_shared.end())
        return known->second;
    size_t shared = 0;
    for (const std::string& other : m_ids)
        shared = std::max(shared, CommonTail(id, other));
    return shared;
}

std::string ShortIds::Of(const std::string& id) const
{
    // A tail of kLongestTail digits or more would be read back as a whole identifier.
    const size_t digits = std::max(kShortestTail, SharedTail(id) + 1);
    return digits >= kLongestTail || digits >= id.size() ? id : id.substr(id.size() - digits);
}

std::string ShownId(const std::string& id)
{
    if (!g_host || id.empty())
        return id;
    if (!g_ids)
    {
        try
        {
            g_ids.reset(new ShortIds(ProfileEntryIds(*g_host)));
        }
        catch (const std::exception&)
        {
            // What was done is done: it is shown with whole identifiers rather than not at all.
            g_host = nullptr;
            return id;
        }
    }
    return g_ids->Of(id);
}

ShortIdsScope::ShortIdsScope(Host* host)
{
    g_host = host;
    g_ids.reset();
}

ShortIdsScope::~ShortIdsScope()
{
    g_host = nullptr;
    g_ids.reset();
}
} // namespace cli
