// CMAPIItem: opening, creating, saving and closing, and the cached entry identifier.
#include "ItemTestFixture.h"

namespace
{
class MAPIItemLifetimeTest : public ItemTest
{
};

mapisvc::Fault EntryIdReadFault()
{
    mapisvc::Fault fault;
    fault.interfaceName = "IMessage";
    fault.method = "GetProps";
    fault.propTag = PR_ENTRYID;
    return fault;
}

mapisvc::EntryId Bytes(const SBinary& bin)
{
    return mapisvc::EntryId(bin.lpb, bin.lpb + bin.cb);
}
} // namespace

TEST_F(MAPIItemLifetimeTest, NewItemIsClosed)
{
    EXPECT_EQ(m_item.Object(), nullptr);
    EXPECT_EQ(m_item.Session(), nullptr);
    EXPECT_EQ(m_item.GetEntryID()->cb, 0u);
    LPSPropValue pValue = nullptr;
    EXPECT_EQ(m_item.GetProperty(PR_SUBJECT_W, pValue), E_INVALIDARG);
    EXPECT_EQ(pValue, nullptr);
}

TEST_F(MAPIItemLifetimeTest, OpenUsesBestAccessAndCachesTheEntryId)
{
    ASSERT_TRUE(OpenMessage());
    EXPECT_NE(m_item.Object(), nullptr);
    EXPECT_EQ(m_item.Session(), &m_mapi);
    const std::vector<mapisvc::CallRecord> opens = CallsOf("IMAPISession", "OpenEntry");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].flags, static_cast<ULONG>(MAPI_BEST_ACCESS));
    // The identifier and the store's record key in one read; the first item of a store the session has not
    // opened also names its store, which is asked once whether it holds UTF-16.
    std::vector<mapisvc::CallRecord> reads = CallsOf("IMessage", "GetProps");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].flags, MAPI_UNICODE);
    EXPECT_EQ(reads[0].propTags, (std::vector<ULONG>{PR_ENTRYID, PR_STORE_RECORD_KEY}));
    EXPECT_EQ(reads[1].propTags, std::vector<ULONG>{PR_STORE_ENTRYID});
    ItemUnderTest second;
    SBinary entryID = MessageID();
    mapisvc::ClearCallLog();
    ASSERT_TRUE(second.Open(&m_mapi, entryID));
    reads = CallsOf("IMessage", "GetProps");
    ASSERT_EQ(reads.size(), 1u) << "the store is known now";
    EXPECT_TRUE(CallsOf("IMAPISession", "OpenMsgStore").empty());

    mapisvc::ClearCallLog();
    EXPECT_EQ(Bytes(*m_item.GetEntryID()), m_messageID);
    EXPECT_TRUE(mapisvc::GetCallLog().empty()) << "a cached entry identifier is not read again";
    CString strEntryID;
    EXPECT_TRUE(m_item.GetEntryIDString(strEntryID));
    EXPECT_EQ(strEntryID.GetLength(), static_cast<int>(2 * m_messageID.size()));
}

TEST_F(MAPIItemLifetimeTest, OpenFailsWithoutSessionOrWhenOpenEntryFails)
{
    SBinary entryID = MessageID();
    EXPECT_FALSE(m_item.Open(nullptr, entryID));
    CMAPIEx loggedOff;
    EXPECT_FALSE(m_item.Open(&loggedOff, entryID));

    ScopedFault fault("IMAPISession", "OpenEntry");
    EXPECT_FALSE(OpenMessage());
    EXPECT_EQ(m_item.Object(), nullptr);
}

TEST_F(MAPIItemLifetimeTest, OpenOverAnOpenItemReleasesThePreviousObject)
{
    ASSERT_TRUE(OpenMessage());
    const LONG nObjects = mapisvc::GetLiveObjectCount();
    ASSERT_TRUE(OpenMessage());
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), nObjects);
}

TEST_F(MAPIItemLifetimeTest, UnreadableEntryIdLeavesTheCacheEmptyAndIsReadAgainLater)
{
    {
        ScopedFault fault(EntryIdReadFault());
        ASSERT_TRUE(OpenMessage()) << "opening succeeds without the entry identifier";
        SBinary* pEntryID = m_item.GetEntryID();
        ASSERT_NE(pEntryID, nullptr);
        EXPECT_EQ(pEntryID->cb, 0u);
        CString strEntryID = _T("previous");
        EXPECT_FALSE(m_item.GetEntryIDString(strEntryID));
        EXPECT_EQ(strEntryID, CString(_T("previous")));
    }
    EXPECT_EQ(Bytes(*m_item.GetEntryID()), m_messageID);
}

TEST_F(MAPIItemLifetimeTest, SetEntryIdCopiesAndNullClears)
{
    BYTE bytes[] = {1, 2, 3};
    SBinary entryID = {3, bytes};
    m_item.SetEntryID(&entryID);
    bytes[0] = 9;
    EXPECT_EQ(Bytes(*m_item.GetEntryID()), (mapisvc::EntryId{1, 2, 3}));
    m_item.SetEntryID(m_item.GetEntryID());
    EXPECT_EQ(Bytes(*m_item.GetEntryID()), (mapisvc::EntryId{1, 2, 3})) << "setting the cache to itself keeps it";
    m_item.SetEntryID(nullptr);
    EXPECT_EQ(m_item.GetEntryID()->cb, 0u);
    EXPECT_EQ(m_item.GetEntryID()->lpb, nullptr);
}

TEST_F(MAPIItemLifetimeTest, SaveKeepsOpenOrClosesAsAsked)
{
    ASSERT_TRUE(OpenMessage());
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("First")));
    ASSERT_TRUE(m_item.Save(FALSE));
    EXPECT_NE(m_item.Object(), nullptr);
    EXPECT_EQ(CallsOf("IMessage", "SaveChanges").back().flags, static_cast<ULONG>(KEEP_OPEN_READWRITE));
    EXPECT_EQ(GetString(RawMessage().Get(), PR_SUBJECT_W), u"First");

    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Second")));
    ASSERT_TRUE(m_item.Save(TRUE));
    EXPECT_EQ(m_item.Object(), nullptr);
    EXPECT_EQ(m_item.GetEntryID()->cb, 0u);
    EXPECT_EQ(CallsOf("IMessage", "SaveChanges").back().flags, 0u);
    EXPECT_EQ(GetString(RawMessage().Get(), PR_SUBJECT_W), u"Second");
}

TEST_F(MAPIItemLifetimeTest, SaveFailsWithoutObjectOrWhenSaveChangesFails)
{
    EXPECT_FALSE(m_item.Save(TRUE));
    ASSERT_TRUE(OpenMessage());
    ScopedFault fault("IMessage", "SaveChanges");
    EXPECT_FALSE(m_item.Save(TRUE));
    EXPECT_NE(m_item.Object(), nullptr) << "a failed save keeps the item open";
}

TEST_F(MAPIItemLifetimeTest, CreateMakesAMessageInTheGivenOrTheCurrentFolder)
{
    ASSERT_TRUE(m_item.Create(&m_mapi, m_pInbox));
    EXPECT_EQ(m_item.Session(), &m_mapi);
    EXPECT_EQ(CallsOf("IMAPIFolder", "CreateMessage").at(0).flags, 0u);
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Created")));
    ASSERT_TRUE(m_item.Save(FALSE));
    const mapisvc::EntryId created = Bytes(*m_item.GetEntryID());
    ASSERT_FALSE(created.empty()) << "a saved message has its entry identifier read on demand";
    EXPECT_EQ(GetString(::OpenMessage(m_mapi.GetSession(), created).Get(), PR_SUBJECT_W), u"Created");

    m_mapi.SetFolder(new HeldFolder(m_pInbox->Folder()));
    ItemUnderTest second;
    EXPECT_TRUE(second.Create(&m_mapi, nullptr));
    EXPECT_NE(second.Object(), nullptr);
}

TEST_F(MAPIItemLifetimeTest, CreateFailures)
{
    EXPECT_FALSE(m_item.Create(nullptr, m_pInbox));
    EXPECT_FALSE(m_item.Create(&m_mapi, nullptr)) << "no folder given and none current";
    CMAPIFolder closedFolder;
    EXPECT_FALSE(m_item.Create(&m_mapi, &closedFolder));
    ScopedFault fault("IMAPIFolder", "CreateMessage");
    EXPECT_FALSE(m_item.Create(&m_mapi, m_pInbox));
    EXPECT_EQ(m_item.Object(), nullptr);
}

TEST_F(MAPIItemLifetimeTest, DestructorReleasesTheObject)
{
    // The session keeps the store that its first OpenEntry reached; count from there.
    ASSERT_TRUE(OpenMessage());
    m_item.Close();
    const LONG nObjects = mapisvc::GetLiveObjectCount();
    {
        ItemUnderTest item;
        SBinary entryID = MessageID();
        ASSERT_TRUE(item.Open(&m_mapi, entryID));
        EXPECT_GT(mapisvc::GetLiveObjectCount(), nObjects);
    }
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), nObjects);
}

TEST_F(MAPIItemLifetimeTest, MessageFlagsOfTheOpenItem)
{
    EXPECT_EQ(m_item.GetMessageFlags(), 0);
    ASSERT_TRUE(OpenMessage());
    const LONG nRawFlags = GetLong(RawMessage().Get(), PR_MESSAGE_FLAGS, -1);
    ASSERT_NE(nRawFlags, 0) << "a saved message carries flags";
    EXPECT_EQ(m_item.GetMessageFlags(), nRawFlags);
}

TEST_F(MAPIItemLifetimeTest, OpenForReadIdentifiesTheObjectWhenAskedBeforeABatchRead)
{
    ASSERT_TRUE(OpenMessage());
    const std::shared_ptr<mapipim::StoreFacts> pStore = m_item.GetStoreFacts();
    ASSERT_NE(pStore, nullptr);
    ItemUnderTest later;
    SBinary entryID = MessageID();
    mapisvc::ClearCallLog();
    ASSERT_TRUE(later.OpenForRead(&m_mapi, entryID));
    EXPECT_TRUE(later.IsIdentityPending());
    EXPECT_TRUE(CallsOf("IMessage", "GetProps").empty()) << "who the object is waits for its first batch";

    EXPECT_EQ(later.GetStoreFacts(), pStore);
    EXPECT_FALSE(later.IsIdentityPending());
    EXPECT_EQ(CallsOf("IMessage", "GetProps").size(), 1u);
    EXPECT_EQ(Bytes(*later.GetEntryID()), m_messageID);
    EXPECT_EQ(CallsOf("IMessage", "GetProps").size(), 1u) << "identified once";

    ItemUnderTest asked;
    ASSERT_TRUE(asked.OpenForRead(&m_mapi, entryID));
    EXPECT_EQ(Bytes(*asked.GetEntryID()), m_messageID) << "the identifier alone identifies it too";
    EXPECT_EQ(asked.GetStoreFacts(), pStore);
    asked.Close();
    EXPECT_FALSE(asked.IsIdentityPending());
    EXPECT_EQ(asked.GetStoreFacts(), nullptr);
}
