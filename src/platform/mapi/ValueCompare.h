// Ordering of property values, for sorted tables and the relational restrictions: numbers by value, times by
// instant, strings ignoring case, binaries byte by byte and then by length.
#pragma once

#include "platform/mapi/PropValue.h"

namespace mapisvc
{
// <0, 0 or >0; values of different types compare as equal (no order between them).
int CompareValues(const Prop& a, const Prop& b);
// Whether a comparison result satisfies a relational operator (RELOP_LT ... RELOP_NE).
bool SatisfiesRelop(int comparison, ULONG relop);
// The value a string or multi-valued string has as UTF-16 text.
std::u16string StringOf(std::string_view data, ULONG type);
} // namespace mapisvc
