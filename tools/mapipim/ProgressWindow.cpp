#include "ProgressWindow.h"

#include <mapipim/MAPIInterface.h>

namespace cli
{
ProgressWindow::ProgressWindow() : m_hWnd(CreateMessageWindow(&ProgressWindow::WindowProc, this)) {}

ProgressWindow::~ProgressWindow()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

void ProgressWindow::ExpectFolders()
{
    m_bar.Start("Reading stores and folders", 0);
}

void ProgressWindow::ExpectItems(const std::string& label, int nTotal)
{
    m_bar.Start(label, nTotal);
}

void ProgressWindow::Done()
{
    CMAPIEx::PumpMessages();
    m_bar.Finish();
}

LRESULT CALLBACK ProgressWindow::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (ProgressWindow* self = static_cast<ProgressWindow*>(GetWindowContext(hWnd)))
        self->OnMessage(msg);
    return 0;
}

// The registered message numbers are variables, not constants, hence no switch.
void ProgressWindow::OnMessage(UINT msg)
{
    if (msg == WM_MAPI_GET_STOREINFO || msg == WM_MAPI_GET_FOLDERINFO || msg == WM_MAPI_GET_CONTENTS)
        m_bar.Advance();
    else if (msg == WM_MAPI_GET_CONTENTS_END)
        m_bar.Finish();
}
} // namespace cli
