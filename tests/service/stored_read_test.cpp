// A saved message read where its row lies: GetProps and contents tables hand out the stored values without the
// message making values of its own, and still give them right however they are asked for, whatever was set on
// the open message since, and whatever is kept out of line.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <cstring>

namespace
{
const ULONG kLargeTag = PROP_TAG(PT_BINARY, 0x6610);
const ULONG kMissingTag = PROP_TAG(PT_LONG, 0x6611);
const size_t kLargeSize = 10000;

class StoredReadTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        large.assign(kLargeSize, 0);
        for (size_t i = 0; i < large.size(); ++i)
            large[i] = static_cast<BYTE>(i * 7);
        id = CreateMessage(Inbox(), u"A subject longer than fifteen bytes",
                           {LongValue(PR_IMPORTANCE, IMPORTANCE_HIGH), BinaryValue(kLargeTag, large)});
    }

    // GetProps of `tags` (MAPI_UNICODE) on `message`.
    HRESULT Read(IMessage* message, const std::vector<ULONG>& tags, MapiBuffer<SPropValue>& values)
    {
        std::vector<ULONG> array{static_cast<ULONG>(tags.size())};
        array.insert(array.end(), tags.begin(), tags.end());
        ULONG count = 0;
        HRESULT hr =
            message->GetProps(reinterpret_cast<LPSPropTagArray>(array.data()), MAPI_UNICODE, &count, values.Out());
        EXPECT_EQ(count, tags.size());
        return hr;
    }

    static bool IsLarge(const SPropValue& value, const mapisvc::EntryId& bytes)
    {
        return value.ulPropTag == kLargeTag && value.Value.bin.cb == bytes.size() &&
               std::memcmp(value.Value.bin.lpb, bytes.data(), bytes.size()) == 0;
    }

    mapisvc::EntryId large;
    mapisvc::EntryId id;
};

TEST_F(StoredReadTest, ValuesAskedTwiceAndInBothWidthsAreTheSame)
{
    Ref<IMessage> message = OpenMessage(Session(), id);
    ASSERT_TRUE(message);
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(Read(message.Get(), {PR_SUBJECT_W, PR_IMPORTANCE, PR_SUBJECT_W, PR_SUBJECT_A, PR_IMPORTANCE}, values),
              S_OK);
    EXPECT_EQ(std::u16string(values.Get()[0].Value.lpszW), u"A subject longer than fifteen bytes");
    EXPECT_EQ(std::u16string(values.Get()[2].Value.lpszW), u"A subject longer than fifteen bytes");
    EXPECT_NE(values.Get()[0].Value.lpszW, values.Get()[2].Value.lpszW); // each value in the buffer of its own
    EXPECT_STREQ(values.Get()[3].Value.lpszA, "A subject longer than fifteen bytes");
    EXPECT_EQ(values.Get()[1].Value.l, IMPORTANCE_HIGH);
    EXPECT_EQ(values.Get()[4].Value.l, IMPORTANCE_HIGH);

    MapiBuffer<SPropValue> again;
    ASSERT_EQ(Read(message.Get(), {PR_IMPORTANCE, PR_SUBJECT_W}, again), S_OK);
    EXPECT_EQ(again.Get()[0].Value.l, IMPORTANCE_HIGH);
    EXPECT_EQ(std::u16string(again.Get()[1].Value.lpszW), u"A subject longer than fifteen bytes");
}

TEST_F(StoredReadTest, MissingPropertiesAndTypesTheValueCannotTakeAreErrors)
{
    Ref<IMessage> message = OpenMessage(Session(), id);
    ASSERT_TRUE(message);
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(Read(message.Get(), {kMissingTag, PROP_TAG(PT_LONG, PROP_ID(PR_SUBJECT)), PR_IMPORTANCE}, values),
              MAPI_W_ERRORS_RETURNED);
    EXPECT_EQ(values.Get()[0].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(kMissingTag)));
    EXPECT_EQ(values.Get()[0].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(values.Get()[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_SUBJECT)));
    EXPECT_EQ(values.Get()[2].Value.l, IMPORTANCE_HIGH);
}

TEST_F(StoredReadTest, ValueKeptOutOfLineIsReadWholeAmongTheOthers)
{
    Ref<IMessage> message = OpenMessage(Session(), id);
    ASSERT_TRUE(message);
    // Set on the open message first: the read of the large value must not lose what the other values point at.
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_BODY_W, u"A body set after the message was opened")), S_OK);
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(Read(message.Get(), {PR_SUBJECT_W, PR_BODY_W, kLargeTag, PR_BODY_W, PR_SUBJECT_W}, values), S_OK);
    EXPECT_EQ(std::u16string(values.Get()[0].Value.lpszW), u"A subject longer than fifteen bytes");
    EXPECT_EQ(std::u16string(values.Get()[1].Value.lpszW), u"A body set after the message was opened");
    EXPECT_TRUE(IsLarge(values.Get()[2], large));
    EXPECT_EQ(std::u16string(values.Get()[3].Value.lpszW), u"A body set after the message was opened");
    EXPECT_EQ(std::u16string(values.Get()[4].Value.lpszW), u"A subject longer than fifteen bytes");

    MapiBuffer<SPropValue> again;
    ASSERT_EQ(Read(message.Get(), {kLargeTag}, again), S_OK);
    EXPECT_TRUE(IsLarge(again.Get()[0], large));
}

TEST_F(StoredReadTest, SavedChangesReadBackAfterReopening)
{
    {
        Ref<IMessage> message = OpenMessage(Session(), id, MAPI_MODIFY);
        ASSERT_TRUE(message);
        ASSERT_EQ(SetOne(message.Get(), LongValue(PR_IMPORTANCE, IMPORTANCE_LOW)), S_OK);
        ASSERT_EQ(SetOne(message.Get(), LongValue(kMissingTag, 7)), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    Ref<IMessage> message = OpenMessage(Session(), id);
    ASSERT_TRUE(message);
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(Read(message.Get(), {PR_IMPORTANCE, kMissingTag, kLargeTag, PR_SUBJECT_W}, values), S_OK);
    EXPECT_EQ(values.Get()[0].Value.l, IMPORTANCE_LOW);
    EXPECT_EQ(values.Get()[1].Value.l, 7);
    EXPECT_TRUE(IsLarge(values.Get()[2], large));
    EXPECT_EQ(std::u16string(values.Get()[3].Value.lpszW), u"A subject longer than fifteen bytes");
}

TEST_F(StoredReadTest, TableRowsGiveStoredValuesAndNoLargeOnes)
{
    Ref<IMAPITable> table;
    ASSERT_EQ(Inbox()->GetContentsTable(MAPI_UNICODE, table.Out()), S_OK);
    TableRows rows = ReadRows(table.Get(), {PR_SUBJECT_W, kLargeTag, PR_IMPORTANCE, kMissingTag, PR_SUBJECT_W});
    ASSERT_EQ(rows.size(), 1u);
    const SPropValue* row = rows[0].lpProps;
    EXPECT_EQ(std::u16string(row[0].Value.lpszW), u"A subject longer than fifteen bytes");
    EXPECT_EQ(row[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(kLargeTag)));
    EXPECT_EQ(row[1].Value.err, MAPI_E_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(row[2].Value.l, IMPORTANCE_HIGH);
    EXPECT_EQ(row[3].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(std::u16string(row[4].Value.lpszW), u"A subject longer than fifteen bytes");
}
} // namespace
