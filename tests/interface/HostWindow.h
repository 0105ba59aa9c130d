// The host's window of the interface tests: what a list sent and posted to it, and a cancel request after a number
// of records.
#pragma once

#include <mapipim/mapipim.h>

#include <vector>

class HostWindow
{
public:
    HostWindow()
        : m_hWnd(CreateMessageWindow(&HostWindow::Procedure, this)),
          m_uContents(RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS"))),
          m_uContentsEnd(RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS_END")))
    {
    }
    ~HostWindow() { DestroyWindow(m_hWnd); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return m_hWnd; }
    void CancelAfter(size_t nRecords) { m_nCancelAfter = nRecords; }
    void Clear()
    {
        m_records.clear();
        m_folders.clear();
        m_ends.clear();
    }
    // Delivers what was posted.
    void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }

    std::vector<const void*> m_records;
    std::vector<const COutlookFolder*> m_folders;
    std::vector<WPARAM> m_ends;

private:
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        HostWindow& self = *static_cast<HostWindow*>(GetWindowContext(hWnd));
        if (uMsg == self.m_uContents)
        {
            self.m_records.push_back(reinterpret_cast<const void*>(wParam));
            self.m_folders.push_back(reinterpret_cast<const COutlookFolder*>(lParam));
            if (self.m_records.size() == self.m_nCancelAfter)
                CMAPIInterface::SetCancel(1);
        }
        else if (uMsg == self.m_uContentsEnd)
            self.m_ends.push_back(wParam);
        return 0;
    }

    HWND m_hWnd;
    UINT m_uContents;
    UINT m_uContentsEnd;
    size_t m_nCancelAfter = 0;
};
