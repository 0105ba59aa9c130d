#include "Text.h"

namespace cli
{
std::string Utf8(const CString& text)
{
    return text.ToUtf8();
}

std::string Utf8(const std::u16string& text)
{
    return CString(reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size())).ToUtf8();
}

CString WideText(const std::string& utf8)
{
    return CString::FromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}

std::u16string Utf16(const std::string& utf8)
{
    const CString text = WideText(utf8);
    return std::u16string(reinterpret_cast<const char16_t*>(text.GetString()), static_cast<size_t>(text.GetLength()));
}
} // namespace cli
