// The folder half of discovery: the first-level folders of a listed store, classified and taken as the host's mask
// asks, and every folder below a taken one, each appended to the store record's folders (depth first, siblings in
// hierarchy-table order) and announced to the host's window as it is found.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/OutlookStore.h>

#include "interface/ProgressWindow.h"

namespace mapipim
{
class FolderWalk
{
public:
    // bCount: fill each record's nCount with the number of items of its folder.
    FolderWalk(CMAPIEx& mapi, HWND hMsgWnd, bool bCount) : m_mapi(mapi), m_progress(hMsgWnd), m_bCount(bCount) {}

    // Opens the store and its root folder (which becomes the session's current folder) and takes the first-level
    // folders that ulFlags asks for, with everything below them. A store that cannot be opened is traced and
    // skipped.
    void WalkStore(COutlookStore& store, ULONG ulFlags);

    // Takes every folder below folder as nDepth and deeper, all of type ulType. False when the host has cancelled
    // or the folder has no sub folders.
    bool WalkBelow(CMAPIFolder& folder, int nDepth, COutlookStore& store, ULONG ulType);

private:
    // Appends the record of a sub folder, announces it and walks below it.
    void Take(CMAPIFolder& folder, CMAPIFolder& parent, COutlookStore& store, int nDepth, const CString& strName,
              ULONG ulType);

    CMAPIEx& m_mapi;
    ProgressWindow m_progress;
    bool m_bCount;
};
} // namespace mapipim
