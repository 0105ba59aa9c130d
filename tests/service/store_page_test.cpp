// A table's page kept for opening: its messages open from the snapshot the page was read in, without holding
// back other processes once the page is done, and never in place of what this process wrote since.
#include "platform/mapi/StoreDatabase.h"
#include "platform/mapi/Text.h"
#include "support/ServiceFixture.h"

namespace
{
class StorePageTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::StoreDatabase::Create(Path(), mapisvc::NewMAPIUID(), true, true), S_OK);
        ASSERT_EQ(mapisvc::StoreDatabase::Open(Path(), store), S_OK);
        ASSERT_EQ(mapisvc::Database::Open(Path(), false, other), S_OK);
        ASSERT_EQ(other->Execute("PRAGMA busy_timeout=0"), S_OK);
        folder = store->RoleFolder(mapisvc::FolderRole::Inbox);
        for (const char16_t* subject : {u"one", u"two", u"three"})
            ids.push_back(WriteMessage(subject));
    }

    void TearDown() override
    {
        other.reset();
        store.reset();
        ServiceTest::TearDown();
    }

    std::string Path() const { return Home() + "/page.db"; }

    static std::string Blob(const char16_t* subject)
    {
        mapisvc::PropertyBag props;
        props.Set(PR_SUBJECT_W, mapisvc::EncodeUnicode(subject));
        return props.Serialize();
    }

    // A message row written by another process.
    int64_t WriteMessage(const char16_t* subject)
    {
        mapisvc::Query insert = other->Prepare("INSERT INTO object(type, parent, props) VALUES(5, ?, ?)");
        EXPECT_EQ(insert.Bind(1, folder).BindBlob(2, Blob(subject)).Run(), S_OK);
        return other->LastInsertId();
    }

    HRESULT Rename(int64_t id, const char16_t* subject)
    {
        return other->Prepare("UPDATE object SET props = ? WHERE id = ?").BindBlob(1, Blob(subject)).Bind(2, id).Run();
    }

    std::u16string SubjectOf(int64_t id)
    {
        mapisvc::ObjectRecord record;
        if (store->LoadObject(id, record) != S_OK)
            return u"(none)";
        const mapisvc::Prop* subject = record.props.Find(PROP_ID(PR_SUBJECT_W));
        return subject ? mapisvc::BytesToUtf16(subject->data) : u"(no subject)";
    }

    HRESULT ReadPage(size_t limit = 10)
    {
        std::vector<mapisvc::ObjectRecord> messages;
        const std::vector<ULONG> wanted{PROP_ID(PR_ENTRYID)};
        HRESULT hr = store->ScanPage(this, folder, 0, limit, &wanted, messages);
        pageSize = messages.size();
        return hr;
    }

    bool OtherCanCheckpointEverything()
    {
        mapisvc::Query query = other->Prepare("PRAGMA wal_checkpoint(TRUNCATE)");
        return query.Step() && query.Int(0) == 0;
    }

    std::shared_ptr<mapisvc::StoreDatabase> store;
    std::unique_ptr<mapisvc::Database> other;
    int64_t folder = 0;
    std::vector<int64_t> ids;
    size_t pageSize = 0;
};

TEST_F(StorePageTest, MessagesOfThePageOpenAsThePageListedThem)
{
    ASSERT_EQ(ReadPage(), S_OK);
    EXPECT_EQ(pageSize, 3u);
    EXPECT_EQ(Rename(ids[1], u"renamed"), S_OK); // another process writes without waiting
    EXPECT_EQ(SubjectOf(ids[0]), u"one");
    EXPECT_EQ(SubjectOf(ids[1]), u"two");
    EXPECT_FALSE(OtherCanCheckpointEverything());
    store->EndPage(this);
    EXPECT_EQ(SubjectOf(ids[1]), u"renamed");
    EXPECT_TRUE(OtherCanCheckpointEverything());
}

TEST_F(StorePageTest, PageEndsOnceItsLastMessageIsOpened)
{
    ASSERT_EQ(ReadPage(2), S_OK);
    EXPECT_EQ(pageSize, 2u);
    EXPECT_EQ(SubjectOf(ids[1]), u"two");
    EXPECT_EQ(SubjectOf(ids[0]), u"one");
    EXPECT_TRUE(OtherCanCheckpointEverything());
    EXPECT_EQ(Rename(ids[0], u"renamed"), S_OK);
    EXPECT_EQ(SubjectOf(ids[0]), u"renamed");
}

TEST_F(StorePageTest, WhatTheStoreWritesEndsThePage)
{
    ASSERT_EQ(ReadPage(), S_OK);
    bool changed = false;
    ASSERT_EQ(store->SetMessageFlags(ids[2], MSGFLAG_READ, 0, changed), S_OK);
    ASSERT_TRUE(changed);
    mapisvc::ObjectRecord record;
    ASSERT_EQ(store->LoadObject(ids[2], record), S_OK);
    EXPECT_EQ(record.flags & MSGFLAG_READ, MSGFLAG_READ);
    EXPECT_TRUE(OtherCanCheckpointEverything());
}

TEST_F(StorePageTest, PageOfAnotherOwnerIsNotEndedByThisOne)
{
    ASSERT_EQ(ReadPage(), S_OK);
    int stranger = 0;
    store->EndPage(&stranger);
    EXPECT_EQ(Rename(ids[0], u"renamed"), S_OK);
    EXPECT_EQ(SubjectOf(ids[0]), u"one");
    store->EndPage(this);
    EXPECT_EQ(SubjectOf(ids[0]), u"renamed");
}

TEST_F(StorePageTest, FailedPageLeavesNoTransactionOpen)
{
    ASSERT_EQ(other->Execute("ALTER TABLE object RENAME TO object_away"), S_OK);
    EXPECT_NE(ReadPage(), S_OK);
    ASSERT_EQ(other->Execute("ALTER TABLE object_away RENAME TO object"), S_OK);
    EXPECT_TRUE(OtherCanCheckpointEverything());
    // A change of the store's own begins: no read of the failed page is still open on its connection.
    int64_t created = 0;
    mapisvc::PropertyBag props;
    props.Set(PR_DISPLAY_NAME_W, mapisvc::EncodeUnicode(u"After"));
    EXPECT_EQ(store->CreateFolder(folder, props, created), S_OK);
    EXPECT_EQ(SubjectOf(ids[0]), u"one");
}
} // namespace
