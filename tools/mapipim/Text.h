// UTF-8 on the command line, in files and in JSON; UTF-16 in the library. Every conversion between the two goes
// through here (CString's own UTF-8 helpers underneath).
#pragma once

#include <mapipim/platform.h>

#include <string>

namespace cli
{
std::string Utf8(const CString& text);
std::string Utf8(const std::u16string& text);
CString WideText(const std::string& utf8);
std::u16string Utf16(const std::string& utf8);
} // namespace cli
