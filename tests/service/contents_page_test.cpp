// Messages opened one by one after their contents-table page was read: what this process changed or deleted
// since the page is what an open finds.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class ContentsPageTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        for (const char16_t* subject : {u"one", u"two", u"three"})
            ids.push_back(CreateMessage(Inbox(), subject));
        ASSERT_EQ(Inbox()->GetContentsTable(MAPI_UNICODE, table.Out()), S_OK);
        SizedSPropTagArray(1, columns) = {1, {PR_ENTRYID}};
        ASSERT_EQ(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    }
    void TearDown() override
    {
        table.Reset();
        DefaultStoreTest::TearDown();
    }

    size_t QueryPage()
    {
        Rows rows;
        EXPECT_EQ(table->QueryRows(10, 0, rows.Out()), S_OK);
        return rows.Get() ? rows->cRows : 0;
    }

    Ref<IMAPITable> table;
    std::vector<mapisvc::EntryId> ids;
};

TEST_F(ContentsPageTest, OpenFindsWhatWasSavedAfterThePage)
{
    ASSERT_EQ(QueryPage(), 3u);
    {
        Ref<IMessage> message = OpenMessage(Session(), ids[1]);
        ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"changed")), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    EXPECT_EQ(GetString(OpenMessage(Session(), ids[1]).Get(), PR_SUBJECT_W), u"changed");
    EXPECT_EQ(GetString(OpenMessage(Session(), ids[2]).Get(), PR_SUBJECT_W), u"three");
}

TEST_F(ContentsPageTest, OpenOfAMessageDeletedAfterThePageFails)
{
    ASSERT_EQ(QueryPage(), 3u);
    SBinary entry = AsSBinary(ids[0]);
    ENTRYLIST list = {1, &entry};
    ASSERT_EQ(Inbox()->DeleteMessages(&list, 0, nullptr, 0), S_OK);
    ULONG type = 0;
    Ref<IUnknown> opened;
    EXPECT_EQ(Session()->OpenEntry(entry.cb, reinterpret_cast<LPENTRYID>(entry.lpb), nullptr, 0, &type, opened.Out()),
              MAPI_E_NOT_FOUND);
    EXPECT_EQ(GetString(OpenMessage(Session(), ids[1]).Get(), PR_SUBJECT_W), u"two");
}

TEST_F(ContentsPageTest, EveryMessageOfThePageOpensWholeOnceAndAgain)
{
    const std::u16string subjects[] = {u"one", u"two", u"three"};
    ASSERT_EQ(QueryPage(), 3u);
    for (int round = 0; round < 2; ++round)
        for (size_t i = 0; i < ids.size(); ++i)
        {
            Ref<IMessage> message = OpenMessage(Session(), ids[i]);
            EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), subjects[i]) << "round " << round;
            EXPECT_TRUE(HasProp(message.Get(), PR_LAST_MODIFICATION_TIME)) << "round " << round;
        }
}
} // namespace
