// Contacts as text for people.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <ostream>

namespace cli
{
// One line for a list: entry identifier, name, first e-mail address, company.
void WriteContactLine(std::ostream& out, const CMAPIContactInfo& contact);

// Every field that holds a value, one per line.
void WriteContact(std::ostream& out, const CMAPIContactInfo& contact);
} // namespace cli
