// The read-only registry the stand-ins answer: a tree of keys, each computing its subkeys and values when asked.
// Names compare case-insensitively, as on Windows.
#pragma once

#include <mapipim/win32/wintypes.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mapipim::win32
{
struct RegistryValue
{
    DWORD type = 0;
    std::vector<BYTE> data;
};

// REG_SZ: UTF-16 little-endian with its terminator, as Windows stores and sizes it.
RegistryValue StringValue(std::u16string_view text);
RegistryValue DwordValue(DWORD value);
RegistryValue BinaryValue(const BYTE* data, size_t size);

class RegistryKey
{
public:
    virtual ~RegistryKey() = default;

    // Null when there is no such subkey.
    virtual std::shared_ptr<const RegistryKey> SubKey(std::u16string_view name) const;
    // In enumeration order; empty past the last subkey.
    virtual std::optional<std::u16string> SubKeyName(size_t index) const;
    virtual std::optional<RegistryValue> Value(std::u16string_view name) const;
};

// A key with fixed subkeys and no values: the path down to the keys that hold data.
class BranchKey : public RegistryKey
{
public:
    using Child = std::pair<std::u16string, std::shared_ptr<const RegistryKey>>;
    explicit BranchKey(std::vector<Child> children);

    std::shared_ptr<const RegistryKey> SubKey(std::u16string_view name) const override;
    std::optional<std::u16string> SubKeyName(size_t index) const override;

private:
    std::vector<Child> m_children;
};

// A chain of branches, one per name of `path` ("SOFTWARE\Microsoft"), ending in `leaf`.
std::shared_ptr<const RegistryKey> MakeBranchPath(std::u16string_view path, std::shared_ptr<const RegistryKey> leaf);
} // namespace mapipim::win32
