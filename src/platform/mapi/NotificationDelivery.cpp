#include "platform/mapi/NotificationDelivery.h"

#include <mapipim/mapisvc.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <set>
#include <thread>

namespace mapisvc
{
namespace
{
struct Delivery
{
    std::shared_ptr<Subscription> subscription;
    std::shared_ptr<NotificationPacket> packet;

    void Run() const { subscription->Notify(packet->Get()); }
};

class NotificationThread
{
public:
    ~NotificationThread() { Stop(); }

    void Post(Delivery delivery)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Loop(); });
        m_queue.push_back(std::move(delivery));
        m_wake.notify_one();
    }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_thread.joinable())
                return;
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_thread = std::thread();
        m_stopping = false;
    }

    bool WaitIdle(DWORD timeoutMilliseconds)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMilliseconds),
                               [this] { return m_queue.empty() && !m_busy; });
    }

private:
    void Loop()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;)
        {
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
            if (m_queue.empty())
                return;
            Delivery delivery = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
            lock.unlock();
            delivery.Run();
            delivery = Delivery();
            lock.lock();
            m_busy = false;
            if (m_queue.empty())
                m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Delivery> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

// The hidden window of the thread that initialised MAPI.
class WindowDelivery
{
public:
    ~WindowDelivery() { DropPending(); }

    void Start()
    {
        const UINT message = RegisterWindowMessageW(u"MAPI Notify window message");
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_window)
            return;
        m_message = message;
        m_window = CreateMessageWindow(&WindowDelivery::Procedure, this);
    }

    void Stop()
    {
        HWND window = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            std::swap(window, m_window);
        }
        if (window)
            DestroyWindow(window);
        DropPending();
    }

    // False when there is no window (delivery then goes to the notification thread).
    bool Post(const Delivery& delivery)
    {
        auto* posted = new Delivery(delivery);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_window)
        {
            m_pending.insert(posted);
            if (PostMessageW(m_window, m_message, 0, reinterpret_cast<LPARAM>(posted)))
                return true;
            m_pending.erase(posted);
        }
        delete posted;
        return false;
    }

private:
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
    {
        auto* self = static_cast<WindowDelivery*>(GetWindowContext(hWnd));
        if (!self || message != self->m_message)
            return 0;
        auto* posted = reinterpret_cast<Delivery*>(lParam);
        if (self->Take(posted))
        {
            posted->Run();
            delete posted;
        }
        return 0;
    }

    // Removes a posted delivery from the pending set; false when it was dropped already.
    bool Take(Delivery* posted)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_pending.erase(posted) != 0;
    }

    void DropPending()
    {
        std::set<Delivery*> pending;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            pending.swap(m_pending);
        }
        for (Delivery* posted : pending)
            delete posted;
    }

    std::mutex m_mutex; // guards the window, its message and the pending deliveries: posting threads read them
    HWND m_window = nullptr;
    UINT m_message = 0;
    std::set<Delivery*> m_pending;
};

std::atomic<NotificationDelivery> g_choice{NotificationDelivery::AsInitialised};
std::atomic<bool> g_initMultithreaded{false};
NotificationThread g_thread;
WindowDelivery g_window;
// Orders starts and stops: a stop that finds MAPI initialised again by then leaves delivery running.
std::mutex g_lifecycle;
} // namespace

void StartNotificationDelivery(ULONG initFlags)
{
    std::lock_guard<std::mutex> lock(g_lifecycle);
    g_initMultithreaded = (initFlags & MAPI_MULTITHREAD_NOTIFICATIONS) != 0;
    g_window.Start();
}

void StopNotificationDelivery(const std::function<bool()>& stillUnused)
{
    std::lock_guard<std::mutex> lock(g_lifecycle);
    if (!stillUnused())
        return;
    g_thread.Stop();
    g_window.Stop();
}

void DeliverNotification(const std::shared_ptr<Subscription>& subscription,
                         const std::shared_ptr<NotificationPacket>& packet)
{
    Delivery delivery{subscription, packet};
    const NotificationDelivery choice = g_choice.load();
    const bool toWindow = choice == NotificationDelivery::InitialisingThread ||
                          (choice == NotificationDelivery::AsInitialised && !g_initMultithreaded);
    if (toWindow && g_window.Post(delivery))
        return;
    g_thread.Post(std::move(delivery));
}

void SetNotificationDelivery(NotificationDelivery delivery)
{
    g_choice = delivery;
}

bool WaitForNotifications(DWORD timeoutMilliseconds)
{
    return g_thread.WaitIdle(timeoutMilliseconds);
}
} // namespace mapisvc
