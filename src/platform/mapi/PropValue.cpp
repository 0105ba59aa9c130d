#include "platform/mapi/PropValue.h"

#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc
{
namespace
{
template <class T> std::string Bytes(const T& value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

void AppendUInt32(std::string& out, uint32_t value)
{
    out.append(reinterpret_cast<const char*>(&value), 4);
}

uint32_t ReadUInt32(std::string_view data, size_t offset)
{
    uint32_t value = 0;
    if (offset + 4 <= data.size())
        std::memcpy(&value, data.data() + offset, 4);
    return value;
}

ULONG SingleType(ULONG type)
{
    return type & ~MV_FLAG;
}

// The bytes of one element of a variable-size type as MAPI gives it.
bool ElementBytes(ULONG type, const void* element, std::string& out)
{
    switch (type)
    {
    case PT_STRING8:
    {
        auto* sz = *static_cast<const char* const*>(element);
        if (!sz)
            return false;
        out.assign(sz);
        return true;
    }
    case PT_UNICODE:
    {
        auto* wsz = *static_cast<const char16_t* const*>(element);
        if (!wsz)
            return false;
        out = Utf16ToBytes(std::u16string_view(wsz));
        return true;
    }
    case PT_BINARY:
    {
        auto* bin = static_cast<const SBinary*>(element);
        if (bin->cb && !bin->lpb)
            return false;
        out.assign(reinterpret_cast<const char*>(bin->lpb), bin->cb);
        return true;
    }
    default:
        return false;
    }
}

HRESULT EncodeMultiValue(const SPropValue& value, std::string& data)
{
    const ULONG type = SingleType(PROP_TYPE(value.ulPropTag));
    // Every multi-valued member of the union starts with its count and a pointer to the elements.
    const ULONG count = value.Value.MVi.cValues;
    const void* elements = value.Value.MVi.lpi;
    if (count && !elements)
        return MAPI_E_INVALID_PARAMETER;
    data.clear();
    AppendUInt32(data, count);
    if (const size_t size = FixedElementSize(type))
    {
        data.append(static_cast<const char*>(elements), size * count);
        return S_OK;
    }
    const size_t stride = type == PT_BINARY ? sizeof(SBinary) : sizeof(void*);
    std::string element;
    for (ULONG i = 0; i < count; ++i)
    {
        if (!ElementBytes(type, static_cast<const char*>(elements) + i * stride, element))
            return MAPI_E_INVALID_PARAMETER;
        AppendUInt32(data, static_cast<uint32_t>(element.size()));
        data += element;
    }
    return S_OK;
}
} // namespace

bool IsStringType(ULONG type)
{
    const ULONG single = SingleType(type);
    return single == PT_STRING8 || single == PT_UNICODE;
}

size_t FixedElementSize(ULONG type)
{
    switch (SingleType(type))
    {
    case PT_I2:
    case PT_BOOLEAN:
        return 2;
    case PT_LONG:
    case PT_R4:
    case PT_ERROR:
        return 4;
    case PT_DOUBLE:
    case PT_APPTIME:
    case PT_CURRENCY:
    case PT_I8:
    case PT_SYSTIME:
        return 8;
    case PT_CLSID:
        return 16;
    default:
        return 0;
    }
}

bool IsKnownType(ULONG type)
{
    const ULONG single = SingleType(type);
    if (type & MV_FLAG)
    {
        if (single == PT_BOOLEAN || single == PT_ERROR)
            return false;
        return FixedElementSize(single) != 0 || single == PT_STRING8 || single == PT_UNICODE || single == PT_BINARY;
    }
    return FixedElementSize(type) != 0 || type == PT_STRING8 || type == PT_UNICODE || type == PT_BINARY;
}

HRESULT EncodeValue(const SPropValue& value, std::string& data)
{
    const ULONG type = PROP_TYPE(value.ulPropTag);
    if (!IsKnownType(type))
        return MAPI_E_INVALID_TYPE;
    if (type & MV_FLAG)
        return EncodeMultiValue(value, data);
    switch (type)
    {
    case PT_I2:
        data = Bytes(value.Value.i);
        return S_OK;
    case PT_BOOLEAN:
        data = EncodeBool(value.Value.b != 0);
        return S_OK;
    case PT_CLSID:
        if (!value.Value.lpguid)
            return MAPI_E_INVALID_PARAMETER;
        data = Bytes(*value.Value.lpguid);
        return S_OK;
    case PT_STRING8:
    case PT_UNICODE:
    case PT_BINARY:
        return ElementBytes(type, type == PT_BINARY ? static_cast<const void*>(&value.Value.bin) : &value.Value.lpszA,
                            data)
                   ? S_OK
                   : MAPI_E_INVALID_PARAMETER;
    default:
        data.assign(reinterpret_cast<const char*>(&value.Value), FixedElementSize(type));
        return S_OK;
    }
}

std::vector<std::string_view> SplitMultiValue(std::string_view data, ULONG type)
{
    std::vector<std::string_view> elements;
    const uint32_t count = ReadUInt32(data, 0);
    size_t offset = 4;
    const size_t fixed = FixedElementSize(type);
    for (uint32_t i = 0; i < count && offset <= data.size(); ++i)
    {
        const size_t size = fixed ? fixed : ReadUInt32(data, offset);
        if (!fixed)
            offset += 4;
        if (offset + size > data.size())
            break;
        elements.push_back(data.substr(offset, size));
        offset += size;
    }
    return elements;
}

std::string JoinMultiValue(const std::vector<std::string>& elements, ULONG type)
{
    std::string data;
    AppendUInt32(data, static_cast<uint32_t>(elements.size()));
    const bool fixed = FixedElementSize(type) != 0;
    for (const std::string& element : elements)
    {
        if (!fixed)
            AppendUInt32(data, static_cast<uint32_t>(element.size()));
        data += element;
    }
    return data;
}

std::string ConvertStrings(std::string_view data, ULONG fromType, ULONG toType)
{
    auto convert = [&](std::string_view text)
    {
        if (SingleType(fromType) == SingleType(toType))
            return std::string(text);
        if (SingleType(toType) == PT_UNICODE)
            return Utf16ToBytes(FromAnsi(text));
        return ToAnsi(BytesToUtf16(text));
    };
    if (!(fromType & MV_FLAG))
        return convert(data);
    std::vector<std::string> converted;
    for (std::string_view element : SplitMultiValue(data, fromType))
        converted.push_back(convert(element));
    return JoinMultiValue(converted, toType);
}

Prop ToStoredWidth(Prop prop, bool unicode)
{
    const ULONG type = PROP_TYPE(prop.tag);
    if (!IsStringType(type))
        return prop;
    const ULONG stored = (type & MV_FLAG) | (unicode ? PT_UNICODE : PT_STRING8);
    if (stored != type)
    {
        prop.data = ConvertStrings(prop.data, type, stored);
        prop.tag = CHANGE_PROP_TYPE(prop.tag, stored);
    }
    return prop;
}

bool OutputType(ULONG storedType, ULONG requestedType, bool unicode, ULONG& outputType)
{
    if (requestedType == PT_UNSPECIFIED)
    {
        outputType = storedType;
        if (IsStringType(storedType))
            outputType = (storedType & MV_FLAG) | (unicode ? PT_UNICODE : PT_STRING8);
        return true;
    }
    outputType = requestedType;
    if (requestedType == storedType)
        return true;
    return IsStringType(requestedType) && IsStringType(storedType) &&
           (requestedType & MV_FLAG) == (storedType & MV_FLAG);
}

std::string DataAs(const Prop& prop, ULONG type)
{
    const ULONG stored = PROP_TYPE(prop.tag);
    if (stored == type || !IsStringType(stored) || !IsStringType(type))
        return prop.data;
    return ConvertStrings(prop.data, stored, type);
}

std::string EncodeLong(LONG value)
{
    return Bytes(value);
}

std::string EncodeBool(bool value)
{
    const uint16_t b = value ? 1 : 0;
    return Bytes(b);
}

std::string EncodeInt64(int64_t value)
{
    return Bytes(value);
}

std::string EncodeUnicode(std::u16string_view text)
{
    return Utf16ToBytes(text);
}

LONG DecodeLong(std::string_view data)
{
    LONG value = 0;
    if (data.size() >= sizeof(value))
        std::memcpy(&value, data.data(), sizeof(value));
    return value;
}

int64_t DecodeInt64(std::string_view data)
{
    int64_t value = 0;
    if (data.size() >= sizeof(value))
        std::memcpy(&value, data.data(), sizeof(value));
    return value;
}

Prop MakeProp(ULONG tag, std::string data)
{
    Prop prop;
    prop.tag = tag;
    prop.data = std::move(data);
    return prop;
}
} // namespace mapisvc
