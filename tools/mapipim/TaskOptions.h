// The options of "tasks add" and "tasks edit": subject, notes, owner, start and due dates, status and percent
// complete, priority, sensitivity, reminder, categories and attachments. Only the options given change the record.
//
// Status and percentage are kept in step as Outlook keeps them: complete means 100 percent and 100 percent means
// complete (giving both, one contradicting the other, is refused); not started means 0 percent; a task that stops
// being complete drops to 0 percent unless a percentage is given; a not-started task given a percentage between 0
// and 100 is in progress. A task that becomes complete is completed now.
//
// The --repeat options (RecurrenceOptions.h) make a task recur from its start date, or from its due date when it
// has no start.
#pragma once

#include "RecurrenceOptions.h"

#include <mapipim/MAPITodoInfo.h>

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli
{
class TaskOptions
{
public:
    void AddTo(CLI::App& command, bool bEditing);
    bool AnyGiven() const;
    // Throws UsageFailure for a status and percentage that contradict each other or a due date before the start,
    // Failure for a file that cannot be attached; nothing is written then.
    void ApplyTo(CMAPITodoInfo& task, bool bCreating) const;
    void CheckApplied(const CMAPITodoInfo& task) const;

private:
    struct Given
    {
        CLI::Option* option = nullptr;
        std::string value;
        bool IsGiven() const { return option && option->count() > 0; }
    };

    void ApplyProgress(CMAPITodoInfo& task) const;
    void ApplyRecurrence(CMAPITodoInfo& task) const;

    Given m_subject, m_notes, m_owner, m_category;
    Given m_start, m_due, m_reminder;
    Given m_status, m_percent, m_priority, m_sensitivity;
    std::vector<std::string> m_attachments;
    RecurrenceOptions m_recurrence;
};
} // namespace cli
