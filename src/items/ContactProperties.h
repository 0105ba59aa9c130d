// The named properties of contacts that the contact item reads and writes. All of them lie in PSETID_Address
// (set index MAPIPIM_SET_ADDRESS); the values are their numeric ids.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum ContactNamedId : LONG
{
    PidLidFileUnder = 0x8005, // the file-as name
    PidLidHasPicture = 0x8015,
    PidLidHomeAddress = 0x801A, // composed postal texts: home, then work (0x801B) and other (0x801C)
    PidLidWorkAddressStreet = 0x8045,
    PidLidWorkAddressCity = 0x8046,
    PidLidWorkAddressState = 0x8047,
    PidLidWorkAddressPostalCode = 0x8048,
    PidLidWorkAddressCountry = 0x8049,
    PidLidInstantMessagingAddress = 0x8062,
    PidLidEmail1EmailAddress = 0x8083, // slots 2 and 3 follow 0x10 and 0x20 further on
    PidLidFreeBusyLocation = 0x80D8,
};

// The icon of a contact in Outlook's views (PR_ICON_INDEX).
const LONG kContactIconIndex = 0x200;
} // namespace mapipim
