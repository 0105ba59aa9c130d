// GetStringToSBinary over random UTF-16 text, as entry identifiers come back from records and hosts in
// hexadecimal: any text parses into at most one byte per two characters without a fault, ASCII digit pairs parse
// as the C runtime's wcstol(pair, NULL, 16) does, and the hexadecimal text of any bytes parses back to them, with
// or without a "0x" prefix.
//
// Input: UTF-16 units (little-endian) up to the first zero.
#include "FuzzSupport.h"

#include <mapipim/SBinaryUtils.h>

#include <cwchar>

namespace
{
struct OwnedSBinary
{
    SBinary value = {0, nullptr};
    ~OwnedSBinary() { delete[] value.lpb; }
};

bool IsHexPrefixMark(char16_t c)
{
    return c == u'x' || c == u'X';
}

bool IsAscii(const std::u16string& text)
{
    for (char16_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

BYTE RuntimeHexPair(char16_t first, char16_t second)
{
    const wchar_t pair[] = {static_cast<wchar_t>(first), static_cast<wchar_t>(second), 0};
    return static_cast<BYTE>(std::wcstol(pair, nullptr, 16) & 0xFF);
}

void CheckAgainstRuntime(const std::u16string& text, const SBinary& value)
{
    if (!IsAscii(text) || IsHexPrefixMark(text[0]) || (text.size() > 1 && IsHexPrefixMark(text[1])))
        return;
    FUZZ_CHECK(value.cb == text.size() / 2);
    for (ULONG i = 0; i < value.cb; ++i)
        FUZZ_CHECK(value.lpb[i] == RuntimeHexPair(text[2 * i], 2 * i + 1 < text.size() ? text[2 * i + 1] : 0));
}

void CheckParsesBack(const SBinary& value, LPCWSTR szPrefix)
{
    CString hex;
    FUZZ_CHECK(GetSBinaryToString(hex, value));
    FUZZ_CHECK(hex.GetLength() == static_cast<int>(value.cb * 2));
    OwnedSBinary again;
    FUZZ_CHECK(GetStringToSBinary(again.value, CString(szPrefix) + hex));
    FUZZ_CHECK(CompareSBinary(again.value, value));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string text = fuzz::TerminatedText(fuzz::Utf16FromBytes(data, size));
    OwnedSBinary parsed;
    const BOOL ok = GetStringToSBinary(parsed.value, CString(text.c_str()));
    FUZZ_CHECK(ok == !text.empty());
    if (!ok)
        return 0;
    const SBinary& value = parsed.value;
    FUZZ_CHECK(value.cb <= text.size() / 2 && (value.cb == 0) == (value.lpb == nullptr));
    CheckAgainstRuntime(text, value);
    if (value.cb == 0)
        return 0;
    CheckParsesBack(value, _T(""));
    CheckParsesBack(value, _T("0x"));
    return 0;
}
