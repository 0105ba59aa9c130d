// Where the host-level operations report their progress: the host's window, or nowhere when the host named none.
// Records are sent (the host handles each before the operation goes on); the end of a list is posted.
#pragma once

#include <mapipim/OutlookFolder.h>
#include <mapipim/OutlookStore.h>

#include "platform/platform.h"

namespace mapipim
{
class ProgressWindow
{
public:
    explicit ProgressWindow(HWND hWnd) : m_hWnd(hWnd) {}

    // SendMessageW and PostMessageW to the window; 0 without one.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;
    LRESULT Post(UINT msg, WPARAM wParam, LPARAM lParam) const;

    // "WM_MAPI_GET_STOREINFO", with the number of stores listed so far (1 for the first).
    void StoreListed(const COutlookStore* pStore, INT_PTR nListed) const;
    // "WM_MAPI_GET_FOLDERINFO", with the store that holds the folder.
    void FolderFound(const COutlookFolder* pFolder, const COutlookStore* pStore) const;
    // "WM_MAPI_GET_CONTENTS", with the folder record the host passed to the list.
    void ItemRead(const void* pRecord, const COutlookFolder* pFolder) const;
    // "WM_MAPI_GET_CONTENTS_END", with the number of records the list appended.
    void ListEnded(INT_PTR nCount) const;

private:
    HWND m_hWnd;
};
} // namespace mapipim
