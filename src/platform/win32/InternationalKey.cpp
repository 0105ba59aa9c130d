#include "platform/win32/InternationalKey.h"

#include "platform/win32/IcuText.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>

#include <cstdlib>

namespace mapipim::win32
{
namespace
{
// ICU counts Sunday = 1 ... Saturday = 7; Windows Monday = 0 ... Sunday = 6.
char16_t WindowsDayDigit(UCalendarDaysOfWeek icuDay)
{
    return static_cast<char16_t>(u'0' + (static_cast<int>(icuDay) + 5) % 7);
}

std::optional<std::u16string> FirstDayOfWeekText()
{
    if (const char* overridden = std::getenv("MAPIPIM_FIRST_DAY"))
    {
        if (*overridden == '\0')
            return std::nullopt;
        return ToU16String(icu::UnicodeString::fromUTF8(overridden));
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status))
        return std::u16string(1, WindowsDayDigit(UCAL_MONDAY));
    return std::u16string(1, WindowsDayDigit(calendar->getFirstDayOfWeek(status)));
}

class InternationalKey : public RegistryKey
{
public:
    std::optional<RegistryValue> Value(std::u16string_view name) const override
    {
        if (CompareNoCase(name, u"iFirstDayOfWeek") != 0)
            return std::nullopt;
        const std::optional<std::u16string> text = FirstDayOfWeekText();
        return text ? std::optional<RegistryValue>(StringValue(*text)) : std::nullopt;
    }
};
} // namespace

std::shared_ptr<const RegistryKey> MakeInternationalKey()
{
    return std::make_shared<const InternationalKey>();
}
} // namespace mapipim::win32
