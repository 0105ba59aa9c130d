// Code-page conversion with Windows' calling conventions: size queries, -1 for terminated input (the terminator
// is converted and counted), 0 with ERROR_INSUFFICIENT_BUFFER when the output does not fit, and the default
// character for what the code page cannot represent.
#include "platform/platform.h"

#include "platform/win32/CodePageConverter.h"

#include <unicode/ucnv_cb.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

using namespace mapipim::win32;

namespace
{
constexpr UINT kDefaultAnsiCodePage = 1252;
constexpr DWORD kMultiByteFlags = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
constexpr DWORD kWideCharFlags = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
constexpr UChar kReplacementCharacter = 0xFFFD;
const char kUtf8Replacement[] = "\xEF\xBF\xBD";

struct Outcome
{
    int count;
    DWORD error;
};

int Fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

// Bytes that are no character of the code page become U+FFFD, as Windows does for UTF-8.
void ReplaceInvalidBytes(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                         UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *status = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacementCharacter, 1, 0, status);
}

struct DefaultCharacter
{
    const char* bytes;
    int32_t length;
    bool used;
};

void WriteDefaultCharacter(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                           UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    auto* character = static_cast<DefaultCharacter*>(const_cast<void*>(context));
    character->used = true;
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, character->bytes, character->length, 0, status);
}

// One streaming conversion of the whole input: into the caller's buffer, or, when its capacity is 0 (a size
// query), through a scratch buffer that only counts.
template <typename Unit, typename Step> Outcome Convert(Unit* output, int capacity, Step step)
{
    Unit scratch[512];
    const bool counting = capacity == 0;
    int64_t total = 0;
    for (;;)
    {
        Unit* begin = counting ? scratch : output;
        Unit* target = begin;
        UErrorCode status = U_ZERO_ERROR;
        step(&target, counting ? scratch + 512 : output + capacity, &status);
        total += target - begin;
        if (total > INT_MAX)
            return {0, ERROR_INVALID_PARAMETER};
        if (status == U_BUFFER_OVERFLOW_ERROR && counting)
            continue;
        if (status == U_BUFFER_OVERFLOW_ERROR)
            return {0, ERROR_INSUFFICIENT_BUFFER};
        if (U_FAILURE(status))
            return {0, ERROR_NO_UNICODE_TRANSLATION};
        return {static_cast<int>(total), ERROR_SUCCESS};
    }
}

int Finish(const Outcome& outcome)
{
    if (outcome.error != ERROR_SUCCESS)
        return Fail(outcome.error);
    return outcome.count;
}

// The default character is the first character of lpDefaultChar: two bytes when it begins with a lead byte.
DefaultCharacter DefaultCharacterFor(const CodePageConverter& converter, LPCSTR lpDefaultChar)
{
    if (converter.CodePage() == CP_UTF8)
        return {kUtf8Replacement, 3, false};
    if (!lpDefaultChar)
        return {"?", 1, false};
    const bool twoBytes = converter.IsLeadByte(static_cast<BYTE>(lpDefaultChar[0])) && lpDefaultChar[1] != 0;
    return {lpDefaultChar, twoBytes ? 2 : 1, false};
}

std::optional<UINT> CodePageFromEnvironment()
{
    const char* text = std::getenv("MAPIPIM_ACP");
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<UINT>(value);
}
} // namespace

UINT GetACP()
{
    const std::optional<UINT> configured = CodePageFromEnvironment();
    if (configured && CodePageConverter::ForThisThread(*configured))
        return *configured;
    return kDefaultAnsiCodePage;
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar)
{
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 || (!lpWideCharStr && cchWideChar))
        return Fail(ERROR_INVALID_PARAMETER);
    CodePageConverter* converter = CodePageConverter::ForThisThread(ResolveCodePage(CodePage));
    if (!converter)
        return Fail(ERROR_INVALID_PARAMETER);
    if (dwFlags & ~(converter->IsUnicode() ? DWORD{MB_ERR_INVALID_CHARS} : kMultiByteFlags))
        return Fail(ERROR_INVALID_FLAGS);

    UConverter* icu = converter->Get();
    ucnv_resetToUnicode(icu);
    UErrorCode status = U_ZERO_ERROR;
    if (dwFlags & MB_ERR_INVALID_CHARS)
        ucnv_setToUCallBack(icu, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    else
        ucnv_setToUCallBack(icu, ReplaceInvalidBytes, nullptr, nullptr, nullptr, &status);

    const size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const char* source = lpMultiByteStr;
    const char* sourceLimit = lpMultiByteStr + length;
    return Finish(Convert(lpWideCharStr, cchWideChar,
                          [&](UChar** target, UChar* limit, UErrorCode* stepStatus)
                          { ucnv_toUnicode(icu, target, limit, &source, sourceLimit, nullptr, true, stepStatus); }));
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 || (!lpMultiByteStr && cbMultiByte))
        return Fail(ERROR_INVALID_PARAMETER);
    CodePageConverter* converter = CodePageConverter::ForThisThread(ResolveCodePage(CodePage));
    if (!converter)
        return Fail(ERROR_INVALID_PARAMETER);
    // UTF-8 has no default character: what it cannot encode (a lone surrogate) becomes U+FFFD.
    if (converter->IsUnicode() && (lpDefaultChar || lpUsedDefaultChar))
        return Fail(ERROR_INVALID_PARAMETER);
    if (dwFlags & ~(converter->CodePage() == CP_UTF8 ? DWORD{WC_ERR_INVALID_CHARS}
                    : converter->IsUnicode()         ? DWORD{0}
                                                     : kWideCharFlags))
        return Fail(ERROR_INVALID_FLAGS);

    UConverter* icu = converter->Get();
    ucnv_resetFromUnicode(icu);
    DefaultCharacter defaultCharacter = DefaultCharacterFor(*converter, lpDefaultChar);
    UErrorCode status = U_ZERO_ERROR;
    if (dwFlags & WC_ERR_INVALID_CHARS)
        ucnv_setFromUCallBack(icu, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    else
        ucnv_setFromUCallBack(icu, WriteDefaultCharacter, &defaultCharacter, nullptr, nullptr, &status);

    const size_t length =
        cchWideChar == -1 ? std::char_traits<WCHAR>::length(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    const UChar* source = lpWideCharStr;
    const UChar* sourceLimit = lpWideCharStr + length;
    const Outcome outcome =
        Convert(lpMultiByteStr, cbMultiByte,
                [&](char** target, char* limit, UErrorCode* stepStatus)
                { ucnv_fromUnicode(icu, target, limit, &source, sourceLimit, nullptr, true, stepStatus); });
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = defaultCharacter.used ? TRUE : FALSE;
    return Finish(outcome);
}

BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar)
{
    const CodePageConverter* converter = CodePageConverter::ForThisThread(ResolveCodePage(CodePage));
    if (!converter)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return converter->IsLeadByte(TestChar) ? TRUE : FALSE;
}
