#include "platform/mapi/ValueCompare.h"

#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc
{
namespace
{
template <class T> T Read(std::string_view data)
{
    T value{};
    if (data.size() >= sizeof(T))
        std::memcpy(&value, data.data(), sizeof(T));
    return value;
}

template <class T> int Order(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

int CompareBytes(std::string_view a, std::string_view b)
{
    const int common = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (common)
        return common < 0 ? -1 : 1;
    return Order(a.size(), b.size());
}

int CompareSingle(std::string_view a, std::string_view b, ULONG type)
{
    switch (type)
    {
    case PT_I2:
        return Order(Read<int16_t>(a), Read<int16_t>(b));
    case PT_BOOLEAN:
        return Order(Read<uint16_t>(a) != 0, Read<uint16_t>(b) != 0);
    case PT_LONG:
    case PT_ERROR:
        return Order(Read<int32_t>(a), Read<int32_t>(b));
    case PT_R4:
        return Order(Read<float>(a), Read<float>(b));
    case PT_DOUBLE:
    case PT_APPTIME:
        return Order(Read<double>(a), Read<double>(b));
    case PT_CURRENCY:
    case PT_I8:
        return Order(Read<int64_t>(a), Read<int64_t>(b));
    case PT_SYSTIME:
        return Order(Read<uint64_t>(a), Read<uint64_t>(b));
    case PT_STRING8:
    case PT_UNICODE:
        return CompareIgnoreCase(StringOf(a, type), StringOf(b, type));
    default:
        return CompareBytes(a, b);
    }
}
} // namespace

std::u16string StringOf(std::string_view data, ULONG type)
{
    return (type & ~MV_FLAG) == PT_UNICODE ? BytesToUtf16(data) : FromAnsi(data);
}

int CompareValues(const Prop& a, const Prop& b)
{
    ULONG typeA = PROP_TYPE(a.tag), typeB = PROP_TYPE(b.tag);
    std::string converted;
    std::string_view dataB = b.data;
    if (typeA != typeB)
    {
        if (!IsStringType(typeA) || !IsStringType(typeB) || (typeA & MV_FLAG) != (typeB & MV_FLAG))
            return 0;
        converted = ConvertStrings(b.data, typeB, typeA);
        dataB = converted;
    }
    if (!(typeA & MV_FLAG))
        return CompareSingle(a.data, dataB, typeA);
    const auto elementsA = SplitMultiValue(a.data, typeA & ~MV_FLAG);
    const auto elementsB = SplitMultiValue(dataB, typeA & ~MV_FLAG);
    for (size_t i = 0; i < elementsA.size() && i < elementsB.size(); ++i)
        if (int order = CompareSingle(elementsA[i], elementsB[i], typeA & ~MV_FLAG))
            return order;
    return Order(elementsA.size(), elementsB.size());
}

bool SatisfiesRelop(int comparison, ULONG relop)
{
    switch (relop)
    {
    case RELOP_LT:
        return comparison < 0;
    case RELOP_LE:
        return comparison <= 0;
    case RELOP_GT:
        return comparison > 0;
    case RELOP_GE:
        return comparison >= 0;
    case RELOP_EQ:
        return comparison == 0;
    case RELOP_NE:
        return comparison != 0;
    default:
        return false;
    }
}
} // namespace mapisvc
