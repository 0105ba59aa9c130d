// The options of "calendar add" and "calendar edit": the fields of the appointment, its zone, its recurrence
// (RecurrenceOptions) and its attachments. Times on the command line are the machine's local time, as the records
// carry them; --zone names the time zone the appointment is kept in (its time-zone properties), by its Windows
// key. Only the options given change the record, so "edit" reads the appointment, applies them and writes it back.
#pragma once

#include "RecurrenceOptions.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli
{
class ScheduleOptions
{
public:
    // bEditing adds the options that undo a setting (--no-reminder, --timed, --no-repeat).
    void AddTo(CLI::App& command, bool bEditing);

    bool AnyGiven() const;
    bool StartGiven() const { return m_start.IsGiven(); }

    // Checks every value and file, then changes the record. Throws UsageFailure for values that cannot make an
    // appointment (an end before the start, an unknown zone key, a recurrence that contradicts itself) and Failure
    // for a file that cannot be attached, before the record is touched.
    void ApplyTo(CMAPIScheduleInfo& schedule) const;

    // The library saves an appointment whose attachment could not be added, tracing only; this compares the
    // appointment as read back and throws Failure naming what is missing.
    void CheckApplied(const CMAPIScheduleInfo& schedule) const;

private:
    struct Given
    {
        CLI::Option* option = nullptr;
        std::string value;
        bool IsGiven() const { return option && option->count() > 0; }
    };

    void ApplyTimes(CMAPIScheduleInfo& schedule) const;
    void ApplyRecurrence(CMAPIScheduleInfo& schedule) const;

    Given m_subject;
    Given m_location;
    Given m_notes;
    Given m_start;
    Given m_end;
    bool m_bAllDay = false;
    bool m_bTimed = false;
    Given m_busy;
    Given m_reminder;
    bool m_bNoReminder = false;
    Given m_zone;
    Given m_sensitivity;
    std::vector<std::string> m_categories;
    std::vector<std::string> m_attachments;
    RecurrenceOptions m_recurrence;
};

// The busy status by name: free, tentative, busy, away (0 to 3).
std::string BusyName(int nSign);
} // namespace cli
