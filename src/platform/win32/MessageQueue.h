// One thread's message queue: the messages posted to its windows (or to the thread itself), and the messages that
// other threads send to its windows and wait for. Like Windows, sent messages are handled by the owning thread
// when it looks at its queue, so a window procedure only ever runs on the thread that made the window.
#pragma once

#include "platform/platform.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace mapipim::win32
{
class MessageQueue;

// A message sent from another thread. The owner's thread handles it and replies through the sender's queue, which
// is the one lock that guards the reply.
struct SentMessage
{
    MSG msg;
    std::shared_ptr<MessageQueue> replyQueue;
    LRESULT result = 0;
    bool bReplied = false;
};

// Which queued messages PeekMessageW looks at: those of one window (or any, or only the thread's own), in a range
// of message numbers (0 to 0 meaning all).
struct MessageFilter
{
    HWND hWnd;
    UINT nMin;
    UINT nMax;

    bool Matches(const MSG& msg) const;
};

class MessageQueue
{
public:
    // False once the thread has ended and its queue is closed.
    bool Post(const MSG& msg);
    bool Deliver(const std::shared_ptr<SentMessage>& sent);

    // The first posted message the filter matches; never waits.
    bool Peek(const MessageFilter& filter, bool bRemove, MSG& msg);
    std::shared_ptr<SentMessage> TakeSent();
    // QS_POSTMESSAGE and QS_SENDMESSAGE for what waits in the queue now.
    UINT Status() const;

    // Called on the sender's queue. The sender waits for its reply and meanwhile handles what is sent to its own
    // windows, so two threads that send to each other do not block each other.
    void Reply(SentMessage& sent, LRESULT result);
    void AwaitReply(const SentMessage& sent, const std::function<void(SentMessage&)>& handleIncoming);

    // A window is gone: its posted messages are dropped and its waiting senders get 0.
    void DropWindow(HWND hWnd);
    // The thread has ended: everything queued is dropped and nothing more is accepted.
    void Close();

private:
    void ReplyWithNothing(std::deque<std::shared_ptr<SentMessage>>& dropped);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<MSG> m_posted;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    bool m_bClosed = false;
};
} // namespace mapipim::win32
