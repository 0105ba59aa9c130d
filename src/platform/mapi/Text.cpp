#include "platform/mapi/Text.h"

#include <cstring>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace mapisvc
{
std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = (lead < 0x80 || lead >= 0xC2) && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k)
        {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // An overlong form, a surrogate or a value past U+10FFFF is no character: no lone surrogate may reach a
        // caller, nor a pair made up from bits that were never a code point.
        static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= kLeast[length] && c <= 0x10FFFF && (c < 0xD800 || c >= 0xE000);
        if (!valid)
        {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000)
        {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        else
            out += static_cast<char16_t>(c);
        i += length;
    }
    return out;
}

std::string ToAnsi(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    const int cch = static_cast<int>(text.size());
    const int cb = WideCharToMultiByte(CP_ACP, 0, text.data(), cch, nullptr, 0, nullptr, nullptr);
    if (cb <= 0)
        return std::string();
    std::string out(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), cch, &out[0], cb, nullptr, nullptr);
    return out;
}

std::u16string FromAnsi(std::string_view text)
{
    if (text.empty())
        return std::u16string();
    const int cb = static_cast<int>(text.size());
    const int cch = MultiByteToWideChar(CP_ACP, 0, text.data(), cb, nullptr, 0);
    if (cch <= 0)
        return std::u16string();
    std::u16string out(static_cast<size_t>(cch), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), cb, &out[0], cch);
    return out;
}

std::u16string ArgumentText(const void* lpsz, ULONG ulFlags)
{
    if (!lpsz)
        return std::u16string();
    if (ulFlags & MAPI_UNICODE)
        return std::u16string(static_cast<const char16_t*>(lpsz));
    return FromAnsi(static_cast<const char*>(lpsz));
}

namespace
{
// Folds into `out` as far as it has room; the folded length whether or not it fitted.
int32_t FoldInto(std::u16string& out, std::u16string_view text, UErrorCode& status)
{
    return u_strFoldCase(reinterpret_cast<UChar*>(&out[0]), static_cast<int32_t>(out.size()),
                         reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                         U_FOLD_CASE_DEFAULT, &status);
}
} // namespace

std::u16string FoldCase(std::u16string_view text)
{
    // Full folding can lengthen a text (U+FB03 folds to "ffi"): one that outgrows the room is folded again with
    // the length ICU reports, never handed back unfolded.
    std::u16string out(text.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = FoldInto(out, text, status);
    if (status == U_BUFFER_OVERFLOW_ERROR)
    {
        out.resize(static_cast<size_t>(length));
        status = U_ZERO_ERROR;
        length = FoldInto(out, text, status);
    }
    if (U_FAILURE(status))
        return std::u16string(text);
    out.resize(static_cast<size_t>(length));
    return out;
}

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    int result = u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                                  reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                                  U_FOLD_CASE_DEFAULT, &status);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

bool EqualIgnoreCase(std::u16string_view a, std::u16string_view b)
{
    return CompareIgnoreCase(a, b) == 0;
}

std::u16string BytesToUtf16(std::string_view bytes)
{
    std::u16string out(bytes.size() / 2, u'\0');
    if (!out.empty())
        std::memcpy(&out[0], bytes.data(), out.size() * 2);
    return out;
}

std::string Utf16ToBytes(std::u16string_view text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}
} // namespace mapisvc
