#include "platform/win32/RegistryKey.h"

#include "platform/win32/IcuText.h"

#include <mapipim/win32/winapi.h>

namespace mapipim::win32
{
RegistryValue StringValue(std::u16string_view text)
{
    RegistryValue value{REG_SZ, {}};
    value.data.reserve((text.size() + 1) * 2);
    for (char16_t ch : text)
    {
        value.data.push_back(static_cast<BYTE>(ch & 0xFF));
        value.data.push_back(static_cast<BYTE>(ch >> 8));
    }
    value.data.insert(value.data.end(), 2, 0);
    return value;
}

RegistryValue DwordValue(DWORD dword)
{
    RegistryValue value{REG_DWORD, {}};
    for (int shift = 0; shift < 32; shift += 8)
        value.data.push_back(static_cast<BYTE>(dword >> shift));
    return value;
}

RegistryValue BinaryValue(const BYTE* data, size_t size)
{
    return RegistryValue{REG_BINARY, std::vector<BYTE>(data, data + size)};
}

std::shared_ptr<const RegistryKey> RegistryKey::SubKey(std::u16string_view) const
{
    return nullptr;
}

std::optional<std::u16string> RegistryKey::SubKeyName(size_t) const
{
    return std::nullopt;
}

std::optional<RegistryValue> RegistryKey::Value(std::u16string_view) const
{
    return std::nullopt;
}

BranchKey::BranchKey(std::vector<Child> children) : m_children(std::move(children)) {}

std::shared_ptr<const RegistryKey> BranchKey::SubKey(std::u16string_view name) const
{
    for (const Child& child : m_children)
        if (CompareNoCase(child.first, name) == 0)
            return child.second;
    return nullptr;
}

std::optional<std::u16string> BranchKey::SubKeyName(size_t index) const
{
    if (index >= m_children.size())
        return std::nullopt;
    return m_children[index].first;
}

std::shared_ptr<const RegistryKey> MakeBranchPath(std::u16string_view path, std::shared_ptr<const RegistryKey> leaf)
{
    const size_t lastSeparator = path.rfind(u'\\');
    const std::u16string_view lastName = lastSeparator == path.npos ? path : path.substr(lastSeparator + 1);
    auto branch =
        std::make_shared<const BranchKey>(std::vector<BranchKey::Child>{{std::u16string(lastName), std::move(leaf)}});
    if (lastSeparator == path.npos)
        return branch;
    return MakeBranchPath(path.substr(0, lastSeparator), std::move(branch));
}
} // namespace mapipim::win32
