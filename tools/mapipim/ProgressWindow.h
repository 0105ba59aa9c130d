// The host's progress window: a message window (CreateMessageWindow) that the library sends its four progress
// messages to, as a Windows host would name its dialog with SetMsgHwnd. Store and folder messages count what
// discovery found, item messages move the bar towards the folder's row count, the posted end message clears it.
#pragma once

#include "ProgressBar.h"

#include <mapipim/platform.h>

#include <string>

namespace cli
{
class ProgressWindow
{
public:
    ProgressWindow();
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

    // Before a discovery, and before an item list of a folder holding nTotal items.
    void ExpectFolders();
    void ExpectItems(const std::string& label, int nTotal);

    // After the operation: delivers the posted end message and clears the line.
    void Done();

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnMessage(UINT msg);

    HWND m_hWnd;
    ProgressBar m_bar;
};
} // namespace cli
