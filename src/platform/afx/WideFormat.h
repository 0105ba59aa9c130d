// The printf-style formatter behind CString::Format and LOGTRACE: UTF-16 format, UTF-16 output, Windows' reading
// of the conversions (%s is WCHAR text, %hs and %S 8-bit text, %ld a 32-bit long, %I64d a 64-bit value).
//
// Conversions: c C s S d i u x X o p f F e E g G a A and %%, with the flags "-+ 0#", widths, precisions and "*".
// A conversion the formatter does not know (%n among them) is copied as it stands and consumes no argument.
#pragma once

#include "platform/afx/WideString.h"

#include <mapipim/afx/FormatArg.h>

#include <cstdarg>

namespace mapipim
{
// Arguments captured with their types: a conversion without a matching argument (missing, or of an unusable
// kind) is copied as it stands. Integers print at the width they were passed with unless h or hh narrows them.
void AppendFormatted(WideString& out, LPCWSTR pszFormat, const FormatArg* pArgs, int nArgs);

// Arguments read from a va_list by the sizes the conversions name, exactly as printf would read them.
void AppendFormattedV(WideString& out, LPCWSTR pszFormat, va_list args);
} // namespace mapipim
