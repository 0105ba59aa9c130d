#include "platform/win32/MachineZone.h"

#include "platform/win32/CivilTime.h"
#include "platform/win32/IcuText.h"
#include "platform/win32/PosixTimeZone.h"
#include "platform/win32/WindowsZones.h"

#include <unicode/basictz.h>

#include <cstdlib>
#include <optional>

namespace mapipim::win32
{
namespace
{
const icu::UnicodeString kUnknownZone = UNICODE_STRING_SIMPLE("Etc/Unknown");
const icu::UnicodeString kUtcZone = UNICODE_STRING_SIMPLE("Etc/UTC");

// TZ as the C library reads it: a leading ':' is dropped, and a file path names the zone by its place under a
// zoneinfo folder.
icu::UnicodeString ZoneIdFromTz(const std::string& tz)
{
    std::string id = tz[0] == ':' ? tz.substr(1) : tz;
    const size_t zoneinfo = id.rfind("zoneinfo/");
    if (zoneinfo != std::string::npos)
        id.erase(0, zoneinfo + 9);
    return icu::UnicodeString::fromUTF8(id);
}

bool IsUnknown(const icu::TimeZone& zone)
{
    icu::UnicodeString id;
    return zone.getID(id) == kUnknownZone;
}

std::unique_ptr<icu::BasicTimeZone> AsBasicTimeZone(std::unique_ptr<icu::TimeZone> zone)
{
    if (auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone.get()))
    {
        zone.release();
        return std::unique_ptr<icu::BasicTimeZone>(basic);
    }
    icu::UnicodeString id;
    return CreateBasicTimeZone(zone->getID(id));
}

// TZ names a zone, or holds a POSIX rule; unset, /etc/localtime decides. The C library reads an empty TZ, and a
// zone it cannot find, as UTC.
std::shared_ptr<const MachineZone> DetectMachineZone(const std::optional<std::string>& tz)
{
    if (tz && tz->empty())
        return std::make_shared<const MachineZone>(CreateBasicTimeZone(kUtcZone));
    if (tz)
    {
        std::unique_ptr<icu::TimeZone> named(icu::TimeZone::createTimeZone(ZoneIdFromTz(*tz)));
        if (!IsUnknown(*named))
            return std::make_shared<const MachineZone>(AsBasicTimeZone(std::move(named)));
        if (std::optional<PosixTimeZone> rule = ParsePosixTimeZone(*tz))
            return std::make_shared<const MachineZone>(std::move(*rule));
    }
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    if (!host || IsUnknown(*host))
        return std::make_shared<const MachineZone>(CreateBasicTimeZone(kUtcZone));
    return std::make_shared<const MachineZone>(AsBasicTimeZone(std::move(host)));
}

std::optional<std::string> CurrentTz()
{
    const char* tz = std::getenv("TZ");
    return tz ? std::optional<std::string>(tz) : std::nullopt;
}

struct Cache
{
    std::mutex mutex;
    bool valid = false;
    std::optional<std::string> tz;
    std::shared_ptr<const MachineZone> zone;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

std::shared_ptr<const MachineZone> ReadMachineZone(const std::optional<std::string>& tz)
{
    std::shared_ptr<const MachineZone> zone = DetectMachineZone(tz);
    icu::TimeZone::adoptDefault(zone->Zone().clone());
    return zone;
}
} // namespace

std::shared_ptr<const MachineZone> MachineZone::Current()
{
    Cache& cache = TheCache();
    const std::optional<std::string> tz = CurrentTz();
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (!cache.valid || cache.tz != tz)
    {
        cache.zone = ReadMachineZone(tz);
        cache.tz = tz;
        cache.valid = true;
    }
    return cache.zone;
}

MachineZone::MachineZone(std::unique_ptr<icu::BasicTimeZone> zone) : m_zone(std::move(zone))
{
    icu::UnicodeString id;
    m_zone->getID(id);
    m_windowsKey = WindowsKeyForIanaId(id);
    if (const WindowsZone* windowsZone = WindowsZones::Instance().Find(m_windowsKey))
    {
        m_windowsKey = windowsZone->key;
        m_standardName = StandardNameOf(*windowsZone);
        m_daylightName = DaylightNameOf(*windowsZone);
    }
    else
    {
        m_windowsKey.clear();
        m_standardName = m_daylightName = FitZoneName(ToU16String(id));
    }
}

MachineZone::MachineZone(PosixTimeZone rule)
    : m_zone(std::move(rule.zone)), m_standardName(FitZoneName(std::move(rule.standardName))),
      m_daylightName(FitZoneName(std::move(rule.daylightName)))
{
}

MachineZone::~MachineZone() = default;

ZoneRule MachineZone::RuleForYear(int year) const
{
    std::lock_guard<std::mutex> lock(m_ruleMutex);
    if (m_ruleYear != year)
    {
        m_rule = ZoneRuleForYear(*m_zone, year);
        m_ruleYear = year;
    }
    return m_rule;
}

int64_t MachineZone::LocalFromUtc(int64_t utcTicks) const
{
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    m_zone->getOffset(UDateFromTicks(utcTicks), false, raw, dst, status);
    return utcTicks + static_cast<int64_t>(raw + dst) * kTicksPerMillisecond;
}

int64_t MachineZone::UtcFromLocal(int64_t localTicks) const
{
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    m_zone->getOffsetFromLocal(UDateFromTicks(localTicks), UCAL_TZ_LOCAL_DAYLIGHT_LATTER, UCAL_TZ_LOCAL_DAYLIGHT_FORMER,
                               raw, dst, status);
    return localTicks - static_cast<int64_t>(raw + dst) * kTicksPerMillisecond;
}

void ResetMachineZone()
{
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    cache.valid = false;
    cache.zone.reset();
}
} // namespace mapipim::win32
