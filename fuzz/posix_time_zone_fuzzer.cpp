// ParsePosixTimeZone over random TZ rules (TZ may name a rule instead of a zone): any text is refused or gives a
// zone that answers offsets for any date, with non-empty abbreviations.
//
// Input: the rule's text.
#include "FuzzSupport.h"

#include "platform/win32/PosixTimeZone.h"

#include <unicode/basictz.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string rule(reinterpret_cast<const char*>(data), size);
    const std::optional<mapipim::win32::PosixTimeZone> zone = mapipim::win32::ParsePosixTimeZone(rule);
    if (!zone)
        return 0;
    FUZZ_CHECK(zone->zone != nullptr && !zone->standardName.empty() && !zone->daylightName.empty());
    // Dates across a year and far off, in ICU's milliseconds since 1970.
    const UDate kDay = 86400000.0;
    for (UDate date : {0.0, 40 * kDay, 100 * kDay, 200 * kDay, 300 * kDay, 19000 * kDay, -50000 * kDay})
    {
        int32_t raw = 0, daylight = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone->zone->getOffset(date, false, raw, daylight, status);
        zone->zone->inDaylightTime(date, status);
    }
    return 0;
}
