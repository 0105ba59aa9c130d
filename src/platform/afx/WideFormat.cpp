#include "platform/afx/WideFormat.h"

#include "platform/afx/Utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace mapipim
{
namespace
{
// Widths and precisions beyond this are cut to it: a hostile format must not make the formatter allocate gigabytes.
constexpr int kMaxField = 4096;
constexpr int kPointerBits = static_cast<int>(sizeof(void*) * 8);

enum class Length
{
    None,
    Char,
    Short,
    Long,
    LongLong,
    Size,
    Wide,
    LongDouble
};

enum class Category
{
    Unknown,
    Percent,
    Signed,
    Unsigned,
    Floating,
    Character,
    Text,
    Pointer
};

struct Spec
{
    bool bLeft = false;
    bool bPlus = false;
    bool bSpace = false;
    bool bZero = false;
    bool bAlternate = false;
    bool bWidthStar = false;
    bool bPrecisionStar = false;
    int nWidth = -1;
    int nPrecision = -1;
    Length length = Length::None;
    WCHAR conversion = 0;
};

struct IntegerValue
{
    uint64_t raw = 0;
    int nBits = 32;
};

struct TextValue
{
    const WCHAR* pWide = nullptr;
    const char* pNarrow = nullptr;
};

Category Classify(WCHAR conversion)
{
    switch (conversion)
    {
    case '%':
        return Category::Percent;
    case 'd':
    case 'i':
        return Category::Signed;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        return Category::Unsigned;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return Category::Floating;
    case 'c':
    case 'C':
        return Category::Character;
    case 's':
    case 'S':
        return Category::Text;
    case 'p':
        return Category::Pointer;
    default:
        return Category::Unknown;
    }
}

// Windows' wide printf: %s and %c are wide, %S and %C narrow; h forces narrow, l and w force wide.
bool WantsNarrow(const Spec& spec)
{
    if (spec.length == Length::Short)
        return true;
    if (spec.length == Length::Long || spec.length == Length::Wide)
        return false;
    return spec.conversion == 'S' || spec.conversion == 'C';
}

int VaBits(Length length)
{
    switch (length)
    {
    case Length::LongLong:
    case Length::LongDouble:
        return 64;
    case Length::Size:
        return kPointerBits;
    default:
        return 32;
    }
}

int ClampField(long long nValue)
{
    return nValue > kMaxField ? kMaxField : static_cast<int>(nValue);
}

const WCHAR* ParseNumber(const WCHAR* p, int& nValue)
{
    long long nNumber = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        nNumber = nNumber > kMaxField ? nNumber : nNumber * 10 + (*p - '0');
    nValue = ClampField(nNumber);
    return p;
}

const WCHAR* ParseFlags(const WCHAR* p, Spec& spec)
{
    for (;; ++p)
    {
        switch (*p)
        {
        case '-':
            spec.bLeft = true;
            break;
        case '+':
            spec.bPlus = true;
            break;
        case ' ':
            spec.bSpace = true;
            break;
        case '0':
            spec.bZero = true;
            break;
        case '#':
            spec.bAlternate = true;
            break;
        default:
            return p;
        }
    }
}

bool StartsWith(const WCHAR* p, const char* pszPrefix)
{
    for (; *pszPrefix != 0; ++p, ++pszPrefix)
        if (*p != static_cast<WCHAR>(*pszPrefix))
            return false;
    return true;
}

const WCHAR* ParseLength(const WCHAR* p, Length& length)
{
    struct Modifier
    {
        const char* pszText;
        Length length;
    };
    static const Modifier kModifiers[] = {{"hh", Length::Char},     {"h", Length::Short},      {"ll", Length::LongLong},
                                          {"l", Length::Long},      {"I64", Length::LongLong}, {"I32", Length::Long},
                                          {"I", Length::Size},      {"q", Length::LongLong},   {"j", Length::LongLong},
                                          {"z", Length::Size},      {"t", Length::Size},       {"w", Length::Wide},
                                          {"L", Length::LongDouble}};
    for (const Modifier& modifier : kModifiers)
    {
        if (StartsWith(p, modifier.pszText))
        {
            length = modifier.length;
            return p + std::strlen(modifier.pszText);
        }
    }
    return p;
}

// Parses what follows a "%"; returns the position after the conversion character, or null when the format ends
// inside the conversion.
const WCHAR* ParseSpec(const WCHAR* p, Spec& spec)
{
    p = ParseFlags(p, spec);
    if (*p == '*')
    {
        spec.bWidthStar = true;
        ++p;
    }
    else
        p = ParseNumber(p, spec.nWidth);
    if (*p == '.')
    {
        ++p;
        if (*p == '*')
        {
            spec.bPrecisionStar = true;
            ++p;
        }
        else
            p = ParseNumber(p, spec.nPrecision);
    }
    p = ParseLength(p, spec.length);
    if (*p == 0)
        return nullptr;
    spec.conversion = *p;
    return p + 1;
}

void AppendAscii(WideString& out, const char* pText, size_t nLength)
{
    for (size_t i = 0; i < nLength; ++i)
        out.push_back(static_cast<WCHAR>(static_cast<unsigned char>(pText[i])));
}

// Formats one number with the C library (which knows every flag combination) and widens the ASCII result.
template <typename T> void AppendPrintf(WideString& out, const std::string& format, T value)
{
    char buffer[128];
    const int nLength = std::snprintf(buffer, sizeof(buffer), format.c_str(), value);
    if (nLength < 0)
        return;
    if (static_cast<size_t>(nLength) < sizeof(buffer))
    {
        AppendAscii(out, buffer, static_cast<size_t>(nLength));
        return;
    }
    std::string large(static_cast<size_t>(nLength) + 1, '\0');
    std::snprintf(&large[0], large.size(), format.c_str(), value);
    AppendAscii(out, large.data(), static_cast<size_t>(nLength));
}

std::string NarrowFormat(const Spec& spec, const char* pszConversion)
{
    std::string format = "%";
    format += spec.bLeft ? "-" : "";
    format += spec.bPlus ? "+" : "";
    format += spec.bSpace ? " " : "";
    format += spec.bZero ? "0" : "";
    format += spec.bAlternate ? "#" : "";
    if (spec.nWidth >= 0)
        format += std::to_string(spec.nWidth);
    if (spec.nPrecision >= 0)
        format += "." + std::to_string(spec.nPrecision);
    return format + pszConversion;
}

void AppendPadded(WideString& out, const Spec& spec, const WCHAR* pText, size_t nLength)
{
    const size_t nPad = spec.nWidth > 0 && static_cast<size_t>(spec.nWidth) > nLength ? spec.nWidth - nLength : 0;
    const WCHAR fill = spec.bZero && !spec.bLeft ? WCHAR('0') : WCHAR(' ');
    if (!spec.bLeft)
        out.append(nPad, fill);
    out.append(pText, nLength);
    if (spec.bLeft)
        out.append(nPad, WCHAR(' '));
}

void EmitInteger(WideString& out, const Spec& spec, IntegerValue value, bool bSigned)
{
    const int nBits = spec.length == Length::Char ? 8 : spec.length == Length::Short ? 16 : value.nBits;
    const uint64_t mask = nBits >= 64 ? ~0ULL : (1ULL << nBits) - 1;
    const uint64_t bits = value.raw & mask;
    if (bSigned)
    {
        const bool bNegative = nBits < 64 && ((bits >> (nBits - 1)) & 1) != 0;
        const long long nValue = static_cast<long long>(bNegative ? bits | ~mask : bits);
        AppendPrintf(out, NarrowFormat(spec, "lld"), nValue);
        return;
    }
    const char* pszConversion = spec.conversion == 'x'   ? "llx"
                                : spec.conversion == 'X' ? "llX"
                                : spec.conversion == 'o' ? "llo"
                                                         : "llu";
    AppendPrintf(out, NarrowFormat(spec, pszConversion), static_cast<unsigned long long>(bits));
}

void EmitFloating(WideString& out, const Spec& spec, double value)
{
    const char conversion[2] = {static_cast<char>(spec.conversion), 0};
    AppendPrintf(out, NarrowFormat(spec, conversion), value);
}

size_t BoundedLength(const WCHAR* pText, int nPrecision)
{
    size_t nLength = 0;
    while ((nPrecision < 0 || nLength < static_cast<size_t>(nPrecision)) && pText[nLength] != 0)
        ++nLength;
    return nLength;
}

void EmitText(WideString& out, const Spec& spec, TextValue text)
{
    static const WCHAR kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (text.pNarrow != nullptr)
    {
        const size_t nMax = spec.nPrecision < 0 ? SIZE_MAX : static_cast<size_t>(spec.nPrecision);
        size_t nBytes = 0;
        while (nBytes < nMax && text.pNarrow[nBytes] != 0)
            ++nBytes;
        WideString converted;
        AppendUtf8AsUtf16(text.pNarrow, nBytes, converted);
        AppendPadded(out, spec, converted.data(), converted.size());
        return;
    }
    const WCHAR* pText = text.pWide != nullptr ? text.pWide : kNull;
    AppendPadded(out, spec, pText, BoundedLength(pText, spec.nPrecision));
}

void EmitCharacter(WideString& out, const Spec& spec, uint64_t value)
{
    const WCHAR unit = static_cast<WCHAR>(WantsNarrow(spec) ? value & 0xFF : value & 0xFFFF);
    AppendPadded(out, spec, &unit, unit == 0 ? 0 : 1);
}

// As Windows prints %p: every hexadecimal digit of the address, upper case.
void EmitPointer(WideString& out, const Spec& spec, uint64_t address)
{
    static const char kDigits[] = "0123456789ABCDEF";
    WCHAR digits[kPointerBits / 4];
    for (int i = kPointerBits / 4 - 1; i >= 0; --i, address >>= 4)
        digits[i] = static_cast<WCHAR>(kDigits[address & 0xF]);
    Spec padding = spec;
    padding.bZero = false;
    AppendPadded(out, padding, digits, kPointerBits / 4);
}

// Reads the arguments from a va_list by the sizes the conversions name.
class VaListSource
{
public:
    explicit VaListSource(va_list args) { va_copy(m_args, args); }
    ~VaListSource() { va_end(m_args); }
    VaListSource(const VaListSource&) = delete;
    VaListSource& operator=(const VaListSource&) = delete;

    bool ReadInt(int& nValue)
    {
        nValue = va_arg(m_args, int);
        return true;
    }
    bool ReadInteger(const Spec& spec, IntegerValue& value)
    {
        value.nBits = VaBits(spec.length);
        value.raw = value.nBits == 64 ? va_arg(m_args, unsigned long long) : va_arg(m_args, unsigned int);
        return true;
    }
    bool ReadFloating(const Spec& spec, double& value)
    {
        value = spec.length == Length::LongDouble ? static_cast<double>(va_arg(m_args, long double))
                                                  : va_arg(m_args, double);
        return true;
    }
    bool ReadCharacter(uint64_t& value)
    {
        value = static_cast<unsigned int>(va_arg(m_args, int));
        return true;
    }
    bool ReadText(const Spec& spec, TextValue& text)
    {
        if (WantsNarrow(spec))
            text.pNarrow = va_arg(m_args, const char*);
        else
            text.pWide = va_arg(m_args, const WCHAR*);
        return true;
    }
    bool ReadPointer(uint64_t& address)
    {
        address = reinterpret_cast<uintptr_t>(va_arg(m_args, const void*));
        return true;
    }

private:
    va_list m_args;
};

// Reads captured arguments; a missing argument or one of an unusable kind makes the conversion fail.
class PackedSource
{
public:
    PackedSource(const FormatArg* pArgs, int nArgs) : m_pArgs(pArgs), m_nArgs(pArgs ? nArgs : 0) {}

    bool ReadInt(int& nValue)
    {
        IntegerValue value;
        if (!ReadIntegerArg(value))
            return false;
        nValue = static_cast<int>(static_cast<int64_t>(value.raw));
        return true;
    }
    bool ReadInteger(const Spec&, IntegerValue& value) { return ReadIntegerArg(value); }
    bool ReadFloating(const Spec&, double& value)
    {
        const FormatArg* pArg = Next();
        if (pArg == nullptr)
            return false;
        switch (pArg->GetKind())
        {
        case FormatArg::Kind::Floating:
            value = pArg->GetFloating();
            return true;
        case FormatArg::Kind::Signed:
            value = static_cast<double>(pArg->GetSigned());
            return true;
        case FormatArg::Kind::Unsigned:
            value = static_cast<double>(pArg->GetUnsigned());
            return true;
        default:
            return false;
        }
    }
    bool ReadCharacter(uint64_t& value)
    {
        IntegerValue integer;
        if (!ReadIntegerArg(integer))
            return false;
        value = integer.raw;
        return true;
    }
    bool ReadText(const Spec&, TextValue& text)
    {
        const FormatArg* pArg = Next();
        if (pArg == nullptr)
            return false;
        switch (pArg->GetKind())
        {
        case FormatArg::Kind::WideText:
            text.pWide = pArg->GetWideText();
            return true;
        case FormatArg::Kind::NarrowText:
            text.pNarrow = pArg->GetNarrowText();
            return true;
        case FormatArg::Kind::Pointer:
            return pArg->GetPointer() == nullptr;
        default:
            return false;
        }
    }
    bool ReadPointer(uint64_t& address)
    {
        const FormatArg* pArg = Next();
        if (pArg == nullptr)
            return false;
        switch (pArg->GetKind())
        {
        case FormatArg::Kind::Pointer:
            address = reinterpret_cast<uintptr_t>(pArg->GetPointer());
            return true;
        case FormatArg::Kind::WideText:
            address = reinterpret_cast<uintptr_t>(pArg->GetWideText());
            return true;
        case FormatArg::Kind::NarrowText:
            address = reinterpret_cast<uintptr_t>(pArg->GetNarrowText());
            return true;
        case FormatArg::Kind::Signed:
        case FormatArg::Kind::Unsigned:
            address = pArg->GetUnsigned();
            return true;
        default:
            return false;
        }
    }

private:
    const FormatArg* Next() { return m_nNext < m_nArgs ? &m_pArgs[m_nNext++] : nullptr; }
    bool ReadIntegerArg(IntegerValue& value)
    {
        const FormatArg* pArg = Next();
        if (pArg == nullptr)
            return false;
        switch (pArg->GetKind())
        {
        case FormatArg::Kind::Signed:
        case FormatArg::Kind::Unsigned:
            value.raw = pArg->GetUnsigned();
            value.nBits = pArg->GetBits();
            return true;
        case FormatArg::Kind::Pointer:
            value.raw = reinterpret_cast<uintptr_t>(pArg->GetPointer());
            value.nBits = kPointerBits;
            return true;
        default:
            return false;
        }
    }

    const FormatArg* m_pArgs;
    int m_nArgs;
    int m_nNext = 0;
};

template <class Source> bool ResolveStars(Spec& spec, Source& source)
{
    if (spec.bWidthStar)
    {
        int nWidth = 0;
        if (!source.ReadInt(nWidth))
            return false;
        spec.bLeft = spec.bLeft || nWidth < 0;
        spec.nWidth = ClampField(nWidth < 0 ? -static_cast<long long>(nWidth) : nWidth);
    }
    if (spec.bPrecisionStar)
    {
        int nPrecision = 0;
        if (!source.ReadInt(nPrecision))
            return false;
        spec.nPrecision = nPrecision < 0 ? -1 : ClampField(nPrecision);
    }
    return true;
}

// Writes one conversion; false when it has no usable argument (the caller then copies it as it stands).
template <class Source> bool EmitConversion(WideString& out, Spec& spec, Source& source)
{
    const Category category = Classify(spec.conversion);
    if (category == Category::Unknown)
        return false;
    if (category == Category::Percent)
    {
        out.push_back('%');
        return true;
    }
    if (!ResolveStars(spec, source))
        return false;
    IntegerValue integer;
    double floating = 0;
    TextValue text;
    uint64_t value = 0;
    switch (category)
    {
    case Category::Signed:
    case Category::Unsigned:
        if (!source.ReadInteger(spec, integer))
            return false;
        EmitInteger(out, spec, integer, category == Category::Signed);
        return true;
    case Category::Floating:
        if (!source.ReadFloating(spec, floating))
            return false;
        EmitFloating(out, spec, floating);
        return true;
    case Category::Character:
        if (!source.ReadCharacter(value))
            return false;
        EmitCharacter(out, spec, value);
        return true;
    case Category::Text:
        if (!source.ReadText(spec, text))
            return false;
        EmitText(out, spec, text);
        return true;
    default:
        if (!source.ReadPointer(value))
            return false;
        EmitPointer(out, spec, value);
        return true;
    }
}

template <class Source> void Format(WideString& out, LPCWSTR pszFormat, Source& source)
{
    const WCHAR* p = pszFormat;
    while (p != nullptr && *p != 0)
    {
        if (*p != '%')
        {
            const WCHAR* pStart = p;
            while (*p != 0 && *p != '%')
                ++p;
            out.append(pStart, p);
            continue;
        }
        Spec spec;
        const WCHAR* pEnd = ParseSpec(p + 1, spec);
        if (pEnd == nullptr)
        {
            out.append(p);
            return;
        }
        if (!EmitConversion(out, spec, source))
            out.append(p, pEnd);
        p = pEnd;
    }
}
} // namespace

void AppendFormatted(WideString& out, LPCWSTR pszFormat, const FormatArg* pArgs, int nArgs)
{
    PackedSource source(pArgs, nArgs);
    Format(out, pszFormat, source);
}

void AppendFormattedV(WideString& out, LPCWSTR pszFormat, va_list args)
{
    VaListSource source(args);
    Format(out, pszFormat, source);
}
} // namespace mapipim
