// Notifications while MAPI itself starts and stops: threads that initialise MAPI, log on, advise, save, unadvise
// and log off again, each on its own schedule, so that the service's first initialisation and its last uninitialisation
// fall while other threads are saving and being notified. Once Unadvise or Logout returns, a callback is never
// entered again; the notification thread belongs to the initialised service; the message window of the
// initialising thread goes even when another thread uninitialises MAPI. Run it under ThreadSanitizer too (the
// tsan preset).
#include "platform/win32/WindowTable.h"
#include "session/MAPIAdviseSink.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <atomic>
#include <memory>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace
{
// A one-way signal between two threads.
class Signal
{
public:
    void Raise()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_raised = true;
        }
        m_changed.notify_all();
    }
    bool Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_raised; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_raised = false;
};

// What one advise's callback shares with its thread: calls seen, and calls entered after the advise ended.
struct Watch
{
    std::atomic<bool> ended{false};
    std::atomic<int> calls{0};
    std::atomic<int> lateCalls{0};
    Signal firstCall;
};

LONG STDMETHODCALLTYPE Watched(LPVOID lpvContext, ULONG, LPNOTIFICATION)
{
    Watch* watch = static_cast<Watch*>(lpvContext);
    if (watch->ended)
        ++watch->lateCalls;
    if (++watch->calls == 1)
        watch->firstCall.Raise();
    std::this_thread::yield();
    if (watch->ended)
        ++watch->lateCalls;
    return 0;
}

class NotifyLifecycleTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(), S_OK);
        mapisvc::SetCallLogEnabled(false);
    }

    // Saves messages into the default store's Inbox in short bursts, each under an initialisation of its own, so
    // that MAPI keeps being initialised and uninitialised around the other threads.
    void Save()
    {
        while (!m_stop)
        {
            MapiInit init(MAPI_MULTITHREAD_NOTIFICATIONS);
            Ref<IMAPISession> session = Logon();
            Ref<IMsgStore> store = OpenDefaultStore(session.Get());
            Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
            for (int i = 0; i < 3 && !m_stop; ++i)
                CreateMessage(inbox.Get(), u"busy");
        }
    }

    // Rounds of: initialise, log on, advise on the store, wait for a callback, then end the advise by Unadvise
    // (even rounds) or by releasing the store and logging off (odd rounds), and uninitialise. Counts the callbacks
    // entered after the end.
    void Advise(int nRounds)
    {
        for (int round = 0; round < nRounds; ++round)
        {
            MapiInit init(MAPI_MULTITHREAD_NOTIFICATIONS);
            Ref<IMAPISession> session = Logon();
            Watch watch;
            {
                Ref<IMsgStore> store = OpenDefaultStore(session.Get());
                auto* pSink = new CMAPIAdviseSink(Watched, &watch);
                pSink->AddRef();
                mapipim::ScopedInterface<CMAPIAdviseSink> sink(pSink);
                ULONG connection = 0;
                ASSERT_EQ(store->Advise(0, nullptr, fnevObjectCreated, sink.Get(), &connection), S_OK);
                ASSERT_TRUE(watch.firstCall.Wait()) << "round " << round;
                if (round % 2 == 0)
                    ASSERT_EQ(store->Unadvise(connection), S_OK);
            }
            if (round % 2 != 0)
                EXPECT_EQ(session->Logoff(0, 0, 0), S_OK);
            watch.ended = true;
            const int calls = watch.calls;
            std::this_thread::yield();
            m_lateCalls += watch.lateCalls + (watch.calls - calls);
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<int> m_lateCalls{0};
};

size_t WindowCount()
{
    return mapipim::win32::WindowTable::Instance().Count();
}
} // namespace

TEST_F(NotifyLifecycleTest, NoCallbackAfterTheEndWhileMapiStartsAndStopsOnOtherThreads)
{
    mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
    std::vector<std::thread> savers;
    for (int i = 0; i < 2; ++i)
        savers.emplace_back([this] { Save(); });
    std::vector<std::thread> advisers;
    for (int i = 0; i < 3; ++i)
        advisers.emplace_back([this] { Advise(6); });
    for (std::thread& adviser : advisers)
        adviser.join();
    m_stop = true;
    for (std::thread& saver : savers)
        saver.join();
    EXPECT_EQ(m_lateCalls, 0);
    EXPECT_TRUE(mapisvc::WaitForNotifications(1000)) << "MAPI is no longer initialised: nothing is left to deliver";
}

TEST_F(NotifyLifecycleTest, AnObjectKeptPastTheLastUninitialiseNotifiesNobody)
{
    mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
    Watch watch;
    auto init = std::make_unique<MapiInit>(MAPI_MULTITHREAD_NOTIFICATIONS);
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    auto* pSink = new CMAPIAdviseSink(Watched, &watch);
    pSink->AddRef();
    mapipim::ScopedInterface<CMAPIAdviseSink> sink(pSink);
    ULONG connection = 0;
    ASSERT_EQ(store->Advise(0, nullptr, fnevObjectCreated, sink.Get(), &connection), S_OK);
    CreateMessage(inbox.Get(), u"while initialised");
    ASSERT_TRUE(watch.firstCall.Wait());
    ASSERT_TRUE(mapisvc::WaitForNotifications(5000));
    const int calls = watch.calls;

    init.reset(); // the last MAPIUninitialize: the notification thread is joined and not made again
    CreateMessage(inbox.Get(), u"after the end");
    EXPECT_TRUE(mapisvc::WaitForNotifications(5000));
    EXPECT_EQ(watch.calls, calls);
    EXPECT_EQ(store->Unadvise(connection), S_OK);
}

TEST_F(NotifyLifecycleTest, UninitialisingOnAnotherThreadClosesTheWindowAtItsThreadsNextDispatch)
{
    const size_t nWindowsBefore = WindowCount();
    Signal initialised, uninitialised, dispatched;
    size_t nWindowsAfterDispatch = 0;
    std::thread initialising([&] {
        ASSERT_EQ(MAPIInitialize(nullptr), S_OK); // notifications by window: the window is this thread's
        initialised.Raise();
        uninitialised.Wait();
        MSG msg = {};
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        nWindowsAfterDispatch = WindowCount(); // while the thread lives: its windows would end with it
        dispatched.Raise();
    });
    ASSERT_TRUE(initialised.Wait());
    EXPECT_EQ(WindowCount(), nWindowsBefore + 1);
    MAPIUninitialize();
    uninitialised.Raise();
    ASSERT_TRUE(dispatched.Wait());
    initialising.join();
    EXPECT_EQ(nWindowsAfterDispatch, nWindowsBefore);

    // MAPI starts again afterwards with a window of its own, ended by the thread that made it.
    ASSERT_EQ(MAPIInitialize(nullptr), S_OK);
    EXPECT_EQ(WindowCount(), nWindowsBefore + 1);
    MAPIUninitialize();
    EXPECT_EQ(WindowCount(), nWindowsBefore);
}
