// CMAPIInterface: start-up and shut-down of MAPI for the host, the progress window, and the process-wide cancel
// flag and pause setting. The operations live in files of their own.
#include <mapipim/MAPIInterface.h>

#include "interface/ProgressWindow.h"
#include "platform/platform.h"
#include "platform/CancelRequest.h"
#include "platform/Pause.h"

int CMAPIInterface::m_bCancel = FALSE;

namespace
{
// Items and the session read the flag through the platform.
[[maybe_unused]] const bool bCancelBound = (mapipim::BindCancelRequest(&CMAPIInterface::m_bCancel), true);
} // namespace

CMAPIInterface::CMAPIInterface() : m_bMAPIInit(CMAPIEx::Init(0, 0)), m_hMsgWnd(NULL)
{
    if (!m_bMAPIInit)
    {
        LOGTRACE(_T("[MAPI] MAPI Initialize failed/\r\n"));
        return;
    }
    if (!m_MAPI.Login(NULL, 0))
        LOGTRACE(_T("[MAPI] MAPI Login failed/\r\n"));
}

CMAPIInterface::~CMAPIInterface()
{
    m_MAPI.Logout();
    if (m_bMAPIInit)
        CMAPIEx::Term();
}

void CMAPIInterface::SetYield(int nMilliseconds)
{
    mapipim::SetPauseMilliseconds(nMilliseconds);
}

int CMAPIInterface::GetYield()
{
    return mapipim::GetPauseMilliseconds();
}

LRESULT CMAPIInterface::SendMsg(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return mapipim::ProgressWindow(m_hMsgWnd).Send(msg, wParam, lParam);
}

LRESULT CMAPIInterface::PostMsg(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return mapipim::ProgressWindow(m_hMsgWnd).Post(msg, wParam, lParam);
}
