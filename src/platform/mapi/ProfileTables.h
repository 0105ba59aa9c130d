// The tables a session gives about its profile: the message-stores table (one row per store, in profile order)
// and the status table (one row per store, one for the address book, and last the MAPI subsystem's row, whose
// display name is the profile's name).
#pragma once

#include "platform/mapi/ProfileDatabase.h"
#include "platform/mapi/RowSource.h"

namespace mapisvc
{
std::unique_ptr<RowSource> MakeStoresRows(const ProfileInfo& profile);
std::unique_ptr<RowSource> MakeStatusRows(const ProfileInfo& profile);
} // namespace mapisvc
