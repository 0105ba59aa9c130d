#include "MessageClasses.h"

#include "FolderTypes.h"

#include <strings.h>

namespace cli
{
namespace
{
struct ClassKind
{
    const char* messageClass;
    ItemKind kind;
};

const ClassKind kClassKinds[] = {
    {"IPM.Note", ItemKind::Mail},
    {"IPM.Contact", ItemKind::Contact},
    {"IPM.DistList", ItemKind::DistributionList},
    {"IPM.Appointment", ItemKind::Appointment},
    {"IPM.Schedule.Meeting", ItemKind::Appointment},
    {"IPM.Task", ItemKind::Task},
    {"IPM.StickyNote", ItemKind::Note},
};

// Whether the class is the base class or one below it: "IPM.Notebook" is no "IPM.Note".
bool IsClassOrBelow(const std::string& messageClass, const char* base)
{
    const size_t length = std::char_traits<char>::length(base);
    return messageClass.size() >= length && ::strncasecmp(messageClass.c_str(), base, length) == 0 &&
           (messageClass.size() == length || messageClass[length] == '.');
}
} // namespace

ItemKind KindOfClass(const std::string& messageClass)
{
    for (const ClassKind& entry : kClassKinds)
        if (IsClassOrBelow(messageClass, entry.messageClass))
            return entry.kind;
    return ItemKind::Other;
}

unsigned FolderTypeOfClass(const std::string& messageClass)
{
    switch (KindOfClass(messageClass))
    {
    case ItemKind::Contact:
    case ItemKind::DistributionList:
        return kFolderTypeContacts;
    case ItemKind::Appointment:
        return kFolderTypeCalendar;
    case ItemKind::Task:
        return kFolderTypeTasks;
    case ItemKind::Note:
        return kFolderTypeNotes;
    default:
        return kFolderTypeInbox;
    }
}
} // namespace cli
