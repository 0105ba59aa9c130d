// strftime-style formatting of calendar fields in the "C" locale, for COleDateTime::Format.
#pragma once

#include "platform/afx/OleDate.h"
#include "platform/afx/WideString.h"

namespace mapipim
{
// Codes: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %%; "#" after "%" drops leading zeros of
// numbers and selects the long forms of %c and %x. Other codes are copied as they stand.
void AppendDateFormatted(WideString& out, LPCWSTR pszFormat, const oledate::Fields& fields);
} // namespace mapipim
