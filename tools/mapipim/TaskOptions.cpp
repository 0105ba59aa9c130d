#include "TaskOptions.h"

#include "DateText.h"
#include "Failure.h"
#include "NoteOptions.h"
#include "OptionChecks.h"
#include "TaskText.h"
#include "Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace cli
{
namespace
{
const int kNotStarted = 0;
const int kInProgress = 1;
const int kComplete = 2;

// A name of the list, or its position as a number.
int ValueOf(const std::vector<std::string>& names, const std::string& text)
{
    const auto found = std::find(names.begin(), names.end(), text);
    return found != names.end() ? static_cast<int>(found - names.begin()) : std::stoi(text);
}

CLI::Validator NameValidator(const std::vector<std::string>& names, const std::string& what)
{
    return CLI::Validator(
        [names, what](std::string& text)
        {
            if (std::find(names.begin(), names.end(), text) != names.end() ||
                (text.size() == 1 && text[0] >= '0' && text[0] < static_cast<char>('0' + names.size())))
                return std::string();
            std::string expected;
            for (const std::string& name : names)
                expected += (expected.empty() ? "" : ", ") + name;
            return "'" + text + "' is no " + what + ": expected " + expected + " or 0 to " +
                   std::to_string(names.size() - 1);
        },
        "NAME");
}

bool ParsePercent(const std::string& text, double& dPercent)
{
    char* end = nullptr;
    dPercent = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(dPercent) && dPercent >= 0.0 &&
           dPercent <= 100.0;
}

const CLI::Validator kPercentValidator(
    [](std::string& text)
    {
        double dPercent = 0.0;
        return ParsePercent(text, dPercent) ? std::string() : "'" + text + "' is no percentage: expected 0 to 100";
    },
    "PERCENT");

// A before b, as calendar times to the second.
bool IsBefore(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    const auto key = [](const SYSTEMTIME& t)
    { return std::make_tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond); };
    return key(a) < key(b);
}

SYSTEMTIME Now()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    return now;
}
} // namespace

void TaskOptions::AddTo(CLI::App& command, bool bEditing)
{
    const std::string group = "Task fields";
    const auto text = [&](Given& given, const char* name, const char* help)
    { given.option = command.add_option(name, given.value, help)->group(group); };
    const auto date = [&](Given& given, const char* name, const char* help)
    { given.option = command.add_option(name, given.value, help)->check(kDateValidator)->group(group); };
    text(m_subject, "--subject", "Subject");
    text(m_notes, "--notes", "Notes (the task's body)");
    text(m_owner, "--owner", "The task owner's name");
    date(m_start, "--start", "Start date (empty: none)");
    date(m_due, "--due", "Due date (empty: none)");
    date(m_reminder, "--reminder", "Date and time of the reminder (empty: no reminder)");
    m_status.option =
        command.add_option("--status", m_status.value, "not-started, in-progress, complete, waiting or deferred")
            ->check(NameValidator(TaskStatusNames(), "task status"))
            ->group(group);
    m_percent.option = command.add_option("--percent", m_percent.value, "Percent complete, 0 to 100")
                           ->check(kPercentValidator)
                           ->group(group);
    m_priority.option = command.add_option("--priority", m_priority.value, "low, normal or high")
                            ->check(NameValidator(PriorityNames(), "priority"))
                            ->group(group);
    m_sensitivity.option =
        command.add_option("--sensitivity", m_sensitivity.value, "none, personal, private or confidential")
            ->check(kSensitivityValidator)
            ->group(group);
    text(m_category, "--category", "Categories, separated by ',' or ';'");
    AddAttachOption(command, m_attachments);
    m_recurrence.AddTo(command, bEditing);
}

bool TaskOptions::AnyGiven() const
{
    for (const Given* given : {&m_subject, &m_notes, &m_owner, &m_category, &m_start, &m_due, &m_reminder, &m_status,
                               &m_percent, &m_priority, &m_sensitivity})
        if (given->IsGiven())
            return true;
    return !m_attachments.empty() || m_recurrence.AnyGiven();
}

void TaskOptions::ApplyTo(CMAPITodoInfo& task, bool) const
{
    if (m_status.IsGiven() && m_percent.IsGiven())
    {
        double dPercent = 0.0;
        ParsePercent(m_percent.value, dPercent);
        if ((ValueOf(TaskStatusNames(), m_status.value) == kComplete) != (dPercent == 100.0))
            throw UsageFailure("--status " + m_status.value + " and --percent " + m_percent.value +
                               " contradict each other: a task is complete exactly at 100 percent");
    }
    const std::string attachments = JoinedAttachmentPaths(m_attachments);

    if (m_subject.IsGiven())
        task.strSubject = WideText(m_subject.value);
    if (m_notes.IsGiven())
        task.strContents = WideText(WindowsLineBreaks(m_notes.value));
    if (m_owner.IsGiven())
        task.strOwner = WideText(m_owner.value);
    if (m_category.IsGiven())
        task.strLabel = WideText(m_category.value);
    if (m_start.IsGiven())
        ParseDateText(m_start.value, task.tmStartTime);
    if (m_due.IsGiven())
        ParseDateText(m_due.value, task.tmEndTime);
    if (task.tmStartTime.wYear != 0 && task.tmEndTime.wYear != 0 && IsBefore(task.tmEndTime, task.tmStartTime))
        throw UsageFailure("the due date " + DateText(task.tmEndTime) + " lies before the start date " +
                           DateText(task.tmStartTime));
    if (m_reminder.IsGiven())
    {
        ParseDateText(m_reminder.value, task.tmAlarmTime);
        task.bAlarmSet = task.tmAlarmTime.wYear != 0 ? 1 : 0;
    }
    if (m_priority.IsGiven())
        task.nPriority = ValueOf(PriorityNames(), m_priority.value);
    if (m_sensitivity.IsGiven())
        task.nSensitivity = SensitivityOf(m_sensitivity.value);
    ApplyProgress(task);
    ApplyRecurrence(task);
    // Attachments already on the task stay (the names read back are no paths); the paths listed are added.
    if (!m_attachments.empty())
        task.strAttachFile = WideText(attachments);
}

void TaskOptions::ApplyRecurrence(CMAPITodoInfo& task) const
{
    const SYSTEMTIME& tmFirst = task.tmStartTime.wYear != 0 ? task.tmStartTime : task.tmEndTime;
    if (m_recurrence.Repeats() && tmFirst.wYear == 0)
        throw UsageFailure("a repeating task needs --start or --due: its series begins on that date");
    if (m_recurrence.AnyGiven() || tmFirst.wYear != 0)
        m_recurrence.ApplyTo(task.bRecurSet, task.lprcRecurring, tmFirst, m_start.IsGiven() || m_due.IsGiven());
}

void TaskOptions::ApplyProgress(CMAPITodoInfo& task) const
{
    const bool bWasComplete = task.dCompleteRate == 100.0;
    if (m_percent.IsGiven())
    {
        ParsePercent(m_percent.value, task.dCompleteRate);
        if (!m_status.IsGiven() && task.nStatus == kNotStarted && task.dCompleteRate > 0.0 &&
            task.dCompleteRate < 100.0)
            task.nStatus = kInProgress;
    }
    if (m_status.IsGiven())
    {
        task.nStatus = ValueOf(TaskStatusNames(), m_status.value);
        if (task.nStatus == kComplete)
            task.dCompleteRate = 100.0;
        else if (!m_percent.IsGiven() && (task.nStatus == kNotStarted || task.dCompleteRate == 100.0))
            task.dCompleteRate = 0.0;
    }
    if (task.dCompleteRate == 100.0 && (!bWasComplete || task.tmCompleteTime.wYear == 0))
        task.tmCompleteTime = Now();
}

void TaskOptions::CheckApplied(const CMAPITodoInfo& task) const
{
    CheckAttached(task.strAttachFile, m_attachments);
}
} // namespace cli
