// Notifications against a store that another thread keeps changing: once Unadvise or Logout returns, the host's
// callback is never entered again and no call of it is still running. Each round waits for a callback to be under
// way before it ends the advise, so the end falls while callbacks are being made. Run it under ThreadSanitizer too
// (the tsan preset).
#include <mapipim/MAPIEx.h>

#include "session/MAPIAdviseSink.h"
#include "support/SessionFixture.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
// What the host's callback shares with the test: calls seen, and calls made or still running after the end.
struct Watch
{
    std::atomic<bool> ended{false};
    std::atomic<int> calls{0};
    std::atomic<int> lateCalls{0};
    std::mutex mutex;
    std::condition_variable called;
};

LONG STDMETHODCALLTYPE Watched(LPVOID lpvContext, ULONG, LPNOTIFICATION)
{
    Watch* watch = static_cast<Watch*>(lpvContext);
    if (watch->ended)
        ++watch->lateCalls;
    {
        std::lock_guard<std::mutex> lock(watch->mutex);
        ++watch->calls;
    }
    watch->called.notify_all();
    // Stays inside the callback a while, so that an end that does not wait for it would be seen.
    for (int i = 0; i < 200; ++i)
        std::this_thread::yield();
    if (watch->ended)
        ++watch->lateCalls;
    return 0;
}

// Waits until the callback has been entered at least once; false when it never was (the writer stopped).
bool WaitForACall(Watch& watch)
{
    std::unique_lock<std::mutex> lock(watch.mutex);
    return watch.called.wait_for(lock, std::chrono::seconds(30), [&] { return watch.calls > 0; });
}

class NotifyStressTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Busy");
        mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
        mapisvc::SetCallLogEnabled(false);
        ASSERT_TRUE(Session().OpenMessageStore());
        m_writer = std::thread([this] { Write(); });
    }

    void TearDown() override
    {
        m_stop = true;
        if (m_writer.joinable())
            m_writer.join();
        SessionTest::TearDown();
    }

    // Saves messages into the store's Inbox through a session of its own until the test ends.
    void Write()
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_store);
        Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
        while (!m_stop)
            CreateMessage(inbox.Get(), u"busy");
    }

    static const int kRounds = 25;
    mapisvc::EntryId m_store;
    std::atomic<bool> m_stop{false};
    std::thread m_writer;
};
} // namespace

TEST_F(NotifyStressTest, NoCallbackAfterUnadviseReturns)
{
    IMsgStore* store = Session().GetMessageStore();
    for (int round = 0; round < kRounds; ++round)
    {
        Watch watch;
        CMAPIAdviseSink* pSink = new CMAPIAdviseSink(Watched, &watch);
        pSink->AddRef();
        mapipim::ScopedInterface<CMAPIAdviseSink> sink(pSink);
        ULONG connection = 0;
        ASSERT_EQ(store->Advise(0, nullptr, fnevObjectCreated, sink.Get(), &connection), S_OK);
        ASSERT_TRUE(WaitForACall(watch)) << "round " << round;
        ASSERT_EQ(store->Unadvise(connection), S_OK);
        watch.ended = true;
        const int calls = watch.calls;
        for (int i = 0; i < 1000; ++i)
            std::this_thread::yield();
        EXPECT_EQ(watch.lateCalls, 0) << "round " << round;
        EXPECT_EQ(watch.calls, calls) << "round " << round;
    }
}

TEST_F(NotifyStressTest, NoCallbackAfterLogoutReturns)
{
    for (int round = 0; round < kRounds; ++round)
    {
        Watch watch;
        ASSERT_TRUE(Session().OpenMessageStore());
        ASSERT_TRUE(Session().Notify(Watched, &watch, fnevObjectCreated));
        ASSERT_TRUE(WaitForACall(watch)) << "round " << round;
        Session().Logout();
        watch.ended = true;
        const int calls = watch.calls;
        for (int i = 0; i < 1000; ++i)
            std::this_thread::yield();
        EXPECT_EQ(watch.lateCalls, 0) << "round " << round;
        EXPECT_EQ(watch.calls, calls) << "round " << round;
        ASSERT_TRUE(Session().Login(nullptr));
    }
}
