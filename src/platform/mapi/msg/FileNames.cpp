#include "platform/mapi/msg/FileNames.h"

#include "platform/mapi/Text.h"

#include <cstdio>
#include <cstring>

namespace mapisvc::msg
{
namespace
{
constexpr char16_t kStorageName[] = u"__nameid_version1.0";
constexpr char16_t kGuidStream[] = u"__substg1.0_00020102";
constexpr char16_t kEntryStream[] = u"__substg1.0_00030102";
constexpr char16_t kStringStream[] = u"__substg1.0_00040102";
constexpr ULONG kFirstId = 0x8000;
constexpr size_t kMaxNames = 0x7FFF;
constexpr uint32_t kBuckets = 0x1F;

uint32_t ReadU32(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void AppendU32(std::string& out, uint32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

const std::string* StreamBytes(const StorageNode& storage, const char16_t* name)
{
    std::shared_ptr<StorageNode> stream = storage.Child(name);
    return stream && !stream->storage ? &stream->data : nullptr;
}

std::shared_ptr<StorageNode> NewStream(const char16_t* name, std::string data)
{
    auto stream = std::make_shared<StorageNode>();
    stream->name = name;
    stream->data = std::move(data);
    return stream;
}

// The name of a string-kind entry, stored at `offset` of the string stream as a byte length and UTF-16LE text.
bool StringAt(const std::string& strings, uint32_t offset, std::u16string& name)
{
    if (offset > strings.size() || strings.size() - offset < 4)
        return false;
    const uint32_t length = ReadU32(strings, offset);
    if (length % 2 || length > strings.size() - offset - 4)
        return false;
    name = BytesToUtf16(std::string_view(strings).substr(offset + 4, length));
    return true;
}

// The GUID index the file gives a property set: 1 and 2 for the two sets every file knows, 3 up for the others.
uint32_t GuidIndex(const GUID& set, std::vector<GUID>& guids)
{
    if (IsEqualGUID(set, PS_MAPI))
        return 1;
    if (IsEqualGUID(set, PS_PUBLIC_STRINGS))
        return 2;
    for (size_t i = 0; i < guids.size(); ++i)
        if (IsEqualGUID(guids[i], set))
            return uint32_t(i + 3);
    guids.push_back(set);
    return uint32_t(guids.size() + 2);
}

bool SameName(const NamedProperty& a, const NamedProperty& b)
{
    return IsEqualGUID(a.propertySet, b.propertySet) && a.kind == b.kind &&
           (a.kind == MNID_ID ? a.id == b.id : a.name == b.name);
}
} // namespace

uint32_t NameChecksum(const std::u16string& name)
{
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    // Over the name's UTF-16LE bytes, starting from 0 and without a final inversion.
    uint32_t crc = 0;
    const std::string bytes = Utf16ToBytes(name);
    for (unsigned char byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc;
}

bool FileNames::Load(const StorageNode& root, std::string& why)
{
    m_names.clear();
    std::shared_ptr<StorageNode> storage = root.Child(kStorageName);
    if (!storage || !storage->storage)
        return true;
    const std::string* guidBytes = StreamBytes(*storage, kGuidStream);
    const std::string* entries = StreamBytes(*storage, kEntryStream);
    const std::string* strings = StreamBytes(*storage, kStringStream);
    const std::string none;
    if (!entries)
        return true;
    for (size_t offset = 0; offset + 8 <= entries->size(); offset += 8)
    {
        const uint32_t value = ReadU32(*entries, offset);
        const uint32_t info = ReadU32(*entries, offset + 4);
        const uint32_t index = info >> 16;
        const uint32_t guidIndex = (info >> 1) & 0x7FFF;
        if (index >= kMaxNames)
        {
            why = "a named property beyond the range of ids";
            return false;
        }
        NamedProperty name;
        if (guidIndex == 1 || guidIndex == 2)
            name.propertySet = guidIndex == 1 ? PS_MAPI : PS_PUBLIC_STRINGS;
        else if (guidBytes && guidIndex >= 3 && (guidIndex - 3) < guidBytes->size() / 16)
            std::memcpy(&name.propertySet, guidBytes->data() + (guidIndex - 3) * 16, 16);
        else
        {
            why = "a named property of an unknown property set";
            return false;
        }
        if (info & 1)
        {
            name.kind = MNID_STRING;
            if (!StringAt(strings ? *strings : none, value, name.name))
            {
                why = "a named property's name lies outside the string stream";
                return false;
            }
        }
        else
            name.id = LONG(value);
        if (m_names.size() <= index)
            m_names.resize(index + 1);
        m_names[index] = std::move(name);
    }
    return true;
}

void FileNames::Save(StorageNode& root) const
{
    std::vector<GUID> guids;
    std::string entries, strings;
    std::vector<std::string> buckets(kBuckets);
    for (size_t index = 0; index < m_names.size(); ++index)
    {
        const NamedProperty& name = m_names[index];
        const uint32_t guidIndex = GuidIndex(name.propertySet, guids);
        const bool isString = name.kind == MNID_STRING;
        uint32_t value = uint32_t(name.id);
        if (isString)
        {
            value = uint32_t(strings.size());
            const std::string text = Utf16ToBytes(name.name);
            AppendU32(strings, uint32_t(text.size()));
            strings += text;
            strings.append((4 - strings.size() % 4) % 4, '\0');
        }
        const uint32_t info = (uint32_t(index) << 16) | (guidIndex << 1) | (isString ? 1 : 0);
        AppendU32(entries, value);
        AppendU32(entries, info);
        const uint32_t key = isString ? NameChecksum(name.name) : uint32_t(name.id);
        const uint32_t hash = isString ? key ^ ((guidIndex << 1) | 1) : key ^ (guidIndex << 1);
        AppendU32(buckets[hash % kBuckets], key);
        AppendU32(buckets[hash % kBuckets], info);
    }
    auto storage = std::make_shared<StorageNode>();
    storage->name = kStorageName;
    storage->storage = true;
    std::string guidBytes(guids.size() * 16, '\0');
    if (!guids.empty())
        std::memcpy(&guidBytes[0], guids.data(), guidBytes.size());
    storage->children.push_back(NewStream(kGuidStream, std::move(guidBytes)));
    storage->children.push_back(NewStream(kEntryStream, std::move(entries)));
    storage->children.push_back(NewStream(kStringStream, std::move(strings)));
    for (uint32_t i = 0; i < kBuckets; ++i)
    {
        char bucketName[24];
        std::snprintf(bucketName, sizeof(bucketName), "__substg1.0_%04X0102", unsigned(0x1000 + i));
        storage->children.push_back(NewStream(FromUtf8(bucketName).c_str(), std::move(buckets[i])));
    }
    root.Remove(kStorageName);
    root.children.push_back(std::move(storage));
}

HRESULT FileNames::IdOfName(const NamedProperty& name, bool create, ULONG& propId)
{
    for (size_t index = 0; index < m_names.size(); ++index)
        if (SameName(m_names[index], name))
        {
            propId = ULONG(kFirstId + index);
            return S_OK;
        }
    if (!create)
        return MAPI_E_NOT_FOUND;
    if (m_names.size() >= kMaxNames)
        return MAPI_E_TOO_BIG;
    m_names.push_back(name);
    propId = ULONG(kFirstId + m_names.size() - 1);
    return S_OK;
}

bool FileNames::NameOfId(ULONG propId, NamedProperty& name)
{
    if (propId < kFirstId || propId - kFirstId >= m_names.size())
        return false;
    const NamedProperty& known = m_names[propId - kFirstId];
    if (IsEqualGUID(known.propertySet, GUID{}) && known.kind == MNID_ID && known.id == 0)
        return false; // a gap the file's numbering left
    name = known;
    return true;
}

HRESULT FileNames::AllNames(std::vector<std::pair<ULONG, NamedProperty>>& names)
{
    for (size_t index = 0; index < m_names.size(); ++index)
    {
        NamedProperty name;
        if (NameOfId(ULONG(kFirstId + index), name))
            names.emplace_back(ULONG(kFirstId + index), std::move(name));
    }
    return S_OK;
}
} // namespace mapisvc::msg
