// UTF-8 <-> UTF-16, done here rather than through a code-page service so that it behaves the same on every build.
// Malformed input never fails: each broken sequence or unpaired surrogate becomes U+FFFD.
#pragma once

#include "platform/afx/WideString.h"

#include <cstddef>
#include <string>

namespace mapipim
{
void AppendUtf8AsUtf16(const char* pText, size_t nBytes, WideString& out);
void AppendUtf16AsUtf8(const WCHAR* pText, size_t nUnits, std::string& out);
// The number of UTF-8 bytes that AppendUtf16AsUtf8 would produce.
size_t Utf8Length(const WCHAR* pText, size_t nUnits);
} // namespace mapipim
