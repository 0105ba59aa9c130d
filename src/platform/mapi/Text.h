// Text conversions of the service: UTF-16 (MAPI's Unicode strings), 8-bit text in the ANSI code page (MAPI's
// PT_STRING8 strings and the arguments of calls made without MAPI_UNICODE), UTF-8 (how the service's databases
// keep names), and comparison ignoring case.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>

namespace mapisvc
{
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view text);

// A string argument of a MAPI call: UTF-16 when the call's flags carry MAPI_UNICODE, else 8-bit ANSI text.
std::u16string ArgumentText(const void* lpsz, ULONG ulFlags);

std::u16string FoldCase(std::u16string_view text);
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b);
bool EqualIgnoreCase(std::u16string_view a, std::u16string_view b);

// The stored bytes of a PT_UNICODE value (UTF-16 code units) and back.
std::u16string BytesToUtf16(std::string_view bytes);
std::string Utf16ToBytes(std::u16string_view text);
} // namespace mapisvc
