// The service's text conversions over random stored bytes: names as its databases keep them (UTF-8) and
// PT_UNICODE values (UTF-16 code units). Valid UTF-8 reads as the code-page conversion reads it and writes back
// to the same bytes; invalid UTF-8 reads as well-formed UTF-16, so that no lone surrogate reaches a caller;
// well-formed UTF-16 goes to UTF-8 and back unchanged.
//
// Input: the bytes, read both as UTF-8 and as UTF-16 units.
#include "FuzzSupport.h"

#include "platform/mapi/Text.h"

using namespace mapisvc;

namespace
{
bool IsWellFormed(const std::u16string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] >= 0xDC00 && text[i] < 0xE000)
            return false;
        if (text[i] >= 0xD800 && text[i] < 0xDC00)
        {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] >= 0xE000)
                return false;
            ++i;
        }
    }
    return true;
}

// The code page's reading of valid UTF-8; false for invalid bytes.
bool ReadStrictUtf8(const std::string& bytes, std::u16string& text)
{
    text.clear();
    if (bytes.empty())
        return true;
    const int size = static_cast<int>(bytes.size());
    const int cch = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (cch <= 0)
        return false;
    text.resize(static_cast<size_t>(cch));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], cch) == cch;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string read = FromUtf8(bytes);
    FUZZ_CHECK(IsWellFormed(read));
    std::u16string strict;
    if (ReadStrictUtf8(bytes, strict))
    {
        FUZZ_CHECK(read == strict);
        FUZZ_CHECK(ToUtf8(read) == bytes);
    }
    const std::u16string units = BytesToUtf16(bytes);
    FUZZ_CHECK(Utf16ToBytes(units) == bytes.substr(0, units.size() * 2));
    if (IsWellFormed(units))
        FUZZ_CHECK(FromUtf8(ToUtf8(units)) == units);
    return 0;
}
