// The values of an Outlook data file as the service keeps them. A data file holds each property value in the
// form of its property context: fixed-size values as they lie in memory (booleans in one byte), 8-bit strings in
// the code page of the machine that wrote them, and multi-valued strings and binaries as a count, a table of
// offsets and the elements. This turns such bytes into the service's stored form (PropValue.h), 8-bit strings
// into UTF-16, so that a store made from an ANSI file reads the same text as one made from a Unicode file.
#pragma once

#include "platform/mapi/PropValue.h"

#include <string_view>

namespace mapisvc::pst
{
// The stored form of a value of `tag` read from a data file, its 8-bit strings converted from `codePage`
// (PT_STRING8 becomes PT_UNICODE). False when the bytes cannot be a value of that type (a fixed-size value of
// another size, offsets beyond the value, a type the service cannot keep); `prop` is then left unchanged.
bool DecodeFileValue(ULONG tag, std::string_view bytes, UINT codePage, Prop& prop);

// UTF-16 text from 8-bit text in `codePage`, falling back to the process's ANSI code page when the code page is
// not one this machine converts. Trailing terminators are dropped.
std::u16string TextFromCodePage(std::string_view bytes, UINT codePage);
} // namespace mapisvc::pst
