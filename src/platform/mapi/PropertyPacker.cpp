#include "platform/mapi/PropertyPacker.h"

#include "platform/mapi/MAPIMemory.h"

#include <algorithm>
#include <cstring>

namespace mapisvc
{
namespace
{
size_t Align(size_t size)
{
    return (size + 7) & ~size_t(7);
}

// Lays out the data a value points to after the SPropValue array, each piece aligned to eight bytes. The buffer
// is not zero-filled: the padding after each piece is cleared here, the rest written by whoever takes it.
class ExtraSpace
{
public:
    explicit ExtraSpace(char* base) : m_cursor(base) {}

    // The piece's last eight bytes are cleared before the taker writes its start over them.
    char* Take(size_t size)
    {
        char* p = m_cursor;
        m_cursor += Align(size);
        if (m_cursor != p)
            std::memset(m_cursor - 8, 0, 8);
        return p;
    }
    char* Copy(std::string_view bytes, size_t terminator)
    {
        char* p = Take(bytes.size() + terminator);
        if (!bytes.empty())
            std::memcpy(p, bytes.data(), bytes.size());
        for (size_t i = 0; i < terminator; ++i)
            p[bytes.size() + i] = '\0';
        return p;
    }

private:
    char* m_cursor;
};

size_t Terminator(ULONG type)
{
    const ULONG single = type & ~MV_FLAG;
    return single == PT_UNICODE ? 2 : single == PT_STRING8 ? 1 : 0;
}

size_t ExtraSize(const OutValue& value)
{
    const ULONG type = PROP_TYPE(value.tag);
    if (value.error != S_OK)
        return 0;
    if (type == PT_CLSID)
        return Align(16);
    if (type == PT_STRING8 || type == PT_UNICODE || type == PT_BINARY)
        return Align(value.data.size() + Terminator(type));
    if (!(type & MV_FLAG))
        return 0;
    const ULONG single = type & ~MV_FLAG;
    const auto elements = SplitMultiValue(value.data, single);
    if (const size_t fixed = FixedElementSize(single))
        return Align(fixed * elements.size());
    size_t size = Align((single == PT_BINARY ? sizeof(SBinary) : sizeof(void*)) * elements.size());
    for (std::string_view element : elements)
        size += Align(element.size() + Terminator(single));
    return size;
}

void FillMultiValue(const OutValue& value, SPropValue& out, ExtraSpace& extra)
{
    const ULONG single = PROP_TYPE(value.tag) & ~MV_FLAG;
    const auto elements = SplitMultiValue(value.data, single);
    out.Value.MVi.cValues = static_cast<ULONG>(elements.size());
    if (const size_t fixed = FixedElementSize(single))
    {
        char* array = extra.Take(fixed * elements.size());
        for (size_t i = 0; i < elements.size(); ++i)
            std::memcpy(array + i * fixed, elements[i].data(), fixed);
        out.Value.MVi.lpi = reinterpret_cast<short*>(array);
        return;
    }
    if (single == PT_BINARY)
    {
        auto* array = reinterpret_cast<SBinary*>(extra.Take(sizeof(SBinary) * elements.size()));
        for (size_t i = 0; i < elements.size(); ++i)
        {
            array[i] = SBinary{};
            array[i].cb = static_cast<ULONG>(elements[i].size());
            array[i].lpb = reinterpret_cast<LPBYTE>(extra.Copy(elements[i], 0));
        }
        out.Value.MVbin.lpbin = array;
        return;
    }
    auto* array = reinterpret_cast<char**>(extra.Take(sizeof(char*) * elements.size()));
    for (size_t i = 0; i < elements.size(); ++i)
        array[i] = extra.Copy(elements[i], Terminator(single));
    out.Value.MVszA.lppszA = array;
}

void FillValue(const OutValue& value, SPropValue& out, ExtraSpace& extra)
{
    // Whole, so that a value shorter than the union (PT_I2, PT_BOOLEAN) leaves no stray bytes beside it.
    out = SPropValue{};
    out.ulPropTag = value.tag;
    const ULONG type = PROP_TYPE(value.tag);
    if (value.error != S_OK || type == PT_ERROR)
    {
        out.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(value.tag));
        out.Value.err = value.error != S_OK ? value.error : DecodeLong(value.data);
        return;
    }
    if (type & MV_FLAG)
        return FillMultiValue(value, out, extra);
    switch (type)
    {
    case PT_CLSID:
        out.Value.lpguid = reinterpret_cast<LPGUID>(
            extra.Copy(value.data.substr(0, 16), 16 - std::min<size_t>(16, value.data.size())));
        break;
    case PT_STRING8:
    case PT_UNICODE:
        out.Value.lpszA = extra.Copy(value.data, Terminator(type));
        break;
    case PT_BINARY:
        out.Value.bin.cb = static_cast<ULONG>(value.data.size());
        out.Value.bin.lpb = reinterpret_cast<LPBYTE>(extra.Copy(value.data, 0));
        break;
    case PT_NULL:
    case PT_OBJECT:
        out.Value.x = 0;
        break;
    default:
        std::memcpy(&out.Value, value.data.data(), std::min(value.data.size(), sizeof(out.Value)));
        break;
    }
}

OutValue FromMAPI(const SPropValue& value, std::string& storage)
{
    OutValue out;
    out.tag = value.ulPropTag;
    const ULONG type = PROP_TYPE(value.ulPropTag);
    if (type == PT_ERROR)
        out.error = value.Value.err;
    else if (type == PT_NULL || type == PT_OBJECT || FAILED(EncodeValue(value, storage)))
        out.tag = PROP_TAG(PT_NULL, PROP_ID(value.ulPropTag));
    else
        out.data = storage;
    return out;
}
} // namespace

HRESULT PackValues(const std::vector<OutValue>& values, LPSPropValue* lppPropArray)
{
    if (!lppPropArray)
        return MAPI_E_INVALID_PARAMETER;
    const size_t arraySize = Align(sizeof(SPropValue) * std::max<size_t>(values.size(), 1));
    size_t size = arraySize;
    for (const OutValue& value : values)
        size += ExtraSize(value);
    void* buffer = nullptr;
    if (HRESULT hr = AllocateUnfilledBuffer(size, &buffer))
        return hr;
    auto* array = static_cast<SPropValue*>(buffer);
    if (values.empty())
        array[0] = SPropValue{};
    ExtraSpace extra(static_cast<char*>(buffer) + arraySize);
    for (size_t i = 0; i < values.size(); ++i)
        FillValue(values[i], array[i], extra);
    *lppPropArray = array;
    return S_OK;
}

HRESULT PackTags(const std::vector<ULONG>& tags, LPSPropTagArray* lppTags)
{
    if (!lppTags)
        return MAPI_E_INVALID_PARAMETER;
    void* buffer = nullptr;
    if (HRESULT hr = AllocateBuffer(CbNewSPropTagArray(std::max<size_t>(tags.size(), 1)), &buffer))
        return hr;
    auto* array = static_cast<SPropTagArray*>(buffer);
    array->cValues = static_cast<ULONG>(tags.size());
    for (size_t i = 0; i < tags.size(); ++i)
        array->aulPropTag[i] = tags[i];
    *lppTags = array;
    return S_OK;
}

HRESULT CopyValues(ULONG cValues, const SPropValue* lpValues, LPSPropValue* lppCopy)
{
    std::vector<std::string> storage(cValues);
    std::vector<OutValue> values;
    for (ULONG i = 0; i < cValues; ++i)
        values.push_back(FromMAPI(lpValues[i], storage[i]));
    return PackValues(values, lppCopy);
}
} // namespace mapisvc
