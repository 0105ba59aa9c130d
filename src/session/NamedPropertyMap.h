// What one message store has told the session about named properties: the tag each name is mapped to, and the
// names it has no mapping for. A store only ever adds mappings, so a mapped name stays right for as long as the
// store exists; an unmapped one can be mapped later (by a setter with MAPI_CREATE, or by another session), so
// the unmapped names are forgotten whenever the session opens the store again.
#pragma once

#include "platform/platform.h"

#include <string>
#include <unordered_map>

namespace mapipim
{
class NamedPropertyMap
{
public:
    enum class State
    {
        Unknown,
        Mapped,
        Unmapped
    };

    // The state of a name; for a mapped one its tag (the store's id with type PT_UNSPECIFIED).
    State Find(const MAPINAMEID& name, ULONG& ulTag) const;
    void RememberMapped(const MAPINAMEID& name, ULONG ulTag);
    void RememberUnmapped(const MAPINAMEID& name);
    void ForgetUnmapped();
    // Changes whenever what the map answers for some name may change, so that anything derived from its answers
    // knows when to derive it again.
    unsigned Generation() const { return m_nGeneration; }

private:
    // A numeric name, the kind every item kind reads field by field: kept apart from string names so that a look-up
    // builds no string.
    struct NumericKey
    {
        GUID guid;
        LONG lID;
        bool operator==(const NumericKey& other) const;
    };
    struct NumericKeyHash
    {
        size_t operator()(const NumericKey& key) const;
    };

    static NumericKey NumericKeyOf(const MAPINAMEID& name);
    // The GUID and the string of a string name.
    static std::string StringKeyOf(const MAPINAMEID& name);
    void Remember(const MAPINAMEID& name, ULONG ulTag, bool bReplace);

    static constexpr ULONG kUnmapped = PROP_TAG(PT_ERROR, 0);
    std::unordered_map<NumericKey, ULONG, NumericKeyHash> m_numeric;
    std::unordered_map<std::string, ULONG> m_strings;
    unsigned m_nGeneration = 0;
};
} // namespace mapipim
