// Store notifications: CMAPIEx::Notify in both delivery modes, one advise at a time, kept while the session opens
// folders of the same store or another store, and ended by the next Notify or Logout on the store that made it;
// and the advise sink's COM behaviour.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "session/MAPIAdviseSink.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <atomic>

namespace
{
// What a host's callback saw.
struct Received
{
    std::atomic<int> nCalls{0};
    std::atomic<int> nObjectsCreated{0};
};

LONG STDMETHODCALLTYPE CountNotifications(LPVOID lpvContext, ULONG cNotification, LPNOTIFICATION lpNotifications)
{
    Received* pReceived = static_cast<Received*>(lpvContext);
    ++pReceived->nCalls;
    for (ULONG nNotification = 0; nNotification < cNotification; ++nNotification)
        pReceived->nObjectsCreated += lpNotifications[nNotification].ulEventType == fnevObjectCreated;
    return 1;
}

class NotifyTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Mailbox");
        mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
        ASSERT_TRUE(Session().OpenMessageStore());
    }

    // Creates a message in the Inbox through a session of its own, and waits until its notifications are out.
    void CreateMessageElsewhere()
    {
        {
            Ref<IMAPISession> session = Logon();
            Ref<IMsgStore> store = OpenStore(session.Get(), m_store);
            Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
            CreateMessage(inbox.Get(), u"news");
        }
        EXPECT_TRUE(mapisvc::WaitForNotifications(5000));
    }

    mapisvc::EntryId m_store;
};
} // namespace

TEST_F(NotifyTest, NotificationThreadCallsTheHostWithItsContext)
{
    Received received;
    ASSERT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    CreateMessageElsewhere();
    EXPECT_GE(received.nCalls, 1);
    EXPECT_EQ(received.nObjectsCreated, 1);
}

TEST_F(NotifyTest, InitialisingThreadGetsThemWhenItPumpsItsMessages)
{
    mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::InitialisingThread);
    Received received;
    ASSERT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    CreateMessageElsewhere();
    EXPECT_EQ(received.nCalls, 0);
    CMAPIEx::PumpMessages();
    EXPECT_EQ(received.nObjectsCreated, 1);
}

TEST_F(NotifyTest, SecondNotifyReplacesTheFirst)
{
    Received first;
    Received second;
    ASSERT_TRUE(Session().Notify(CountNotifications, &first, fnevObjectCreated));
    ASSERT_TRUE(Session().Notify(CountNotifications, &second, fnevObjectCreated));
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 1u);
    CreateMessageElsewhere();
    EXPECT_EQ(first.nCalls, 0);
    EXPECT_EQ(second.nObjectsCreated, 1);
}

TEST_F(NotifyTest, LogoutEndsTheAdvise)
{
    Received received;
    ASSERT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    Session().Logout();
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 1u);
    CreateMessageElsewhere();
    EXPECT_EQ(received.nCalls, 0);
}

TEST_F(NotifyTest, AdviseOutlivesOpeningAnotherStoreUntilTheNextNotify)
{
    const mapisvc::EntryId archive = AddStore(u"Personal Archive");
    SBinary archiveID = AsSBinary(archive);
    Received first;
    ASSERT_TRUE(Session().Notify(CountNotifications, &first, fnevObjectCreated));
    ASSERT_TRUE(Session().OpenMessageStore(archiveID));
    EXPECT_TRUE(CallsOf("IMsgStore", "Unadvise").empty());
    CreateMessageElsewhere();
    EXPECT_EQ(first.nObjectsCreated, 1) << "the host still hears of the store it advised";

    // The next Notify ends the advise on the store object that made it, and advises the store now open.
    ASSERT_TRUE(Session().OpenMessageStore());
    ASSERT_TRUE(Session().OpenMessageStore(archiveID));
    Received second;
    ASSERT_TRUE(Session().Notify(CountNotifications, &second, fnevObjectCreated));
    const std::vector<mapisvc::CallRecord> unadvised = CallsOf("IMsgStore", "Unadvise");
    ASSERT_EQ(unadvised.size(), 1u);
    EXPECT_EQ(unadvised[0].result, S_OK) << "ended on the store whose connection it is";
    CreateMessageElsewhere();
    EXPECT_EQ(first.nObjectsCreated, 1);
    EXPECT_EQ(second.nCalls, 0) << "the message went to the first store";
    Session().Logout();
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 2u);
}

TEST_F(NotifyTest, LogoutEndsAnAdviseKeptOnAnotherStore)
{
    const mapisvc::EntryId archive = AddStore(u"Personal Archive");
    SBinary archiveID = AsSBinary(archive);
    Received received;
    ASSERT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    ASSERT_TRUE(Session().OpenMessageStore(archiveID));
    const LONG objectsBefore = mapisvc::GetLiveObjectCount();
    Session().Logout();
    const std::vector<mapisvc::CallRecord> unadvised = CallsOf("IMsgStore", "Unadvise");
    ASSERT_EQ(unadvised.size(), 1u);
    EXPECT_EQ(unadvised[0].result, S_OK);
    EXPECT_LT(mapisvc::GetLiveObjectCount(), objectsBefore) << "the kept store is released";
    CreateMessageElsewhere();
    EXPECT_EQ(received.nCalls, 0);
}

TEST_F(NotifyTest, OpeningAFolderOfTheOpenStoreKeepsTheStoreAndItsAdvise)
{
    Received received;
    ASSERT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    IMsgStore* pStore = Session().GetMessageStore();
    mapisvc::EntryId inbox;
    {
        Ref<IMAPISession> session = Logon();
        inbox = EntryIdOf(OpenInbox(OpenStore(session.Get(), m_store).Get()).Get());
    }
    mapisvc::ClearCallLog();
    SBinary storeID = AsSBinary(m_store);
    SBinary inboxID = AsSBinary(inbox);
    for (int i = 0; i < 2; ++i)
    {
        CMAPIFolder folder;
        ASSERT_TRUE(Session().OpenFolder(storeID, inboxID, folder));
    }
    EXPECT_EQ(pStore, Session().GetMessageStore());
    EXPECT_TRUE(CallsOf("IMAPISession", "OpenMsgStore").empty());
    EXPECT_TRUE(CallsOf("IMsgStore", "Unadvise").empty());
    CreateMessageElsewhere();
    EXPECT_EQ(received.nObjectsCreated, 1);

    // A session that cannot compare the identifiers opens the store afresh, as it always did.
    ScopedFault compare("IMAPISession", "CompareEntryIDs");
    mapisvc::ClearCallLog();
    ASSERT_TRUE(Session().OpenMessageStore(storeID));
    EXPECT_EQ(CallsOf("IMAPISession", "OpenMsgStore").size(), 1u);
}

TEST_F(NotifyTest, StoreThatCannotNotifyIsNotAdvised)
{
    mapisvc::StoreOptions quiet;
    quiet.displayName = u"Quiet";
    quiet.supportMask = STORE_UNICODE_OK | STORE_MODIFY_OK;
    mapisvc::EntryId quietStore = AddStore(quiet);
    SBinary quietID = AsSBinary(quietStore);
    Received received;
    ASSERT_TRUE(Session().OpenMessageStore(quietID));
    EXPECT_FALSE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    EXPECT_EQ(CallsOf("IMsgStore", "Advise").size(), 0u);

    CMAPIEx withoutStore;
    EXPECT_FALSE(withoutStore.Notify(CountNotifications, &received, fnevObjectCreated));
}

TEST_F(NotifyTest, FailedAdviseLeavesNoAdvise)
{
    Received received;
    mapisvc::Fault advise;
    advise.interfaceName = "IMsgStore";
    advise.method = "Advise";
    const ULONG ulFault = mapisvc::InjectFault(advise);
    EXPECT_FALSE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
    Session().Logout();
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 0u);

    mapisvc::RemoveFault(ulFault);
    EndSession();
    ASSERT_TRUE(Session().OpenMessageStore());
    EXPECT_TRUE(Session().Notify(CountNotifications, &received, fnevObjectCreated));
}

TEST(MAPIAdviseSinkTest, AnswersOnlyIUnknownAndLivesByItsCount)
{
    Received received;
    CMAPIAdviseSink* pSink = new CMAPIAdviseSink(CountNotifications, &received);
    EXPECT_EQ(pSink->AddRef(), 1u);

    LPVOID pInterface = &received;
    EXPECT_EQ(pSink->QueryInterface(IID_IMAPIAdviseSink, &pInterface), E_NOINTERFACE);
    EXPECT_EQ(pInterface, &received);
    ASSERT_EQ(pSink->QueryInterface(IID_IUnknown, &pInterface), S_OK);
    EXPECT_EQ(pInterface, static_cast<IUnknown*>(pSink));
    EXPECT_EQ(pSink->AddRef(), 3u);

    NOTIFICATION notifications[2] = {};
    notifications[0].ulEventType = fnevObjectCreated;
    notifications[1].ulEventType = fnevObjectDeleted;
    EXPECT_EQ(pSink->OnNotify(2, notifications), 0u);
    EXPECT_EQ(received.nCalls, 1);
    EXPECT_EQ(received.nObjectsCreated, 1);

    EXPECT_EQ(pSink->Release(), 2u);
    EXPECT_EQ(pSink->Release(), 1u);
    EXPECT_EQ(pSink->Release(), 0u);
}

TEST(MAPIAdviseSinkTest, WithoutCallbackNotificationsAreDropped)
{
    CMAPIAdviseSink* pSink = new CMAPIAdviseSink(NULL, NULL);
    pSink->AddRef();
    NOTIFICATION notification = {};
    EXPECT_EQ(pSink->OnNotify(1, &notification), 0u);
    EXPECT_EQ(pSink->Release(), 0u);
}
