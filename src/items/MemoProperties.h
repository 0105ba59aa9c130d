// The named properties of sticky notes, in PSETID_Note (set index MAPIPIM_SET_NOTE), and the icons that follow a
// note's colour.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum MemoNamedId : LONG
{
    PidLidNoteColor = 0x8B00,
    PidLidNoteWidth = 0x8B02,
    PidLidNoteHeight = 0x8B03,
    PidLidNoteX = 0x8B04,
    PidLidNoteY = 0x8B05,
};

// PR_ICON_INDEX of a note is this plus its colour (0 blue ... 4 white), whatever the colour.
const LONG kMemoIconBase = 0x300;
} // namespace mapipim
