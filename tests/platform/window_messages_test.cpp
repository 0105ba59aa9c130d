// Registered messages, message windows and the per-thread queues that carry progress to a host.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace
{
struct Received
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::thread::id thread;
};

// What a window procedure saw; reached through the window's context as a host would reach its own object.
struct Recorder
{
    std::mutex mutex;
    std::vector<Received> messages;
    LRESULT result = 0;

    std::vector<Received> Snapshot()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return messages;
    }
};

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pRecorder = static_cast<Recorder*>(GetWindowContext(hWnd));
    std::lock_guard<std::mutex> lock(pRecorder->mutex);
    pRecorder->messages.push_back({message, wParam, lParam, std::this_thread::get_id()});
    return pRecorder->result + static_cast<LRESULT>(wParam);
}

int PumpAll()
{
    int nCount = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++nCount;
    }
    return nCount;
}

// Pumps the calling thread's queue until `done` holds, at most a few seconds.
template <typename Done> bool PumpUntil(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        PumpAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Waits, without handling it, until another thread's message sent to one of this thread's windows is queued.
bool AwaitSentMessage()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE))
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

class WindowMessagesTest : public testing::Test
{
protected:
    void SetUp() override { m_hWnd = CreateMessageWindow(RecordingProc, &m_recorder); }
    void TearDown() override
    {
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
        PumpAll();
    }

    Recorder m_recorder;
    HWND m_hWnd = nullptr;
};
} // namespace

TEST(RegisterWindowMessageTest, SameNameSameNumberDistinctNamesDistinctNumbers)
{
    const UINT nStore = RegisterWindowMessageW(u"WM_MAPI_GET_STOREINFO");
    const UINT nContents = RegisterWindowMessageW(u"WM_MAPI_GET_CONTENTS");
    EXPECT_GE(nStore, 0xC000u);
    EXPECT_LE(nStore, 0xFFFFu);
    EXPECT_GE(nContents, 0xC000u);
    EXPECT_NE(nStore, nContents);
    EXPECT_EQ(RegisterWindowMessageW(u"WM_MAPI_GET_STOREINFO"), nStore);
    EXPECT_EQ(RegisterWindowMessageW(u"wm_mapi_get_storeinfo"), nStore);
    EXPECT_EQ(RegisterWindowMessageW(u"\u00E9t\u00E9"), RegisterWindowMessageW(u"\u00C9T\u00C9"));
}

TEST(RegisterWindowMessageTest, EmptyAndOverlongNamesFail)
{
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(std::u16string(256, u'x').c_str()), 0u);
    EXPECT_NE(RegisterWindowMessageW(std::u16string(255, u'x').c_str()), 0u);
}

TEST(RegisterWindowMessageTest, ThreadsRegisteringTheSameNamesAgree)
{
    auto registerAll = []
    {
        std::vector<UINT> numbers;
        for (int i = 0; i < 50; ++i)
        {
            const std::string strName = "Concurrent" + std::to_string(i);
            numbers.push_back(RegisterWindowMessageW(std::u16string(strName.begin(), strName.end()).c_str()));
        }
        return numbers;
    };
    auto first = std::async(std::launch::async, registerAll);
    auto second = std::async(std::launch::async, registerAll);
    const std::vector<UINT> numbers = first.get();
    EXPECT_EQ(numbers, second.get());
    EXPECT_EQ(std::set<UINT>(numbers.begin(), numbers.end()).size(), numbers.size());
}

TEST_F(WindowMessagesTest, SendCallsTheProcedureAtOnceAndReturnsItsResult)
{
    m_recorder.result = 100;
    EXPECT_EQ(SendMessageW(m_hWnd, WM_USER + 1, 5, 7), 105);
    const std::vector<Received> messages = m_recorder.Snapshot();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(messages[0].lParam, 7);
    EXPECT_EQ(messages[0].thread, std::this_thread::get_id());
    EXPECT_EQ(GetWindowContext(m_hWnd), &m_recorder);
}

TEST_F(WindowMessagesTest, PostedMessagesArriveInOrderWhenDispatched)
{
    for (WPARAM i = 0; i < 3; ++i)
        EXPECT_TRUE(PostMessageW(m_hWnd, WM_USER, i, 0));
    EXPECT_TRUE(m_recorder.Snapshot().empty());

    EXPECT_EQ(PumpAll(), 3);
    const std::vector<Received> messages = m_recorder.Snapshot();
    ASSERT_EQ(messages.size(), 3u);
    for (WPARAM i = 0; i < 3; ++i)
        EXPECT_EQ(messages[i].wParam, i);
}

TEST_F(WindowMessagesTest, QueueStatusShowsWhatWaitsOnlyForTheAskedKinds)
{
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE), 0u);
    ASSERT_TRUE(PostMessageW(m_hWnd, WM_USER, 0, 0));
    EXPECT_EQ(HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE)), QS_POSTMESSAGE);
    EXPECT_EQ(GetQueueStatus(QS_SENDMESSAGE), 0u);
    EXPECT_EQ(PumpAll(), 1);
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
}

TEST_F(WindowMessagesTest, PeekFiltersByWindowAndRangeAndMayLeaveTheMessage)
{
    Recorder other;
    const HWND hOther = CreateMessageWindow(RecordingProc, &other);
    PostMessageW(hOther, WM_USER + 5, 1, 0);
    PostMessageW(m_hWnd, WM_USER + 9, 2, 0);
    PostMessageW(m_hWnd, WM_USER + 5, 3, 0);

    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, m_hWnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&msg, m_hWnd, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(msg.hwnd, m_hWnd);
    EXPECT_FALSE(PeekMessageW(&msg, m_hWnd, WM_USER + 6, WM_USER + 8, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.hwnd, hOther);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(hOther);
}

TEST_F(WindowMessagesTest, ThreadMessagesHaveNoWindow)
{
    EXPECT_TRUE(PostMessageW(nullptr, WM_APP, 4, 0));
    MSG msg = {};
    EXPECT_FALSE(PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(DispatchMessageW(&msg), 0);
}

TEST_F(WindowMessagesTest, PeekOnAnEmptyQueueReturnsAtOnce)
{
    auto peek = std::async(std::launch::async,
                           []
                           {
                               MSG msg;
                               return PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
                           });
    ASSERT_EQ(peek.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(peek.get());
}

TEST_F(WindowMessagesTest, DestroyedWindowsGetNothingAndHandlesAreNotReused)
{
    PostMessageW(m_hWnd, WM_USER, 1, 0);
    const HWND hOld = m_hWnd;
    EXPECT_TRUE(DestroyWindow(hOld));

    std::vector<Received> messages = m_recorder.Snapshot();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(PumpAll(), 0);
    EXPECT_FALSE(IsWindow(hOld));
    EXPECT_EQ(SendMessageW(hOld, WM_USER, 1, 0), 0);
    EXPECT_FALSE(PostMessageW(hOld, WM_USER, 1, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(hOld));
    EXPECT_EQ(GetWindowContext(hOld), nullptr);
    EXPECT_EQ(m_recorder.Snapshot().size(), 1u);

    m_hWnd = CreateMessageWindow(RecordingProc, &m_recorder);
    EXPECT_NE(m_hWnd, hOld);
}

TEST_F(WindowMessagesTest, DesktopIsAWindowButNoMessageTarget)
{
    const HWND hDesktop = GetDesktopWindow();
    EXPECT_NE(hDesktop, nullptr);
    EXPECT_EQ(hDesktop, GetDesktopWindow());
    EXPECT_TRUE(IsWindow(hDesktop));
    EXPECT_NE(hDesktop, m_hWnd);
    EXPECT_FALSE(PostMessageW(hDesktop, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(hDesktop, WM_USER, 1, 0), 0);
    EXPECT_FALSE(DestroyWindow(hDesktop));
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_EQ(CreateMessageWindow(nullptr, nullptr), nullptr);
}

TEST_F(WindowMessagesTest, PostFromAnotherThreadLandsInTheOwnersQueueOnly)
{
    const HWND hWnd = m_hWnd;
    std::thread(
        [hWnd]
        {
            EXPECT_TRUE(PostMessageW(hWnd, WM_USER + 2, 9, 0));
            MSG msg;
            EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        })
        .join();

    EXPECT_TRUE(m_recorder.Snapshot().empty());
    EXPECT_EQ(PumpAll(), 1);
    const std::vector<Received> messages = m_recorder.Snapshot();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, 9u);
    EXPECT_EQ(messages[0].thread, std::this_thread::get_id());
}

TEST_F(WindowMessagesTest, SendFromAnotherThreadWaitsForTheOwnerToHandleIt)
{
    m_recorder.result = 40;
    const HWND hWnd = m_hWnd;
    std::atomic<bool> bReturned{false};
    auto sender = std::async(std::launch::async,
                             [&]
                             {
                                 const LRESULT result = SendMessageW(hWnd, WM_USER + 3, 2, 0);
                                 bReturned = true;
                                 return result;
                             });

    ASSERT_TRUE(AwaitSentMessage());
    EXPECT_FALSE(bReturned);
    EXPECT_TRUE(m_recorder.Snapshot().empty());

    ASSERT_TRUE(PumpUntil([&] { return bReturned.load(); }));
    EXPECT_EQ(sender.get(), 42);
    const std::vector<Received> messages = m_recorder.Snapshot();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].thread, std::this_thread::get_id());
}

TEST_F(WindowMessagesTest, ThreadsSendingToEachOtherDoNotDeadlock)
{
    // The worker's window answers by sending back to ours while our send to it is still waiting.
    const HWND hMain = m_hWnd;
    std::promise<HWND> workerWindow;
    std::atomic<bool> bStop{false};
    std::thread worker(
        [&]
        {
            const HWND hWorker = CreateMessageWindow(
                [](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT
                { return SendMessageW(reinterpret_cast<HWND>(lParam), message, wParam + 1, 0) + 1000; },
                nullptr);
            workerWindow.set_value(hWorker);
            while (!bStop)
            {
                PumpAll();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            DestroyWindow(hWorker);
        });
    const HWND hWorker = workerWindow.get_future().get();

    EXPECT_EQ(SendMessageW(hWorker, WM_USER, 1, reinterpret_cast<LPARAM>(hMain)), 1002);
    bStop = true;
    worker.join();
    ASSERT_EQ(m_recorder.Snapshot().size(), 1u);
}

TEST(WindowThreadTest, WindowsEndWithTheirThreadAndWaitingSendersAreReleased)
{
    Recorder recorder;
    std::promise<HWND> made;
    std::promise<void> sending;
    bool bSenderWaited = false;
    std::thread owner(
        [&]
        {
            made.set_value(CreateMessageWindow(RecordingProc, &recorder));
            sending.get_future().wait();
            // The thread ends with the sent message still waiting in its queue, never handled.
            bSenderWaited = AwaitSentMessage();
        });
    const HWND hWnd = made.get_future().get();
    EXPECT_TRUE(IsWindow(hWnd));

    auto sender = std::async(std::launch::async, [hWnd] { return SendMessageW(hWnd, WM_USER, 5, 0); });
    sending.set_value();
    owner.join();
    EXPECT_TRUE(bSenderWaited);

    ASSERT_EQ(sender.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(sender.get(), 0);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_FALSE(PostMessageW(hWnd, WM_USER, 0, 0));
    EXPECT_TRUE(recorder.Snapshot().empty());
}

TEST(WindowThreadTest, OnlyTheOwnerDestroysOrDispatches)
{
    Recorder recorder;
    const HWND hWnd = CreateMessageWindow(RecordingProc, &recorder);
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_USER;
    std::thread(
        [&]
        {
            EXPECT_FALSE(DestroyWindow(hWnd));
            EXPECT_EQ(DispatchMessageW(&msg), 0);
        })
        .join();
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_TRUE(recorder.Snapshot().empty());
    EXPECT_TRUE(DestroyWindow(hWnd));
}
