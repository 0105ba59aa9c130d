// MAPI initialised for the commands that work below the interface object (the profile table, a logon to a profile
// other than the default one); uninitialised again when the command ends.
#pragma once

#include "Failure.h"

#include <mapipim/MAPIEx.h>

namespace cli
{
class MapiRuntime
{
public:
    MapiRuntime()
    {
        if (!CMAPIEx::Init())
            throw Failure("cannot initialise MAPI");
    }
    ~MapiRuntime() { CMAPIEx::Term(); }
    MapiRuntime(const MapiRuntime&) = delete;
    MapiRuntime& operator=(const MapiRuntime&) = delete;
};
} // namespace cli
