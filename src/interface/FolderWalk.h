// The folder half of discovery: the first-level folders of a listed store, classified and taken as the host's mask
// asks, and every folder below a taken one, each appended to the store record's folders (depth first, siblings in
// hierarchy-table order) and announced to the host's window as it is found. Folders are read from the columns of
// hierarchy tables fetched many rows at a time: the store root's own sub folders, then all levels below each taken
// one from one table, so that a folder is opened only when its row cannot tell what a record needs.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/OutlookStore.h>

#include "interface/ProgressWindow.h"

namespace mapipim
{
class FolderRow;

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
    // Takes every folder of folder's table of all levels below it, the direct ones as nDepth, their parent being
    // folderID. False when the host has cancelled or the table cannot be had.
    bool WalkAllLevels(CMAPIFolder& folder, const SBinary& folderID, int nDepth, COutlookStore& store, ULONG ulType);
    // Appends the record of a row's folder and announces it; null (nothing appended) when it cannot be made.
    COutlookFolder* Take(FolderRow& row, const SBinary& parentID, COutlookStore& store, int nDepth, ULONG ulType);

    CMAPIEx& m_mapi;
    ProgressWindow m_progress;
    bool m_bCount;
};
} // namespace mapipim
