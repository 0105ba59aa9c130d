// CMAPIMemoInfo: one sticky note as a plain record, read from and written to note messages by the memo item.
#pragma once

#include <mapipim/MAPIInfoBase.h>

class MAPIPIM_API CMAPIMemoInfo : public CMAPIInfoBase
{
public:
    CMAPIMemoInfo();
    CMAPIMemoInfo(const CMAPIMemoInfo& source);
    ~CMAPIMemoInfo();

    CMAPIMemoInfo& operator=(const CMAPIMemoInfo& source);

    CString strSubject;  // as stored; read only (writing takes the first line of strContents)
    CString strContents; // the note's text
    CString strLabel;    // categories
    int nNoteColor;      // 0 blue, 1 green, 2 pink, 3 yellow, 4 white
    int nNoteX;          // window position and size in pixels
    int nNoteY;
    int nNoteWidth;
    int nNoteHeight;
};
