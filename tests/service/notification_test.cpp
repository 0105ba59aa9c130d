// Store notifications: the events saves publish, and their delivery on the service's notification thread or
// on the thread that initialised MAPI when it dispatches its window messages.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
// An advise sink that records the events it is given and the thread that gave them.
class RecordingSink : public IMAPIAdviseSink
{
public:
    struct Event
    {
        ULONG type;
        ULONG objectType;
        mapisvc::EntryId entryId;
        mapisvc::EntryId parentId;
        mapisvc::EntryId oldParentId;
        std::thread::id thread;
    };

    STDMETHODIMP QueryInterface(REFIID riid, LPVOID* ppv) override
    {
        if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IMAPIAdviseSink))
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (ULONG i = 0; i < cNotif; ++i)
        {
            const OBJECT_NOTIFICATION& obj = lpNotifications[i].info.obj;
            m_events.push_back({lpNotifications[i].ulEventType, obj.ulObjType, Bytes(obj.cbEntryID, obj.lpEntryID),
                                Bytes(obj.cbParentID, obj.lpParentID), Bytes(obj.cbOldParentID, obj.lpOldParentID),
                                std::this_thread::get_id()});
        }
        m_arrived.notify_all();
        return 0;
    }

    std::vector<Event> WaitFor(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait_for(lock, std::chrono::seconds(5), [&] { return m_events.size() >= count; });
        return m_events;
    }
    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }
    ULONG References() const { return m_refs; }

private:
    static mapisvc::EntryId Bytes(ULONG cb, LPENTRYID id)
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(id);
        return cb ? mapisvc::EntryId(bytes, bytes + cb) : mapisvc::EntryId();
    }

    std::atomic<ULONG> m_refs{1};
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Event> m_events;
};

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class NotificationTest : public ServiceTest
{
protected:
    ULONG Advise(IMsgStore* store, RecordingSink& sink, ULONG mask)
    {
        ULONG connection = 0;
        EXPECT_EQ(store->Advise(0, nullptr, mask, &sink, &connection), S_OK);
        EXPECT_NE(connection, 0u);
        return connection;
    }
};

TEST_F(NotificationTest, MultithreadedDeliveryRunsOnTheServiceThread)
{
    MapiInit init(MAPI_MULTITHREAD_NOTIFICATIONS);
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    RecordingSink sink;
    const ULONG connection = Advise(store.Get(), sink, fnevObjectCreated | fnevObjectModified | fnevObjectDeleted);
    EXPECT_EQ(sink.References(), 2u);

    const mapisvc::EntryId id = CreateMessage(inbox.Get(), u"first");
    {
        Ref<IMessage> message = OpenMessage(session.Get(), id);
        ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"changed")), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    SBinary bin = {static_cast<ULONG>(id.size()), const_cast<LPBYTE>(id.data())};
    ENTRYLIST list = {1, &bin};
    ASSERT_EQ(inbox->DeleteMessages(&list, 0, nullptr, 0), S_OK);

    const auto events = sink.WaitFor(3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, fnevObjectCreated);
    EXPECT_EQ(events[1].type, fnevObjectModified);
    EXPECT_EQ(events[2].type, fnevObjectDeleted);
    for (const auto& event : events)
    {
        EXPECT_EQ(event.objectType, MAPI_MESSAGE);
        EXPECT_EQ(event.entryId, id);
        EXPECT_EQ(event.parentId, EntryIdOf(inbox.Get()));
        EXPECT_NE(event.thread, std::this_thread::get_id());
    }

    ASSERT_EQ(store->Unadvise(connection), S_OK);
    ASSERT_TRUE(mapisvc::WaitForNotifications(5000));
    EXPECT_EQ(sink.References(), 1u);
    EXPECT_EQ(store->Unadvise(connection), MAPI_E_NOT_FOUND);
}

TEST_F(NotificationTest, WithoutMultithreadingSinksRunWhenTheInitialisingThreadDispatches)
{
    MapiInit init;
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    RecordingSink sink;
    const ULONG connection = Advise(store.Get(), sink, fnevObjectCreated);

    // Saved on another thread: the sink still runs here, when this thread pumps its messages.
    std::thread saver([&] { CreateMessage(inbox.Get(), u"from elsewhere"); });
    saver.join();
    EXPECT_TRUE(sink.Events().empty());
    PumpMessages();
    const auto events = sink.Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].thread, std::this_thread::get_id());
    ASSERT_EQ(store->Unadvise(connection), S_OK);
    EXPECT_EQ(sink.References(), 1u);
}

TEST_F(NotificationTest, MaskMovesAndCopies)
{
    MapiInit init;
    mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    Ref<IMAPIFolder> drafts = OpenFolder(store.Get(), GetBinary(inbox.Get(), PR_IPM_DRAFTS_ENTRYID));
    const mapisvc::EntryId id = CreateMessage(inbox.Get(), u"travelling");
    RecordingSink sink;
    const ULONG connection = Advise(store.Get(), sink, fnevObjectMoved | fnevObjectCopied);
    SBinary bin = {static_cast<ULONG>(id.size()), const_cast<LPBYTE>(id.data())};
    ENTRYLIST list = {1, &bin};
    ASSERT_EQ(inbox->CopyMessages(&list, nullptr, drafts.Get(), 0, nullptr, 0), S_OK);
    ASSERT_EQ(inbox->CopyMessages(&list, nullptr, drafts.Get(), 0, nullptr, MESSAGE_MOVE), S_OK);
    CreateMessage(inbox.Get(), u"not announced");
    const auto events = sink.WaitFor(2);
    ASSERT_TRUE(mapisvc::WaitForNotifications(5000));
    ASSERT_EQ(sink.Events().size(), 2u);
    EXPECT_EQ(events[0].type, fnevObjectCopied);
    EXPECT_NE(events[0].entryId, id);
    EXPECT_EQ(events[1].type, fnevObjectMoved);
    EXPECT_EQ(events[1].entryId, id);
    EXPECT_EQ(events[1].parentId, EntryIdOf(drafts.Get()));
    EXPECT_EQ(events[1].oldParentId, EntryIdOf(inbox.Get()));
    ASSERT_EQ(store->Unadvise(connection), S_OK);
}

TEST_F(NotificationTest, StoresWithoutNotifySupportRefuseAdvise)
{
    MapiInit init;
    ASSERT_EQ(mapisvc::CreateProfile(u"Quiet", true), S_OK);
    mapisvc::StoreOptions options;
    options.supportMask = STORE_UNICODE_OK | STORE_MODIFY_OK;
    mapisvc::EntryId id;
    ASSERT_EQ(mapisvc::AddStore(u"Quiet", options, &id), S_OK);
    Ref<IMAPISession> session = Logon(u"Quiet");
    Ref<IMsgStore> store = OpenStore(session.Get(), id);
    RecordingSink sink;
    ULONG connection = 0;
    EXPECT_EQ(store->Advise(0, nullptr, fnevObjectCreated, &sink, &connection), MAPI_E_NO_SUPPORT);
    EXPECT_EQ(sink.References(), 1u);
}

TEST_F(NotificationTest, ReleasingTheStoreEndsItsAdvises)
{
    MapiInit init(MAPI_MULTITHREAD_NOTIFICATIONS);
    Ref<IMAPISession> session = Logon();
    RecordingSink sink;
    {
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        Advise(store.Get(), sink, fnevObjectCreated);
    }
    ASSERT_TRUE(mapisvc::WaitForNotifications(5000));
    EXPECT_EQ(sink.References(), 1u);
}
} // namespace
