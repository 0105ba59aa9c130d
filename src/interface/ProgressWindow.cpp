#include "interface/ProgressWindow.h"

#include <mapipim/MAPIInterface.h>

namespace mapipim
{
LRESULT ProgressWindow::Send(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd ? SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

LRESULT ProgressWindow::Post(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd ? PostMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

void ProgressWindow::StoreListed(const COutlookStore* pStore, INT_PTR nListed) const
{
    Send(WM_MAPI_GET_STOREINFO, reinterpret_cast<WPARAM>(pStore), static_cast<LPARAM>(nListed));
}

void ProgressWindow::FolderFound(const COutlookFolder* pFolder, const COutlookStore* pStore) const
{
    Send(WM_MAPI_GET_FOLDERINFO, reinterpret_cast<WPARAM>(pFolder), reinterpret_cast<LPARAM>(pStore));
}

void ProgressWindow::ItemRead(const void* pRecord, const COutlookFolder* pFolder) const
{
    Send(WM_MAPI_GET_CONTENTS, reinterpret_cast<WPARAM>(pRecord), reinterpret_cast<LPARAM>(pFolder));
}

void ProgressWindow::ListEnded(INT_PTR nCount) const
{
    Post(WM_MAPI_GET_CONTENTS_END, static_cast<WPARAM>(nCount), 0);
}
} // namespace mapipim
