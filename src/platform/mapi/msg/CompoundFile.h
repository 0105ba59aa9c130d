// A compound file (the OLE structured storage format of .msg files) held whole in memory: a tree of storages
// and streams. libgsf reads and writes the file format; this layer bounds what it accepts from a file, so that
// a hostile file costs no more than a fixed amount of memory and nesting.
#pragma once

#include "platform/platform.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mapisvc::msg
{
struct StorageNode
{
    std::u16string name;
    bool storage = false;
    GUID clsid = {};
    std::string data; // a stream's bytes
    std::vector<std::shared_ptr<StorageNode>> children;

    // The child of this name, compared as the format compares names (case-insensitive); null when none.
    std::shared_ptr<StorageNode> Child(std::u16string_view childName) const;
    bool Remove(std::u16string_view childName);
};

// What a file may hold before it is refused.
struct CompoundLimits
{
    uint64_t maxBytes = 512ull << 20;
    size_t maxElements = 200000;
    int maxDepth = 160;
};

// S_OK and the tree, or STG_E_FILENOTFOUND / STG_E_DOCFILECORRUPT / STG_E_INSUFFICIENTMEMORY with `why` set.
HRESULT LoadCompoundFile(const std::string& path, StorageNode& root, std::string& why,
                         const CompoundLimits& limits = CompoundLimits());
HRESULT LoadCompoundBytes(std::string_view bytes, StorageNode& root, std::string& why,
                          const CompoundLimits& limits = CompoundLimits());
// Writes the tree as a new file at `path` (replacing one there): a temporary file renamed over it, so that a
// failed write leaves what was there before.
HRESULT SaveCompoundFile(const std::string& path, const StorageNode& root);
} // namespace mapisvc::msg
