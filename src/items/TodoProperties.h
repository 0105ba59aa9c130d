// The named properties of tasks that the task item reads and writes: those of PSETID_Task (set index
// MAPIPIM_SET_TASK) and those of PSETID_Common (MAPIPIM_SET_COMMON), and the icons of a task.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum TaskNamedId : LONG
{
    PidLidTaskStatus = 0x8101,
    PidLidPercentComplete = 0x8102, // a fraction, 0.0 to 1.0
    PidLidTaskStartDate = 0x8104,   // the local date, as the task shows it
    PidLidTaskDueDate = 0x8105,
    PidLidTaskDeadOccurrence = 0x8109,
    PidLidTaskDateCompleted = 0x810F,
    PidLidTaskRecurrence = 0x8116,
    PidLidTaskComplete = 0x811C,
    PidLidTaskOwner = 0x811F,
    PidLidTaskFRecurring = 0x8126,
};

enum CommonNamedId : LONG
{
    PidLidReminderTime = 0x8502,
    PidLidReminderSet = 0x8503,
    PidLidCommonStart = 0x8516, // the UTC of the task's start date
    PidLidCommonEnd = 0x8517,   // the UTC of its due date
};

// PR_ICON_INDEX of a single task; a recurring one has the next.
const LONG kTodoIconIndex = 0x500;
} // namespace mapipim
