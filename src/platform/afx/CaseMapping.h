// Letter case beyond ASCII, one UTF-16 code unit for one: the simple case mappings that Windows applies in
// CharLowerBuffW / CharUpperBuffW, so a German sharp s stays one character. ICU serves on Linux, Win32 on Windows.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
void MakeLowerInPlace(WCHAR* pText, int nLength);
void MakeUpperInPlace(WCHAR* pText, int nLength);
// The lower-case form of one code unit, for case-insensitive comparisons; surrogates are returned unchanged.
WCHAR LowerCaseUnit(WCHAR unit);
} // namespace mapipim
