#include "TaskText.h"

#include "ContactFields.h"
#include "DateText.h"
#include "EntryId.h"
#include "JsonRecords.h"
#include "LabelledText.h"
#include "RecurrenceOptions.h"
#include "ShortIds.h"
#include "Text.h"

#include <sstream>

namespace cli
{
namespace
{
// 12.5 as "12.5", 50 as "50".
std::string PercentText(double dRate)
{
    std::ostringstream text;
    text << dRate;
    return text.str();
}

std::string RecurrenceText(const CMAPITodoInfo& task)
{
    if (!task.bRecurSet)
        return std::string();
    if (!task.lprcRecurring)
        return "yes";
    // Worded as the calendar words an appointment's series, so that both kinds read alike.
    return RecurrenceOptions::Describe(*task.lprcRecurring);
}
} // namespace

const std::vector<std::string>& TaskStatusNames()
{
    static const std::vector<std::string> names = {"not-started", "in-progress", "complete", "waiting", "deferred"};
    return names;
}

const std::vector<std::string>& PriorityNames()
{
    static const std::vector<std::string> names = {"low", "normal", "high"};
    return names;
}

std::string NameOf(const std::vector<std::string>& names, int value)
{
    if (value >= 0 && value < static_cast<int>(names.size()))
        return names[static_cast<size_t>(value)];
    return std::to_string(value);
}

Json TaskJson(const CMAPITodoInfo& task)
{
    Json json;
    json["strEntryID"] = Utf8(task.strEntryID);
    json["sbEntryID"] = EntryIdText(task.sbEntryID);
    json["tmCTime"] = TimeJson(task.tmCTime);
    json["tmLMTime"] = TimeJson(task.tmLMTime);
    json["strSubject"] = Utf8(task.strSubject);
    json["strContents"] = Utf8(task.strContents);
    json["strOwner"] = Utf8(task.strOwner);
    json["nStatus"] = task.nStatus;
    json["status"] = NameOf(TaskStatusNames(), task.nStatus);
    json["nPriority"] = task.nPriority;
    json["dCompleteRate"] = task.dCompleteRate;
    json["bAlarmSet"] = task.bAlarmSet;
    json["tmAlarmTime"] = TimeJson(task.tmAlarmTime);
    json["tmStartTime"] = TimeJson(task.tmStartTime);
    json["tmEndTime"] = TimeJson(task.tmEndTime);
    json["tmCompleteTime"] = TimeJson(task.tmCompleteTime);
    json["nSensitivity"] = task.nSensitivity;
    json["strLabel"] = Utf8(task.strLabel);
    json["bRecurSet"] = task.bRecurSet;
    json["lprcRecurring"] = RecurringJson(task.lprcRecurring);
    json["nAttachCount"] = task.nAttachCount;
    json["strAttachFile"] = Utf8(task.strAttachFile);
    return json;
}

void WriteTaskLine(std::ostream& out, const CMAPITodoInfo& task)
{
    out << ShownId(Utf8(task.strEntryID)) << "  [" << NameOf(TaskStatusNames(), task.nStatus) << "] "
        << (task.strSubject.IsEmpty() ? std::string("(no subject)") : Utf8(task.strSubject));
    if (task.tmEndTime.wYear != 0)
        out << ", due " << DateText(task.tmEndTime);
    if (task.dCompleteRate != 0.0 && task.dCompleteRate != 100.0)
        out << ", " << PercentText(task.dCompleteRate) << "%";
    out << '\n';
}

void WriteTask(std::ostream& out, const CMAPITodoInfo& task)
{
    WriteLabelled(out, "Entry ID", ShownId(Utf8(task.strEntryID)));
    WriteLabelled(out, "Created", DateTimeText(task.tmCTime));
    WriteLabelled(out, "Modified", DateTimeText(task.tmLMTime));
    WriteLabelled(out, "Subject", Utf8(task.strSubject));
    WriteLabelled(out, "Owner", Utf8(task.strOwner));
    WriteLabelled(out, "Start", DateText(task.tmStartTime));
    WriteLabelled(out, "Due", DateText(task.tmEndTime));
    WriteLabelled(out, "Status", NameOf(TaskStatusNames(), task.nStatus));
    WriteLabelled(out, "Percent complete", PercentText(task.dCompleteRate));
    WriteLabelled(out, "Completed", task.dCompleteRate == 100.0 ? DateTimeText(task.tmCompleteTime) : std::string());
    WriteLabelled(out, "Priority", NameOf(PriorityNames(), task.nPriority));
    WriteLabelled(out, "Reminder", task.bAlarmSet == 1 ? DateTimeText(task.tmAlarmTime) : std::string());
    WriteLabelled(out, "Recurrence", RecurrenceText(task));
    if (task.nSensitivity != 0)
        WriteLabelled(out, "Sensitivity", SensitivityName(task.nSensitivity));
    WriteLabelled(out, "Categories", Utf8(task.strLabel));
    WriteLabelled(out, "Notes", Utf8(task.strContents));
    WriteLabelled(out, "Attachments", Utf8(task.strAttachFile));
}
} // namespace cli
