// CMAPIMemoItem: one sticky note ("IPM.StickyNote") and the mapping between its properties and the memo record.
// The note's subject is never taken from the record: writing cuts it from the text at the first line break. The
// colour, position and size are numbers of the note's own property set, each with a default that reading
// substitutes when the note lacks it; the note's icon follows its colour.
#pragma once

#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIMemoInfo.h>
#include <mapipim/OutlookFolder.h>

// Read groups of GetInfo's flag word; the entry identifier is read whatever the flags.
enum
{
    MAPIPIM_MEMO_TIMES = 0x1,   // tmCTime and tmLMTime
    MAPIPIM_MEMO_SUBJECT = 0x2, // strSubject
    MAPIPIM_MEMO_OTHERS = 0x4,  // the text, the colour, position and size, and the categories
};

class CMAPIMemoItem : public CMAPIItem
{
public:
    CMAPIMemoItem();
    ~CMAPIMemoItem() override;

    // A new, unsaved note in pFolder (without one, in the session's current folder).
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    BOOL GetInfo(CMAPIMemoInfo* pInfo, ULONG ulFlags);
    // Writes every field and saves the note, which stays open. pFolder names the host's folder in trace lines only.
    BOOL SetInfo(COutlookFolder* pFolder, CMAPIMemoInfo* pInfo);

private:
    void GetOtherFields(CMAPIMemoInfo& info);
    void SetFields(LPCWSTR szFolder, const CMAPIMemoInfo& info);
    void SetSubject(LPCWSTR szFolder, const CString& strContents);
};
