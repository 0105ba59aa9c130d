// The few bridges between the stand-ins' UTF-16 strings and ICU's. Both are char16_t, so these copy, never convert.
#pragma once

#include <unicode/unistr.h>

#include <string>
#include <string_view>

namespace mapipim::win32
{
inline std::u16string ToU16String(const icu::UnicodeString& text)
{
    return std::u16string(text.getBuffer(), static_cast<size_t>(text.length()));
}

inline icu::UnicodeString ToUnicodeString(std::u16string_view text)
{
    return icu::UnicodeString(text.data(), static_cast<int32_t>(text.size()));
}

// Full case folding, as Windows compares registry names.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
} // namespace mapipim::win32
