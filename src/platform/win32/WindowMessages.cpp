// Window messages between the library and a host on Linux: message-only windows owned by the thread that makes
// them, a queue per thread for posted messages, and sending that runs the window procedure on the owner's thread.
#include "platform/platform.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowTable.h"

using mapipim::win32::MessageFilter;
using mapipim::win32::MessageQueue;
using mapipim::win32::MessageWindow;
using mapipim::win32::SentMessage;
using mapipim::win32::WindowTable;

namespace
{
// The desktop is a window every thread can name but no message reaches; it never enters the window table.
const HWND hDesktop = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));

// The calling thread's queue, made on first use. When the thread ends its windows end with it, and whoever waits
// for one of them to answer a sent message gets 0.
struct ThreadQueue
{
    std::shared_ptr<MessageQueue> queue;

    ~ThreadQueue()
    {
        if (!queue)
            return;
        WindowTable::Instance().RemoveOwnedBy(queue.get());
        queue->Close();
    }
};
thread_local ThreadQueue t_threadQueue;

const std::shared_ptr<MessageQueue>& CurrentQueue()
{
    if (!t_threadQueue.queue)
        t_threadQueue.queue = std::make_shared<MessageQueue>();
    return t_threadQueue.queue;
}

bool IsOwnedByCurrentThread(const MessageWindow& window)
{
    return window.queue == t_threadQueue.queue;
}

MSG MakeMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = Msg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

template <typename Result> Result FailInvalidWindow(Result result)
{
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return result;
}

LRESULT CallWindowProcedure(const MSG& msg)
{
    const std::optional<MessageWindow> window = WindowTable::Instance().Find(msg.hwnd);
    if (!window)
        return 0;
    return window->lpfnWndProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void HandleSentMessage(SentMessage& sent)
{
    sent.replyQueue->Reply(sent, CallWindowProcedure(sent.msg));
}

void HandleSentMessages(MessageQueue& queue)
{
    while (const std::shared_ptr<SentMessage> sent = queue.TakeSent())
        HandleSentMessage(*sent);
}

// Like Windows, a message sent to another thread's window waits until that thread looks at its queue.
LRESULT SendToOtherThread(const MSG& msg)
{
    auto sent = std::make_shared<SentMessage>();
    sent->msg = msg;
    sent->replyQueue = CurrentQueue();
    const bool bDelivered = WindowTable::Instance().WithWindow(msg.hwnd, [&](const MessageWindow& window)
                                                               { return window.queue->Deliver(sent); });
    if (!bDelivered)
        return FailInvalidWindow(0);
    sent->replyQueue->AwaitReply(*sent, HandleSentMessage);
    return sent->result;
}
} // namespace

HWND CreateMessageWindow(WNDPROC lpfnWndProc, void* context)
{
    if (!lpfnWndProc)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return WindowTable::Instance().Add(lpfnWndProc, context, CurrentQueue());
}

void* GetWindowContext(HWND hWnd)
{
    const std::optional<MessageWindow> window = WindowTable::Instance().Find(hWnd);
    return window ? window->context : nullptr;
}

HWND GetDesktopWindow()
{
    return hDesktop;
}

BOOL IsWindow(HWND hWnd)
{
    return hWnd == hDesktop || WindowTable::Instance().Find(hWnd).has_value();
}

BOOL DestroyWindow(HWND hWnd)
{
    WindowTable& table = WindowTable::Instance();
    const std::optional<MessageWindow> window = table.Find(hWnd);
    if (!window)
        return FailInvalidWindow(FALSE);
    // Windows lets only the owning thread destroy a window; that keeps its procedure on the owner's thread.
    if (!IsOwnedByCurrentThread(*window))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!table.BeginDestroy(hWnd))
        return FailInvalidWindow(FALSE);
    window->lpfnWndProc(hWnd, WM_DESTROY, 0, 0);
    table.Remove(hWnd);
    window->queue->DropWindow(hWnd);
    return TRUE;
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const std::optional<MessageWindow> window = WindowTable::Instance().Find(hWnd);
    if (!window)
        return FailInvalidWindow(0);
    if (IsOwnedByCurrentThread(*window))
        return window->lpfnWndProc(hWnd, Msg, wParam, lParam);
    return SendToOtherThread(MakeMessage(hWnd, Msg, wParam, lParam));
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const MSG msg = MakeMessage(hWnd, Msg, wParam, lParam);
    // Without a window the message is for the calling thread itself, as on Windows.
    if (!hWnd)
        return CurrentQueue()->Post(msg);
    const bool bPosted =
        WindowTable::Instance().WithWindow(hWnd, [&](const MessageWindow& window) { return window.queue->Post(msg); });
    return bPosted ? TRUE : FailInvalidWindow(FALSE);
}

BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!lpMsg)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MessageQueue& queue = *CurrentQueue();
    HandleSentMessages(queue);
    const MessageFilter filter{hWnd, wMsgFilterMin, wMsgFilterMax};
    return queue.Peek(filter, (wRemoveMsg & PM_REMOVE) != 0, *lpMsg);
}

DWORD GetQueueStatus(UINT flags)
{
    const UINT status = CurrentQueue()->Status() & flags;
    return MAKELONG(status, status);
}

BOOL TranslateMessage(const MSG* /*lpMsg*/)
{
    // Message windows receive no keystrokes, so there is never a character message to make.
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* lpMsg)
{
    if (!lpMsg || !lpMsg->hwnd)
        return 0;
    const std::optional<MessageWindow> window = WindowTable::Instance().Find(lpMsg->hwnd);
    if (!window)
        return FailInvalidWindow(0);
    if (!IsOwnedByCurrentThread(*window))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return window->lpfnWndProc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
