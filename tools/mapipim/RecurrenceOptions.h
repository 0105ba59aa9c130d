// The options that make an appointment or a task recur: --repeat daily|weekdays|weekly|monthly|yearly with
// --every N, --on mon,wed (weekly), --day N or --nth N --weekday DAY (monthly and yearly), and one end of
// --until DATE, --count N or --forever (the default). They turn into the CMAPIRecurring that the library writes
// as Outlook's recurrence pattern, starting on the day the item starts.
//
// Every option but --repeat describes the pattern that --repeat makes, so it needs --repeat beside it: a pattern
// is always given whole. "edit" also has --no-repeat, which ends the recurrence.
#pragma once

#include <mapipim/MAPIRecurring.h>

#include <CLI/CLI.hpp>

#include <string>

namespace cli
{
class RecurrenceOptions
{
public:
    // bEditing adds --no-repeat.
    void AddTo(CLI::App& command, bool bEditing);

    // Whether any recurrence option was given (--no-repeat included).
    bool AnyGiven() const;
    bool Repeats() const { return m_repeat.IsGiven(); }
    bool StopsRepeating() const { return m_bNoRepeat; }

    // Throws UsageFailure for options that contradict each other or name no pattern (an option without
    // --repeat, --on with anything but weekly, --count 0, an --until before the start, ...).
    void Check(const SYSTEMTIME& tmStart) const;

    // The pattern the options describe, its range starting on the day of tmStart (local). Check first.
    CMAPIRecurring Pattern(const SYSTEMTIME& tmStart) const;

    // Checks the options against tmStart, then sets or ends a record's pattern (its bRecurSet and the
    // lprcRecurring it owns). Without an option the pattern stays, its range moved to the day of tmStart when
    // bStartMoved. True when the options gave a new pattern.
    bool ApplyTo(int& bRecurSet, CMAPIRecurring*& lprcRecurring, const SYSTEMTIME& tmStart, bool bStartMoved) const;

    // The pattern in words, as Outlook shows it beside a recurring item ("Every 2 weeks on Monday, Wednesday").
    static std::string Describe(const CMAPIRecurring& pattern);

private:
    struct Given
    {
        CLI::Option* option = nullptr;
        std::string value;
        bool IsGiven() const { return option && option->count() > 0; }
    };

    Given m_repeat;
    Given m_every;
    Given m_on;
    Given m_day;
    Given m_nth;
    Given m_weekday;
    Given m_until;
    Given m_count;
    bool m_bForever = false;
    bool m_bNoRepeat = false;
};
} // namespace cli
