// The folder types that discovery tells apart, by the short names the command line uses: inbox, outbox, sent,
// drafts, deleted, contacts, calendar, tasks, notes, journal, and other for every other mail folder.
#pragma once

#include <string>
#include <vector>

namespace cli
{
// Discovery's mask bits.
const unsigned kFolderTypeInbox = 0x1;
const unsigned kFolderTypeOutbox = 0x2;
const unsigned kFolderTypeDrafts = 0x8;
const unsigned kFolderTypeContacts = 0x20;
const unsigned kFolderTypeCalendar = 0x40;
const unsigned kFolderTypeTasks = 0x80;
const unsigned kFolderTypeNotes = 0x100;
const unsigned kDiscoveryCountBit = 0x8000;
const unsigned kDiscoverEverything = 0xFFFFFFFFu & ~kDiscoveryCountBit;

// The name of a folder type number (0 gives "other"); empty for a number that is no folder type.
std::string FolderTypeName(int type);

// The names of every type bit set in the mask, in the order of the type numbers.
std::vector<std::string> FolderTypeNames(int mask);

// The container class of the folders of a type ("IPF.Contact" for contacts, "IPF.Note" for the mail folders).
std::string ContainerClassOf(int type);

// The type number of a name; -1 when the name is unknown.
int FolderTypeOfName(const std::string& name);

// Every type name, for help texts and validation.
std::vector<std::string> AllFolderTypeNames();

// Discovery's mask for a set of type numbers: "other" (0) needs every bit but the container classes and the
// count, so asking for it also brings the five mail folders, which the caller filters out again.
unsigned DiscoveryMaskOf(const std::vector<int>& types);
} // namespace cli
