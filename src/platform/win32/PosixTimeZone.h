// A zone from a POSIX TZ rule ("CET-1CEST,M3.5.0,M10.5.0/3", "JST-9"), for a TZ that names no zone of the IANA
// database. The C library accepts such rules; without this the process would silently run on UTC.
#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <optional>
#include <string>

U_NAMESPACE_BEGIN
class BasicTimeZone;
U_NAMESPACE_END

namespace mapipim::win32
{
struct PosixTimeZone
{
    std::unique_ptr<icu::BasicTimeZone> zone; // its identifier is the rule itself
    std::u16string standardName;              // the abbreviations, "CET" and "CEST"
    std::u16string daylightName;
};

// Empty when `rule` is not a POSIX rule that ICU can represent.
std::optional<PosixTimeZone> ParsePosixTimeZone(const std::string& rule);
} // namespace mapipim::win32
