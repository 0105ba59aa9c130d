#include "platform/win32/WindowsZones.h"

#include "platform/win32/IcuText.h"

#include <mapipim/win32/wintypes.h>

#include <unicode/basictz.h>
#include <unicode/locid.h>
#include <unicode/tznames.h>
#include <unicode/ures.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace mapipim::win32
{
namespace
{
struct ResourceCloser
{
    void operator()(UResourceBundle* bundle) const { ures_close(bundle); }
};
using Resource = std::unique_ptr<UResourceBundle, ResourceCloser>;

// ICU's windowsZones table: each Windows key maps territories to IANA zones; "001" is the zone that stands for
// the key as a whole.
std::vector<WindowsZone> LoadWindowsZones()
{
    std::vector<WindowsZone> zones;
    UErrorCode status = U_ZERO_ERROR;
    Resource bundle(ures_openDirect(nullptr, "windowsZones", &status));
    Resource map(ures_getByKey(bundle.get(), "mapTimezones", nullptr, &status));
    if (U_FAILURE(status))
        return zones;
    while (ures_hasNext(map.get()))
    {
        UErrorCode entryStatus = U_ZERO_ERROR;
        Resource entry(ures_getNextResource(map.get(), nullptr, &entryStatus));
        int32_t length = 0;
        const UChar* iana = ures_getStringByKey(entry.get(), "001", &length, &entryStatus);
        if (U_FAILURE(entryStatus))
            continue;
        const char* key = ures_getKey(entry.get());
        zones.push_back({std::u16string(key, key + std::char_traits<char>::length(key)), std::u16string(iana, length)});
    }
    std::sort(zones.begin(), zones.end(),
              [](const WindowsZone& a, const WindowsZone& b) { return CompareNoCase(a.key, b.key) < 0; });
    return zones;
}

std::u16string OffsetText(int32_t offsetMilliseconds)
{
    if (offsetMilliseconds == 0)
        return u"(UTC)";
    const int32_t minutes = std::abs(offsetMilliseconds) / 60'000;
    char text[16];
    snprintf(text, sizeof text, "(UTC%c%02d:%02d)", offsetMilliseconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

const icu::TimeZoneNames* EnglishZoneNames()
{
    static std::unique_ptr<icu::TimeZoneNames> names;
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       UErrorCode status = U_ZERO_ERROR;
                       names.reset(icu::TimeZoneNames::createInstance(icu::Locale::getEnglish(), status));
                       if (U_FAILURE(status))
                           names.reset();
                   });
    return names.get();
}
} // namespace

const WindowsZones& WindowsZones::Instance()
{
    static const WindowsZones instance;
    return instance;
}

WindowsZones::WindowsZones() : m_zones(LoadWindowsZones()) {}

const WindowsZone* WindowsZones::Find(std::u16string_view key) const
{
    const auto it =
        std::lower_bound(m_zones.begin(), m_zones.end(), key,
                         [](const WindowsZone& zone, auto name) { return CompareNoCase(zone.key, name) < 0; });
    return it != m_zones.end() && CompareNoCase(it->key, key) == 0 ? &*it : nullptr;
}

std::u16string WindowsKeyForIanaId(const icu::UnicodeString& ianaId)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString key;
    icu::TimeZone::getWindowsID(ianaId, key, status);
    return U_SUCCESS(status) ? ToU16String(key) : std::u16string();
}

std::unique_ptr<icu::BasicTimeZone> CreateBasicTimeZone(const icu::UnicodeString& ianaId)
{
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(ianaId));
    if (auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone.get()))
    {
        zone.release();
        return std::unique_ptr<icu::BasicTimeZone>(basic);
    }
    // Every zone ICU creates from its data is a BasicTimeZone; this is the guard for one that is not.
    return std::unique_ptr<icu::BasicTimeZone>(
        dynamic_cast<icu::BasicTimeZone*>(icu::TimeZone::createTimeZone(UNICODE_STRING_SIMPLE("Etc/UTC"))));
}

std::u16string StandardNameOf(const WindowsZone& zone)
{
    return FitZoneName(zone.key);
}

std::u16string DaylightNameOf(const WindowsZone& zone)
{
    std::u16string name = zone.key;
    const std::u16string standard = u"Standard Time";
    const size_t at = name.find(standard);
    if (at != std::u16string::npos)
        name.replace(at, standard.size(), u"Daylight Time");
    return FitZoneName(name);
}

std::u16string DisplayNameOf(const WindowsZone& zone)
{
    const icu::UnicodeString ianaId = ToUnicodeString(zone.ianaId);
    std::unique_ptr<icu::TimeZone> icuZone(icu::TimeZone::createTimeZone(ianaId));
    icu::UnicodeString city;
    if (const icu::TimeZoneNames* names = EnglishZoneNames())
        names->getExemplarLocationName(ianaId, city);
    if (city.isEmpty())
        city = ianaId;
    return OffsetText(icuZone->getRawOffset()) + u" " + ToU16String(city);
}
std::u16string FitZoneName(std::u16string name)
{
    constexpr size_t kMaxLength = sizeof(TIME_ZONE_INFORMATION::StandardName) / sizeof(WCHAR) - 1;
    if (name.size() > kMaxLength)
        name.resize(kMaxLength);
    return name;
}
} // namespace mapipim::win32
