#include "platform/mapi/pst/PstValue.h"

#include "platform/mapi/Text.h"

#include <cstring>
#include <vector>

namespace mapisvc::pst
{
namespace
{
std::string_view WithoutTrailingZeros(std::string_view bytes, size_t unit)
{
    bytes = bytes.substr(0, bytes.size() - bytes.size() % unit);
    while (bytes.size() >= unit && bytes.substr(bytes.size() - unit).find_first_not_of('\0') == std::string_view::npos)
        bytes.remove_suffix(unit);
    return bytes;
}

std::string UnicodeFromFile(std::string_view bytes)
{
    return std::string(WithoutTrailingZeros(bytes, 2));
}

std::string UnicodeFromAnsi(std::string_view bytes, UINT codePage)
{
    return Utf16ToBytes(TextFromCodePage(bytes, codePage));
}

uint32_t ReadU32(std::string_view bytes, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// Elements of a multi-valued string or binary: a count, `count` offsets from the value's start, the elements.
bool SplitVariableElements(std::string_view bytes, std::vector<std::string_view>& elements)
{
    if (bytes.size() < 4)
        return bytes.empty();
    const uint32_t count = ReadU32(bytes, 0);
    if (count > (bytes.size() - 4) / 4)
        return false;
    const size_t tableEnd = 4 + size_t(count) * 4;
    for (uint32_t i = 0; i < count; ++i)
    {
        const size_t start = ReadU32(bytes, 4 + size_t(i) * 4);
        const size_t end = i + 1 < count ? ReadU32(bytes, 4 + size_t(i + 1) * 4) : bytes.size();
        if (start < tableEnd || start > end || end > bytes.size())
            return false;
        elements.push_back(bytes.substr(start, end - start));
    }
    return true;
}

bool DecodeVariableMultiValue(ULONG type, std::string_view bytes, UINT codePage, Prop& prop, ULONG tag)
{
    std::vector<std::string_view> elements;
    if (!SplitVariableElements(bytes, elements))
        return false;
    const ULONG single = type & ~MV_FLAG;
    std::vector<std::string> stored;
    stored.reserve(elements.size());
    for (std::string_view element : elements)
    {
        if (single == PT_STRING8)
            stored.push_back(UnicodeFromAnsi(element, codePage));
        else if (single == PT_UNICODE)
            stored.push_back(UnicodeFromFile(element));
        else
            stored.emplace_back(element);
    }
    const ULONG storedType = single == PT_STRING8 ? PT_MV_UNICODE : type;
    prop = MakeProp(CHANGE_PROP_TYPE(tag, storedType), JoinMultiValue(stored, storedType));
    return true;
}

bool DecodeFixedMultiValue(ULONG type, std::string_view bytes, Prop& prop, ULONG tag)
{
    const size_t size = FixedElementSize(type & ~MV_FLAG);
    if (size == 0 || bytes.size() % size != 0)
        return false;
    std::vector<std::string> elements;
    for (size_t offset = 0; offset < bytes.size(); offset += size)
        elements.emplace_back(bytes.substr(offset, size));
    prop = MakeProp(tag, JoinMultiValue(elements, type));
    return true;
}

bool DecodeSingleValue(ULONG tag, std::string_view bytes, UINT codePage, Prop& prop)
{
    const ULONG type = PROP_TYPE(tag);
    switch (type)
    {
    case PT_STRING8:
        prop = MakeProp(CHANGE_PROP_TYPE(tag, PT_UNICODE), UnicodeFromAnsi(bytes, codePage));
        return true;
    case PT_UNICODE:
        prop = MakeProp(tag, UnicodeFromFile(bytes));
        return true;
    case PT_BINARY:
        prop = MakeProp(tag, std::string(bytes));
        return true;
    case PT_BOOLEAN:
        // One byte in a property context, four in some tables; any non-zero byte is true.
        if (bytes.empty() || bytes.size() > 4)
            return false;
        prop = MakeProp(tag, EncodeBool(bytes.find_first_not_of('\0') != std::string_view::npos));
        return true;
    default:
    {
        const size_t size = FixedElementSize(type);
        if (size == 0 || bytes.size() != size)
            return false;
        prop = MakeProp(tag, std::string(bytes));
        return true;
    }
    }
}
} // namespace

std::u16string TextFromCodePage(std::string_view bytes, UINT codePage)
{
    bytes = WithoutTrailingZeros(bytes, 1);
    if (bytes.empty())
        return std::u16string();
    const int cb = static_cast<int>(bytes.size());
    int cch = MultiByteToWideChar(codePage, 0, bytes.data(), cb, nullptr, 0);
    if (cch <= 0)
    {
        codePage = CP_ACP;
        cch = MultiByteToWideChar(codePage, 0, bytes.data(), cb, nullptr, 0);
        if (cch <= 0)
            return std::u16string();
    }
    std::u16string text(static_cast<size_t>(cch), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), cb, reinterpret_cast<LPWSTR>(&text[0]), cch);
    return text;
}

bool DecodeFileValue(ULONG tag, std::string_view bytes, UINT codePage, Prop& prop)
{
    const ULONG type = PROP_TYPE(tag);
    if (!IsKnownType(type))
        return false;
    if (type & MV_FLAG)
    {
        const ULONG single = type & ~MV_FLAG;
        if (single == PT_STRING8 || single == PT_UNICODE || single == PT_BINARY)
            return DecodeVariableMultiValue(type, bytes, codePage, prop, tag);
        return DecodeFixedMultiValue(type, bytes, prop, tag);
    }
    return DecodeSingleValue(tag, bytes, codePage, prop);
}
} // namespace mapisvc::pst
