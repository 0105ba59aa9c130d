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

// The notification thread of one initialisation of MAPI, started by its first delivery and joined by Close. The
// thread holds its object, so that a sink that ends MAPI from within its call (Close cannot join the thread it
// runs on) leaves the thread to finish the queue and end on its own.
class NotificationThread : public std::enable_shared_from_this<NotificationThread>
{
public:
    // Reached with a running thread only on that thread, as its last step.
    ~NotificationThread()
    {
        if (m_thread.joinable())
            m_thread.detach();
    }

    // Dropped once the thread is closed: MAPI is no longer initialised.
    void Post(Delivery delivery)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed)
            return;
        if (!m_thread.joinable())
            m_thread = std::thread([self = shared_from_this()] { self->Loop(); });
        m_queue.push_back(std::move(delivery));
        m_wake.notify_one();
    }

    // Delivers what is queued, then ends the thread; later posts are dropped.
    void Close()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closed = true;
            if (!m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id())
                return;
        }
        m_wake.notify_all();
        m_thread.join();
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
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_closed; });
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
    bool m_closed = false;
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
        // Only the thread that made the window may destroy it. Stopped on another thread, the window is asked to
        // close and goes at its thread's next dispatch (or with the thread); it delivers nothing meanwhile.
        if (window && !DestroyWindow(window))
            PostMessageW(window, WM_CLOSE, 0, 0);
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
        if (message == WM_CLOSE)
        {
            DestroyWindow(hWnd);
            return 0;
        }
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
WindowDelivery g_window;
// Orders starts and stops: a stop that finds MAPI initialised again by then leaves delivery running.
std::mutex g_lifecycle;

// The notification thread belongs to the initialised service: made by the first MAPIInitialize and joined by the
// last MAPIUninitialize. Its holder is never destroyed, so that a host that ends without MAPIUninitialize leaves
// the thread idle rather than joined while the process's statics are torn down.
struct ThreadHolder
{
    std::mutex mutex;
    std::shared_ptr<NotificationThread> thread;
};
ThreadHolder& Holder()
{
    static ThreadHolder* holder = new ThreadHolder;
    return *holder;
}

std::shared_ptr<NotificationThread> CurrentThread()
{
    ThreadHolder& holder = Holder();
    std::lock_guard<std::mutex> lock(holder.mutex);
    return holder.thread;
}

std::shared_ptr<NotificationThread> ReplaceThread(std::shared_ptr<NotificationThread> thread)
{
    ThreadHolder& holder = Holder();
    std::lock_guard<std::mutex> lock(holder.mutex);
    holder.thread.swap(thread);
    return thread;
}
} // namespace

void StartNotificationDelivery(ULONG initFlags)
{
    std::lock_guard<std::mutex> lock(g_lifecycle);
    g_initMultithreaded = (initFlags & MAPI_MULTITHREAD_NOTIFICATIONS) != 0;
    if (!CurrentThread())
        ReplaceThread(std::make_shared<NotificationThread>());
    g_window.Start();
}

void StopNotificationDelivery(const std::function<bool()>& stillUnused)
{
    std::lock_guard<std::mutex> lock(g_lifecycle);
    if (!stillUnused())
        return;
    if (const std::shared_ptr<NotificationThread> thread = ReplaceThread(nullptr))
        thread->Close();
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
    if (const std::shared_ptr<NotificationThread> thread = CurrentThread())
        thread->Post(std::move(delivery));
}

void SetNotificationDelivery(NotificationDelivery delivery)
{
    g_choice = delivery;
}

bool WaitForNotifications(DWORD timeoutMilliseconds)
{
    const std::shared_ptr<NotificationThread> thread = CurrentThread();
    return !thread || thread->WaitIdle(timeoutMilliseconds);
}
} // namespace mapisvc
