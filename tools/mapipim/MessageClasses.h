// The kinds of item the commands read, told apart by message class as Outlook tells them apart: a class stands for
// itself and every class below it ("IPM.Note.SMIME" is an e-mail, "IPM.Schedule.Meeting.Request" an
// appointment), compared without regard to case as MAPI compares classes.
#pragma once

#include <string>

namespace cli
{
enum class ItemKind
{
    Mail,
    Contact,
    DistributionList,
    Appointment,
    Task,
    Note,
    Other
};

ItemKind KindOfClass(const std::string& messageClass);

// The standard folder of a message class: the kind's own folder, the Inbox for mail and everything else.
unsigned FolderTypeOfClass(const std::string& messageClass);
} // namespace cli
