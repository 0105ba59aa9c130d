// The named properties of one Outlook item file: the file numbers its names itself (0x8000 up) and keeps them
// in the "__nameid_version1.0" storage of its root (a stream of property-set GUIDs, one of entries, one of
// string names, and the hash buckets readers use to find a name). Embedded messages use their root's names.
#pragma once

#include "platform/mapi/PropertyNames.h"
#include "platform/mapi/msg/CompoundFile.h"

#include <string>
#include <vector>

namespace mapisvc::msg
{
class FileNames : public PropertyNames
{
public:
    // False (with `why`) for a mapping that contradicts itself; no mapping storage at all is an empty mapping.
    bool Load(const StorageNode& root, std::string& why);
    // Replaces the mapping storage of `root` by this mapping.
    void Save(StorageNode& root) const;

    HRESULT IdOfName(const NamedProperty& name, bool create, ULONG& propId) override;
    bool NameOfId(ULONG propId, NamedProperty& name) override;
    HRESULT AllNames(std::vector<std::pair<ULONG, NamedProperty>>& names) override;

private:
    std::vector<NamedProperty> m_names; // the name of id 0x8000 + index
};

// The checksum names of the string kind are hashed with in the mapping's buckets.
uint32_t NameChecksum(const std::u16string& name);
} // namespace mapisvc::msg
