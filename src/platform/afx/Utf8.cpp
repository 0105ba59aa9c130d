#include "platform/afx/Utf8.h"

namespace mapipim
{
namespace
{
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The lowest and highest allowed second byte for a lead byte: this rules out overlong forms, encoded surrogates
// and code points above U+10FFFF in one place.
struct LeadInfo
{
    int nLength;
    unsigned char secondMin;
    unsigned char secondMax;
};

LeadInfo DescribeLead(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Decodes one character at p[i]; advances i past it, or past the maximal broken prefix when it is malformed.
char32_t DecodeUtf8(const unsigned char* p, size_t n, size_t& i)
{
    const unsigned char lead = p[i++];
    if (lead < 0x80)
        return lead;
    const LeadInfo info = DescribeLead(lead);
    if (info.nLength == 0)
        return kReplacement;
    if (i >= n || p[i] < info.secondMin || p[i] > info.secondMax)
        return kReplacement;
    char32_t codePoint = lead & (0x7F >> info.nLength);
    for (int k = 1; k < info.nLength; ++k)
    {
        if (i >= n || !IsContinuation(p[i]))
            return kReplacement;
        codePoint = (codePoint << 6) | (p[i++] & 0x3F);
    }
    return codePoint;
}

void AppendCodePointUtf16(char32_t codePoint, WideString& out)
{
    if (codePoint < 0x10000)
    {
        out.push_back(static_cast<WCHAR>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<WCHAR>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<WCHAR>(0xDC00 + (codePoint & 0x3FF)));
}

// Decodes one character at p[i]; an unpaired surrogate is U+FFFD.
char32_t DecodeUtf16(const WCHAR* p, size_t n, size_t& i)
{
    const char32_t unit = static_cast<char16_t>(p[i++]);
    if (unit < 0xD800 || unit > 0xDFFF)
        return unit;
    if (unit >= 0xDC00 || i >= n)
        return kReplacement;
    const char32_t trail = static_cast<char16_t>(p[i]);
    if (trail < 0xDC00 || trail > 0xDFFF)
        return kReplacement;
    ++i;
    return 0x10000 + ((unit - 0xD800) << 10) + (trail - 0xDC00);
}

int Utf8Size(char32_t codePoint)
{
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

void AppendCodePointUtf8(char32_t codePoint, std::string& out)
{
    const int nSize = Utf8Size(codePoint);
    if (nSize == 1)
    {
        out.push_back(static_cast<char>(codePoint));
        return;
    }
    static const unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char bytes[4];
    for (int k = nSize - 1; k > 0; --k)
    {
        bytes[k] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    bytes[0] = static_cast<char>(kLeadMarks[nSize] | codePoint);
    out.append(bytes, nSize);
}
} // namespace

void AppendUtf8AsUtf16(const char* pText, size_t nBytes, WideString& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(pText);
    out.reserve(out.size() + nBytes);
    for (size_t i = 0; i < nBytes;)
        AppendCodePointUtf16(DecodeUtf8(p, nBytes, i), out);
}

void AppendUtf16AsUtf8(const WCHAR* pText, size_t nUnits, std::string& out)
{
    out.reserve(out.size() + nUnits);
    for (size_t i = 0; i < nUnits;)
        AppendCodePointUtf8(DecodeUtf16(pText, nUnits, i), out);
}

size_t Utf8Length(const WCHAR* pText, size_t nUnits)
{
    size_t nBytes = 0;
    for (size_t i = 0; i < nUnits;)
        nBytes += Utf8Size(DecodeUtf16(pText, nUnits, i));
    return nBytes;
}
} // namespace mapipim
