#include "platform/win32/MessageQueue.h"

#include <algorithm>

namespace mapipim::win32
{
namespace
{
// PeekMessageW's hWnd of -1 asks for the messages posted to the thread itself, which carry no window.
const HWND hThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
} // namespace

bool MessageFilter::Matches(const MSG& msg) const
{
    if (hWnd == hThreadMessagesOnly ? msg.hwnd != nullptr : (hWnd && msg.hwnd != hWnd))
        return false;
    if (nMin == 0 && nMax == 0)
        return true;
    return msg.message >= nMin && msg.message <= nMax;
}

bool MessageQueue::Post(const MSG& msg)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bClosed)
            return false;
        m_posted.push_back(msg);
    }
    m_wake.notify_all();
    return true;
}

bool MessageQueue::Deliver(const std::shared_ptr<SentMessage>& sent)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bClosed)
            return false;
        m_sent.push_back(sent);
    }
    m_wake.notify_all();
    return true;
}

bool MessageQueue::Peek(const MessageFilter& filter, bool bRemove, MSG& msg)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = std::find_if(m_posted.begin(), m_posted.end(), [&](const MSG& m) { return filter.Matches(m); });
    if (it == m_posted.end())
        return false;
    msg = *it;
    if (bRemove)
        m_posted.erase(it);
    return true;
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_sent.empty())
        return nullptr;
    std::shared_ptr<SentMessage> sent = m_sent.front();
    m_sent.pop_front();
    return sent;
}

UINT MessageQueue::Status() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return (m_posted.empty() ? 0 : QS_POSTMESSAGE) | (m_sent.empty() ? 0 : QS_SENDMESSAGE);
}

void MessageQueue::Reply(SentMessage& sent, LRESULT result)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sent.result = result;
        sent.bReplied = true;
    }
    m_wake.notify_all();
}

void MessageQueue::AwaitReply(const SentMessage& sent, const std::function<void(SentMessage&)>& handleIncoming)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!sent.bReplied)
    {
        if (m_sent.empty())
        {
            m_wake.wait(lock);
            continue;
        }
        std::shared_ptr<SentMessage> incoming = m_sent.front();
        m_sent.pop_front();
        lock.unlock();
        handleIncoming(*incoming);
        lock.lock();
    }
}

void MessageQueue::DropWindow(HWND hWnd)
{
    std::deque<std::shared_ptr<SentMessage>> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(), [&](const MSG& m) { return m.hwnd == hWnd; }),
                       m_posted.end());
        const auto itKept = std::stable_partition(m_sent.begin(), m_sent.end(),
                                                  [&](const auto& sent) { return sent->msg.hwnd != hWnd; });
        dropped.assign(itKept, m_sent.end());
        m_sent.erase(itKept, m_sent.end());
    }
    ReplyWithNothing(dropped);
}

void MessageQueue::Close()
{
    std::deque<std::shared_ptr<SentMessage>> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
        m_posted.clear();
        dropped.swap(m_sent);
    }
    ReplyWithNothing(dropped);
}

// Replies take the sender's lock, so they are given only after this queue's lock is released: no thread ever holds
// two queue locks at once.
void MessageQueue::ReplyWithNothing(std::deque<std::shared_ptr<SentMessage>>& dropped)
{
    for (const auto& sent : dropped)
        sent->replyQueue->Reply(*sent, 0);
}
} // namespace mapipim::win32
