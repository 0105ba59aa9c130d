#include "FolderTypes.h"

namespace cli
{
namespace
{
struct FolderType
{
    int type;
    const char* name;
    const char* containerClass;
};

const FolderType kFolderTypes[] = {
    {0x0, "other", "IPF.Note"},        {0x1, "inbox", "IPF.Note"},
    {0x2, "outbox", "IPF.Note"},       {0x4, "sent", "IPF.Note"},
    {0x8, "drafts", "IPF.Note"},       {0x10, "deleted", "IPF.Note"},
    {0x20, "contacts", "IPF.Contact"}, {0x40, "calendar", "IPF.Appointment"},
    {0x80, "tasks", "IPF.Task"},       {0x100, "notes", "IPF.StickyNote"},
    {0x200, "journal", "IPF.Journal"},
};

// Every bit of the mask must be set for discovery to take folders of type 0.
const unsigned kOtherFoldersMask = 0xFFFF7C1Fu;
} // namespace

std::string FolderTypeName(int type)
{
    for (const FolderType& entry : kFolderTypes)
    {
        if (entry.type == type)
            return entry.name;
    }
    return std::string();
}

std::vector<std::string> FolderTypeNames(int mask)
{
    std::vector<std::string> names;
    for (const FolderType& entry : kFolderTypes)
    {
        if (entry.type != 0 && (mask & entry.type) != 0)
            names.push_back(entry.name);
    }
    return names;
}

std::string ContainerClassOf(int type)
{
    for (const FolderType& entry : kFolderTypes)
    {
        if (entry.type == type)
            return entry.containerClass;
    }
    return "IPF.Note";
}

int FolderTypeOfName(const std::string& name)
{
    for (const FolderType& entry : kFolderTypes)
    {
        if (name == entry.name)
            return entry.type;
    }
    return -1;
}

std::vector<std::string> AllFolderTypeNames()
{
    std::vector<std::string> names;
    for (const FolderType& entry : kFolderTypes)
        names.push_back(entry.name);
    return names;
}

unsigned DiscoveryMaskOf(const std::vector<int>& types)
{
    unsigned mask = 0;
    for (int type : types)
        mask |= type == 0 ? kOtherFoldersMask : static_cast<unsigned>(type);
    return mask;
}
} // namespace cli
