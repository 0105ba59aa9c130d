// The named properties a new Outlook data file already maps: the numeric names of the standard property sets
// that contacts, appointments, tasks, notes, journal entries and every item use, and the categories' string
// name. A store is created with them, so that reading or removing one of them never depends on whether an item
// of the store happened to write it first.
#pragma once

#include "platform/mapi/Sqlite.h"

namespace mapisvc
{
// Records the names with ids from the first named id up; inside the caller's transaction on a store with no names.
HRESULT MapWellKnownNames(Database& db);
} // namespace mapisvc
