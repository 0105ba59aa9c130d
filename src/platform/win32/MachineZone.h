// The machine's time zone on Linux: the process's zone (TZ, else /etc/localtime) as ICU knows it, with its
// Windows key. Read once and kept until TZ changes or ResetMachineZone is called; ICU's default zone follows it.
#pragma once

#include <unicode/uversion.h>

#include "platform/win32/PosixTimeZone.h"
#include "platform/win32/ZoneRule.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

U_NAMESPACE_BEGIN
class BasicTimeZone;
U_NAMESPACE_END

namespace mapipim::win32
{
class MachineZone
{
public:
    // The zone as it is now; the snapshot stays valid while held, even if the zone is re-read meanwhile.
    static std::shared_ptr<const MachineZone> Current();

    // A zone of the IANA database, named after its Windows zone where ICU maps it to one.
    explicit MachineZone(std::unique_ptr<icu::BasicTimeZone> zone);
    // A POSIX TZ rule: named by its own abbreviations, and no Windows zone, whose rule could differ from it.
    explicit MachineZone(PosixTimeZone rule);
    ~MachineZone();

    const icu::BasicTimeZone& Zone() const { return *m_zone; }
    // Empty when ICU maps the zone to no Windows zone.
    const std::u16string& WindowsKey() const { return m_windowsKey; }
    const std::u16string& StandardName() const { return m_standardName; }
    const std::u16string& DaylightName() const { return m_daylightName; }

    ZoneRule RuleForYear(int year) const;

    // The zone's full history applies. A local time skipped when the clocks go forward, or repeated when they go
    // back, is read as daylight time (the offset after a gap, before an overlap), as Windows reads it with its
    // yearly rule; so a repeated local time converts to the first of its two moments and back to itself.
    int64_t LocalFromUtc(int64_t utcTicks) const;
    int64_t UtcFromLocal(int64_t localTicks) const;

private:
    std::unique_ptr<icu::BasicTimeZone> m_zone;
    std::u16string m_windowsKey;
    std::u16string m_standardName;
    std::u16string m_daylightName;
    mutable std::mutex m_ruleMutex;
    mutable int m_ruleYear = 0;
    mutable ZoneRule m_rule;
};

// Forgets the zone read so far: the next call reads TZ and /etc/localtime again (tests call it after changing
// TZ, a long-running host after the machine's zone changed).
void ResetMachineZone();
} // namespace mapipim::win32
