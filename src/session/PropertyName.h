// A property as a field table names it: an ordinary tag (strings as PT_UNICODE, read in the store's form), or the
// numeric id of a named property of a set index.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
struct PropertyName
{
    ULONG ulTag;
    int nSet;

    bool operator==(const PropertyName& other) const { return ulTag == other.ulTag && nSet == other.nSet; }
};
} // namespace mapipim
