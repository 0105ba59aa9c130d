// MultiByteToWideChar and WideCharToMultiByte over random bytes and random UTF-16 in the code pages that 8-bit
// MAPI strings arrive in (932, 936, 949, 950, UTF-8, 1252): a size query gives exactly what the conversion
// then writes, a buffer one unit short fails with ERROR_INSUFFICIENT_BUFFER without a write past it, a terminated
// input converts its terminator, and text that converted without loss converts back to itself.
//
// Input (FuzzedDataProvider): code page and flags, then the bytes (also read as UTF-16 for the reverse call).
#include "FuzzSupport.h"

#include <vector>

namespace
{
// UTF-7 is left out: no 8-bit MAPI string is in UTF-7, and ICU's UTF-7 converter does not follow Windows (a zero
// byte decodes to U+FFFD, U+0000 encodes as "+AAA-", a size query disagrees with the conversion for a truncated
// shift sequence).
const UINT kCodePages[] = {932, 936, 949, 950, CP_UTF8, 1252};

template <typename Unit, typename Call> std::vector<Unit> ConvertChecked(Call call)
{
    const int size = call(nullptr, 0);
    if (size <= 0)
        return {};
    // One unit more than needed, so that a write past the reported size shows.
    std::vector<Unit> buffer(static_cast<size_t>(size) + 1, Unit(0x55));
    FUZZ_CHECK(call(buffer.data(), size) == size);
    FUZZ_CHECK(buffer[static_cast<size_t>(size)] == Unit(0x55));
    if (size > 1)
    {
        std::vector<Unit> shortBuffer(static_cast<size_t>(size) - 1);
        FUZZ_CHECK(call(shortBuffer.data(), size - 1) == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    }
    buffer.resize(static_cast<size_t>(size));
    return buffer;
}

std::vector<WCHAR> ToWide(UINT codePage, DWORD flags, const std::string& bytes, int length)
{
    return ConvertChecked<WCHAR>([&](LPWSTR out, int capacity)
                                 { return MultiByteToWideChar(codePage, flags, bytes.data(), length, out, capacity); });
}

std::vector<char> ToBytes(UINT codePage, const std::u16string& text, int length, BOOL* usedDefault)
{
    return ConvertChecked<char>(
        [&](LPSTR out, int capacity)
        {
            return WideCharToMultiByte(codePage, 0, text.data(), length, out, capacity, nullptr,
                                       codePage == CP_UTF8 ? nullptr : usedDefault);
        });
}

void CheckBytes(UINT codePage, DWORD flags, const std::string& bytes)
{
    if (bytes.empty())
        return;
    const std::vector<WCHAR> wide = ToWide(codePage, flags, bytes, static_cast<int>(bytes.size()));
    // Up to a terminator, which is converted and counted.
    const std::string terminated(bytes.c_str());
    const std::vector<WCHAR> wideTerminated = ToWide(codePage, flags, terminated, -1);
    if (flags == 0)
        FUZZ_CHECK(!wideTerminated.empty() && wideTerminated.back() == 0);
    for (unsigned char byte : bytes)
        IsDBCSLeadByteEx(codePage, byte);
    if (!(flags & MB_ERR_INVALID_CHARS) || wide.empty())
        return;
    // Bytes that are all characters of the code page: their text converts back to the same text.
    const std::u16string text(wide.begin(), wide.end());
    BOOL usedDefault = FALSE;
    const std::vector<char> back = ToBytes(codePage, text, static_cast<int>(text.size()), &usedDefault);
    if (codePage == CP_UTF8)
        FUZZ_CHECK(std::string(back.begin(), back.end()) == bytes);
    if (usedDefault)
        return;
    const std::vector<WCHAR> again =
        ToWide(codePage, 0, std::string(back.begin(), back.end()), static_cast<int>(back.size()));
    FUZZ_CHECK(again == wide);
}

void CheckText(UINT codePage, const std::string& bytes)
{
    const std::u16string text = fuzz::Utf16FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (text.empty())
        return;
    BOOL usedDefault = FALSE;
    ToBytes(codePage, text, static_cast<int>(text.size()), &usedDefault);
    const std::u16string terminated = fuzz::TerminatedText(text);
    const std::vector<char> withTerminator = ToBytes(codePage, terminated, -1, &usedDefault);
    FUZZ_CHECK(!withTerminator.empty() && withTerminator.back() == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const UINT codePage = input.PickValueInArray(kCodePages);
    const DWORD flags = input.ConsumeBool() ? MB_ERR_INVALID_CHARS : 0;
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    CheckBytes(codePage, flags, bytes);
    CheckText(codePage, bytes);
    return 0;
}
