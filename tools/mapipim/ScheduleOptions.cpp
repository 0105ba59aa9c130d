#include "ScheduleOptions.h"

#include "DateText.h"
#include "Failure.h"
#include "InputFiles.h"
#include "OptionChecks.h"
#include "Text.h"

#include "items/RecurrenceCalendar.h"

#include <algorithm>

namespace cli
{
namespace
{
const std::vector<std::string> kBusyNames = {"free", "tentative", "busy", "away"};
const DWORD kDefaultMinutes = 30; // an appointment given only its start lasts half an hour, as Outlook makes it
const long kLongestReminder = 4 * 7 * 1440;
const char* const kTimeZonesKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";

SYSTEMTIME ParsedTime(const std::string& text)
{
    SYSTEMTIME time;
    ParseDateText(text, time);
    return time;
}

SYSTEMTIME MinutesLater(const SYSTEMTIME& time, LONG nMinutes)
{
    return mapipim::SystemTimeOfMinutes(static_cast<DWORD>(static_cast<LONG>(mapipim::MinutesOf(time)) + nMinutes));
}

SYSTEMTIME Midnight(const SYSTEMTIME& time)
{
    SYSTEMTIME day = time;
    day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
    return day;
}

bool IsMidnight(const SYSTEMTIME& time)
{
    return time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0;
}

bool IsSet(const SYSTEMTIME& time)
{
    return mapipim::MinutesOf(time) != 0;
}

// Whether the registry knows the Windows time zone of that key, as the library reads it.
bool IsKnownZone(const std::string& key)
{
    if (key.empty() || key.find('\\') != std::string::npos)
        return false;
    HKEY hKey = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideText(kTimeZonesKey + key), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

long Number(const std::string& text, const char* option, long highest)
{
    size_t used = 0;
    long value = -1;
    try
    {
        value = std::stol(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < 0 || value > highest)
        throw UsageFailure(std::string(option) + " takes a whole number from 0 to " + std::to_string(highest) +
                           ", not '" + text + "'");
    return value;
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string joined;
    for (const std::string& part : parts)
        joined += (joined.empty() ? "" : ";") + part;
    return joined;
}
} // namespace

std::string BusyName(int nSign)
{
    return nSign >= 0 && nSign < static_cast<int>(kBusyNames.size()) ? kBusyNames[static_cast<size_t>(nSign)]
                                                                     : std::to_string(nSign);
}

void ScheduleOptions::AddTo(CLI::App& command, bool bEditing)
{
    const char* group = "Appointment fields";
    m_subject.option = command.add_option("--subject", m_subject.value, "Subject")->group(group);
    m_start.option = command.add_option("--start", m_start.value, "Start, local (YYYY-MM-DD[THH:MM])")
                         ->check(kDateValidator)
                         ->group(group);
    m_end.option = command
                       .add_option("--end", m_end.value,
                                   "End, local (default: half an hour after the start; all day: the "
                                   "last day)")
                       ->check(kDateValidator)
                       ->group(group);
    CLI::Option* allDay = command.add_flag("--all-day", m_bAllDay, "An all-day event")->group(group);
    if (bEditing)
        command.add_flag("--timed", m_bTimed, "No longer an all-day event")->group(group)->excludes(allDay);
    m_location.option = command.add_option("--location", m_location.value, "Location")->group(group);
    m_notes.option = command.add_option("--notes", m_notes.value, "Body text")->group(group);
    m_busy.option = command.add_option("--busy", m_busy.value, "free, tentative, busy or away")
                        ->check(CLI::IsMember(kBusyNames))
                        ->group(group);
    m_reminder.option =
        command.add_option("--reminder", m_reminder.value, "Reminder this many minutes before the start")->group(group);
    if (bEditing)
        command.add_flag("--no-reminder", m_bNoReminder, "Remove the reminder")
            ->group(group)
            ->excludes(m_reminder.option);
    m_zone.option = command
                        .add_option("--zone", m_zone.value,
                                    "Windows time-zone key the appointment is kept in (default: the machine's)")
                        ->group(group);
    m_sensitivity.option =
        command.add_option("--sensitivity", m_sensitivity.value, "none, personal, private or confidential")
            ->check(kSensitivityValidator)
            ->group(group);
    command.add_option("--category", m_categories, "Category (repeatable; replaces the appointment's categories)")
        ->allow_extra_args(false)
        ->group(group);
    AddAttachOption(command, m_attachments);
    m_recurrence.AddTo(command, bEditing);
}

bool ScheduleOptions::AnyGiven() const
{
    const Given* options[] = {&m_subject, &m_location, &m_notes, &m_start,      &m_end,
                              &m_busy,    &m_reminder, &m_zone,  &m_sensitivity};
    return std::any_of(std::begin(options), std::end(options), [](const Given* option) { return option->IsGiven(); }) ||
           m_bAllDay || m_bTimed || m_bNoReminder || !m_categories.empty() || !m_attachments.empty() ||
           m_recurrence.AnyGiven();
}

void ScheduleOptions::ApplyTo(CMAPIScheduleInfo& schedule) const
{
    CMAPIScheduleInfo updated = schedule;
    ApplyTimes(updated);
    if (m_zone.IsGiven())
    {
        if (!IsKnownZone(m_zone.value))
            throw UsageFailure("unknown time zone '" + m_zone.value +
                               "': expected a Windows zone key such as 'W. Europe Standard Time'");
        updated.tzStartTime.strKeyName = WideText(m_zone.value);
        updated.tzEndTime.strKeyName = WideText(m_zone.value);
    }
    ApplyRecurrence(updated);
    if (m_reminder.IsGiven())
    {
        updated.bAlarm = 1;
        updated.nAlarmMin = static_cast<int>(Number(m_reminder.value, "--reminder", kLongestReminder));
    }
    if (m_bNoReminder)
        updated.bAlarm = 0;
    if (m_subject.IsGiven())
        updated.strSubject = WideText(m_subject.value);
    if (m_location.IsGiven())
        updated.strLocation = WideText(m_location.value);
    if (m_notes.IsGiven())
        updated.strContents = WideText(m_notes.value);
    if (m_busy.IsGiven())
        updated.nSign =
            static_cast<int>(std::find(kBusyNames.begin(), kBusyNames.end(), m_busy.value) - kBusyNames.begin());
    if (m_sensitivity.IsGiven())
        updated.nSensitivity = SensitivityOf(m_sensitivity.value);
    if (!m_categories.empty())
        updated.strLabel = WideText(Joined(m_categories));
    // Attachments already there stay: the names read back are no paths, so the library keeps them.
    if (!m_attachments.empty())
        updated.strAttachFile = WideText(JoinedAttachmentPaths(m_attachments));
    schedule = updated;
}

// A new start moves the end with it unless the end is given too; an all-day event runs from the midnight of its
// first day to the midnight after its last.
void ScheduleOptions::ApplyTimes(CMAPIScheduleInfo& schedule) const
{
    SYSTEMTIME& tmStart = schedule.tzStartTime.tmDateTime;
    SYSTEMTIME& tmEnd = schedule.tzEndTime.tmDateTime;
    const bool bHadTimes = IsSet(tmStart) && IsSet(tmEnd);
    const LONG nDuration = bHadTimes ? static_cast<LONG>(mapipim::MinutesOf(tmEnd) - mapipim::MinutesOf(tmStart))
                                     : static_cast<LONG>(kDefaultMinutes);
    if (m_start.IsGiven())
        tmStart = ParsedTime(m_start.value);
    if (!IsSet(tmStart))
        throw UsageFailure("give the start of the appointment with --start");
    if (m_end.IsGiven())
        tmEnd = ParsedTime(m_end.value);
    else if (m_start.IsGiven() || !bHadTimes)
        tmEnd = MinutesLater(tmStart, nDuration);
    if (m_bAllDay)
        schedule.bAllday = 1;
    if (m_bTimed)
        schedule.bAllday = 0;
    if (m_bAllDay || (schedule.bAllday && (m_start.IsGiven() || m_end.IsGiven())))
    {
        tmStart = Midnight(tmStart);
        const bool bLastDayGiven = m_end.IsGiven() || !IsMidnight(tmEnd);
        tmEnd = bLastDayGiven ? MinutesLater(Midnight(tmEnd), 1440) : Midnight(tmEnd);
        if (mapipim::MinutesOf(tmEnd) <= mapipim::MinutesOf(tmStart))
            tmEnd = MinutesLater(tmStart, 1440);
    }
    if (mapipim::MinutesOf(tmEnd) < mapipim::MinutesOf(tmStart))
        throw UsageFailure("the end " + DateTimeText(tmEnd) + " lies before the start " + DateTimeText(tmStart));
}

void ScheduleOptions::ApplyRecurrence(CMAPIScheduleInfo& schedule) const
{
    if (m_recurrence.ApplyTo(schedule.bRecurSet, schedule.lprcRecurring, schedule.tzStartTime.tmDateTime,
                             m_start.IsGiven()))
        schedule.strRecurDisplay = WideText(RecurrenceOptions::Describe(*schedule.lprcRecurring));
    else if (m_recurrence.StopsRepeating())
        schedule.strRecurDisplay.Empty();
}

void ScheduleOptions::CheckApplied(const CMAPIScheduleInfo& schedule) const
{
    CheckAttached(schedule.strAttachFile, m_attachments);
}
} // namespace cli
