// The Windows time zones as ICU knows them: every Windows zone key ICU maps to an IANA zone, in the order the
// registry enumerates them, with the texts Windows shows for each.
#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

U_NAMESPACE_BEGIN
class BasicTimeZone;
class UnicodeString;
U_NAMESPACE_END

namespace mapipim::win32
{
struct WindowsZone
{
    std::u16string key;    // "W. Europe Standard Time"
    std::u16string ianaId; // its representative IANA zone, "Europe/Berlin"
};

class WindowsZones
{
public:
    static const WindowsZones& Instance();

    const std::vector<WindowsZone>& All() const { return m_zones; }
    // Case-insensitive, as registry key names are; null when ICU knows no such Windows zone.
    const WindowsZone* Find(std::u16string_view key) const;

private:
    WindowsZones();
    std::vector<WindowsZone> m_zones;
};

// The Windows key of an IANA zone (aliases included); empty when ICU maps it to none.
std::u16string WindowsKeyForIanaId(const icu::UnicodeString& ianaId);

// An ICU zone with transition access; never null (unknown identifiers give ICU's zone at UTC).
std::unique_ptr<icu::BasicTimeZone> CreateBasicTimeZone(const icu::UnicodeString& ianaId);

// The texts of the registry values "Std", "Dlt" and "Display". Windows' own texts are translated resources that ICU
// does not carry: the key name stands for the standard name (Windows uses it for most zones), the daylight name
// follows Windows' pattern, and the display name is the offset followed by the zone's exemplar city.
std::u16string StandardNameOf(const WindowsZone& zone);
std::u16string DaylightNameOf(const WindowsZone& zone);
std::u16string DisplayNameOf(const WindowsZone& zone);

// A zone name cut to the 31 characters a TIME_ZONE_INFORMATION holds, so that a registry text and the name
// GetTimeZoneInformation reports for the same zone stay equal.
std::u16string FitZoneName(std::u16string name);
} // namespace mapipim::win32
