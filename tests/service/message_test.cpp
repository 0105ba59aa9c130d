// Messages: saving, what the store maintains, attachments, recipients, submission and read state.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class MessageTest : public DefaultStoreTest
{
protected:
    ULONG ContentCount(IMAPIFolder* folder)
    {
        Ref<IMAPITable> contents;
        EXPECT_EQ(folder->GetContentsTable(0, contents.Out()), S_OK);
        ULONG count = 0;
        EXPECT_EQ(contents->GetRowCount(0, &count), S_OK);
        return count;
    }

    Ref<IAttach> AddAttachment(IMessage* message, const char16_t* name, ULONG* num = nullptr)
    {
        Ref<IAttach> attach;
        ULONG created = 0;
        EXPECT_EQ(message->CreateAttach(nullptr, 0, &created, attach.Out()), S_OK);
        EXPECT_EQ(SetOne(attach.Get(), UnicodeValue(PR_ATTACH_LONG_FILENAME_W, name)), S_OK);
        EXPECT_EQ(attach->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
        if (num)
            *num = created;
        return attach;
    }

    std::vector<std::u16string> AttachmentNames(IMessage* message)
    {
        Ref<IMAPITable> table;
        EXPECT_EQ(message->GetAttachmentTable(0, table.Out()), S_OK);
        const TableRows rows = ReadRows(table.Get(), {PR_ATTACH_LONG_FILENAME_W});
        std::vector<std::u16string> names;
        for (size_t i = 0; i < rows.size(); ++i)
            names.push_back(rows[i].lpProps[0].Value.lpszW);
        return names;
    }
};

TEST_F(MessageTest, NewMessageIsInvisibleUntilSaved)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    const mapisvc::EntryId id = EntryIdOf(message.Get());
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(ContentCount(Inbox()), 0u);

    // Another session does not find it either.
    Ref<IUnknown> opened;
    ULONG type = 0;
    EXPECT_EQ(Session()->OpenEntry(static_cast<ULONG>(id.size()),
                                   reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())), nullptr, 0, &type,
                                   opened.Out()),
              MAPI_E_NOT_FOUND);

    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(ContentCount(Inbox()), 1u);
    EXPECT_EQ(EntryIdOf(message.Get()), id);
}

TEST_F(MessageTest, ReleasedUnsavedMessageLeavesNothing)
{
    {
        Ref<IMessage> message;
        ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
        ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"draft")), S_OK);
    }
    EXPECT_EQ(ContentCount(Inbox()), 0u);
}

TEST_F(MessageTest, SaveChangesFlagsDecideWhatTheObjectAllowsAfterwards)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"second")), S_OK);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READONLY), S_OK);
    EXPECT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"third")), MAPI_E_NO_ACCESS);
    EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), u"second");

    Ref<IMessage> other;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, other.Out()), S_OK);
    ASSERT_EQ(other->SaveChanges(0), S_OK);
    EXPECT_EQ(SetOne(other.Get(), UnicodeValue(PR_SUBJECT_W, u"late")), MAPI_E_INVALID_OBJECT);
    EXPECT_EQ(other->SaveChanges(0), MAPI_E_INVALID_OBJECT);
}

TEST_F(MessageTest, StoreMaintainsTimesSizeAndAttachmentState)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"with attachment")), S_OK);
    AddAttachment(message.Get(), u"a.txt");
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_NE(GetLong(message.Get(), PR_MESSAGE_FLAGS) & MSGFLAG_HASATTACH, 0);
    EXPECT_EQ(GetLong(message.Get(), PR_HASATTACH), 1);
    EXPECT_GT(GetLong(message.Get(), PR_MESSAGE_SIZE), 0);
    EXPECT_TRUE(HasProp(message.Get(), PR_CREATION_TIME));
    EXPECT_TRUE(HasProp(message.Get(), PR_LAST_MODIFICATION_TIME));

    ASSERT_EQ(message->DeleteAttach(0, 0, nullptr, 0), S_OK);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(GetLong(message.Get(), PR_MESSAGE_FLAGS) & MSGFLAG_HASATTACH, 0);
    EXPECT_EQ(GetLong(message.Get(), PR_HASATTACH, 7), 0);
}

TEST_F(MessageTest, AttachmentNumbersStayAfterDeletions)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ULONG first = 0, second = 0, third = 0;
    AddAttachment(message.Get(), u"one", &first);
    AddAttachment(message.Get(), u"two", &second);
    AddAttachment(message.Get(), u"three", &third);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    ASSERT_EQ(message->DeleteAttach(second, 0, nullptr, 0), S_OK);
    ULONG fourth = 0;
    AddAttachment(message.Get(), u"four", &fourth);
    EXPECT_NE(fourth, second);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);

    const mapisvc::EntryId id = EntryIdOf(message.Get());
    message.Reset();
    Ref<IMessage> reopened = OpenMessage(Session(), id);
    EXPECT_EQ(AttachmentNames(reopened.Get()), (std::vector<std::u16string>{u"one", u"three", u"four"}));
    Ref<IAttach> attach;
    ASSERT_EQ(reopened->OpenAttach(third, nullptr, 0, attach.Out()), S_OK);
    EXPECT_EQ(GetString(attach.Get(), PR_ATTACH_LONG_FILENAME_W), u"three");
    EXPECT_EQ(reopened->OpenAttach(second, nullptr, 0, attach.Out()), MAPI_E_NOT_FOUND);
}

TEST_F(MessageTest, AttachmentsTakeEffectWithTheMessagesSave)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    {
        // Not saved by the attachment itself: nothing happens.
        Ref<IAttach> attach;
        ULONG num = 0;
        ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
    }
    EXPECT_TRUE(AttachmentNames(message.Get()).empty());
    AddAttachment(message.Get(), u"kept");
    EXPECT_EQ(AttachmentNames(message.Get()), std::vector<std::u16string>{u"kept"});

    // The message's save writes it; until then other sessions see none.
    const mapisvc::EntryId id = EntryIdOf(message.Get());
    {
        Ref<IMessage> other = OpenMessage(Session(), id);
        EXPECT_TRUE(AttachmentNames(other.Get()).empty());
    }
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    Ref<IMessage> other = OpenMessage(Session(), id);
    EXPECT_EQ(AttachmentNames(other.Get()), std::vector<std::u16string>{u"kept"});
}

TEST_F(MessageTest, AttachmentSizeIsCountedByTheStore)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    Ref<IAttach> attach;
    ULONG num = 0;
    ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
    const mapisvc::EntryId data(1000, 0x5A);
    SPropValue values[2] = {BinaryValue(PR_ATTACH_DATA_BIN, data), LongValue(PR_ATTACH_SIZE, 1)};
    MapiBuffer<SPropProblemArray> problems;
    ASSERT_EQ(attach->SetProps(2, values, problems.Out()), S_OK);
    ASSERT_NE(problems.Get(), nullptr);
    EXPECT_EQ(problems->aProblem[0].scode, MAPI_E_COMPUTED);
    ASSERT_EQ(attach->SaveChanges(KEEP_OPEN_READONLY), S_OK);
    Ref<IAttach> reopened;
    ASSERT_EQ(message->OpenAttach(num, nullptr, 0, reopened.Out()), S_OK);
    EXPECT_GE(GetLong(reopened.Get(), PR_ATTACH_SIZE), 1000);
    EXPECT_EQ(GetLong(reopened.Get(), PR_ATTACH_NUM), static_cast<LONG>(num));
}

class RecipientTest : public MessageTest
{
protected:
    static SPropValue Text(ULONG tag, const char16_t* text) { return UnicodeValue(tag, text); }

    std::vector<std::pair<LONG, std::u16string>> Recipients(IMessage* message)
    {
        Ref<IMAPITable> table;
        EXPECT_EQ(message->GetRecipientTable(MAPI_UNICODE, table.Out()), S_OK);
        const TableRows rows = ReadRows(table.Get(), {PR_ROWID, PR_EMAIL_ADDRESS_W});
        std::vector<std::pair<LONG, std::u16string>> result;
        for (size_t i = 0; i < rows.size(); ++i)
            result.emplace_back(rows[i].lpProps[0].Value.l, rows[i].lpProps[1].Value.lpszW);
        return result;
    }

    void Modify(IMessage* message, ULONG flags, std::vector<std::vector<SPropValue>> entries)
    {
        SizedADRLIST(4, list);
        list.cEntries = static_cast<ULONG>(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            list.aEntries[i] = {0, static_cast<ULONG>(entries[i].size()), entries[i].data()};
        EXPECT_EQ(message->ModifyRecipients(flags, reinterpret_cast<LPADRLIST>(&list)), S_OK);
    }
};

TEST_F(RecipientTest, AddRemoveAndModifyByRowId)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    Modify(message.Get(), MODRECIP_ADD,
           {{Text(PR_EMAIL_ADDRESS_W, u"a@x"), LongValue(PR_RECIPIENT_TYPE, MAPI_TO)},
            {Text(PR_EMAIL_ADDRESS_W, u"b@x"), LongValue(PR_RECIPIENT_TYPE, MAPI_CC)}});
    Modify(message.Get(), MODRECIP_ADD, {{Text(PR_EMAIL_ADDRESS_W, u"c@x")}});
    auto recipients = Recipients(message.Get());
    ASSERT_EQ(recipients.size(), 3u);
    EXPECT_EQ(recipients[2].second, u"c@x");

    Modify(message.Get(), MODRECIP_REMOVE, {{LongValue(PR_ROWID, recipients[1].first)}});
    Modify(message.Get(), MODRECIP_MODIFY,
           {{LongValue(PR_ROWID, recipients[0].first), Text(PR_EMAIL_ADDRESS_W, u"changed@x")}});
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);

    Ref<IMessage> reopened = OpenMessage(Session(), EntryIdOf(message.Get()));
    const auto saved = Recipients(reopened.Get());
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], std::make_pair(recipients[0].first, std::u16string(u"changed@x")));
    EXPECT_EQ(saved[1], std::make_pair(recipients[2].first, std::u16string(u"c@x")));

    // Without flags the list replaces every recipient.
    Modify(reopened.Get(), 0, {{Text(PR_EMAIL_ADDRESS_W, u"only@x")}});
    ASSERT_EQ(Recipients(reopened.Get()).size(), 1u);
}

TEST_F(RecipientTest, SubmitMarksTheMessageAndAbortSubmitClearsIt)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    EXPECT_EQ(message->SubmitMessage(0), MAPI_E_NO_RECIPIENTS);
    Modify(message.Get(), MODRECIP_ADD, {{Text(PR_EMAIL_ADDRESS_W, u"a@x")}});
    ASSERT_EQ(message->SubmitMessage(0), S_OK);
    const mapisvc::EntryId id = EntryIdOf(message.Get());
    message.Reset();

    Ref<IMessage> saved = OpenMessage(Session(), id);
    EXPECT_NE(GetLong(saved.Get(), PR_MESSAGE_FLAGS) & MSGFLAG_SUBMIT, 0);
    EXPECT_EQ(ContentCount(Inbox()), 1u); // no transport: it stays where it is
    auto* entry = reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data()));
    EXPECT_EQ(Store()->AbortSubmit(static_cast<ULONG>(id.size()), entry, 0), S_OK);
    EXPECT_EQ(Store()->AbortSubmit(static_cast<ULONG>(id.size()), entry, 0), MAPI_E_NOT_IN_QUEUE);
    saved = OpenMessage(Session(), id);
    EXPECT_EQ(GetLong(saved.Get(), PR_MESSAGE_FLAGS) & MSGFLAG_SUBMIT, 0);
}

TEST_F(MessageTest, ReadFlagChangesAtOnceAndCountsInTheFolder)
{
    const mapisvc::EntryId id = CreateMessage(Inbox(), u"unread", {LongValue(PR_MESSAGE_FLAGS, 0)});
    EXPECT_EQ(GetLong(Inbox(), PR_CONTENT_UNREAD), 1);
    Ref<IMessage> message = OpenMessage(Session(), id, 0); // read-only
    ASSERT_EQ(message->SetReadFlag(SUPPRESS_RECEIPT), S_OK);
    EXPECT_EQ(GetLong(Inbox(), PR_CONTENT_UNREAD), 0);
    EXPECT_EQ(GetLong(Inbox(), PR_CONTENT_COUNT), 1);
    ASSERT_EQ(message->SetReadFlag(CLEAR_READ_FLAG), S_OK);
    EXPECT_EQ(GetLong(OpenMessage(Session(), id).Get(), PR_MESSAGE_FLAGS) & MSGFLAG_READ, 0);
}
} // namespace

TEST_F(MessageTest, AMessageNamesItselfAndItsStoreAsItsRowAndTheStoreDo)
{
    const mapisvc::EntryId created = CreateMessage(Inbox(), u"Who am I");
    Ref<IMessage> message = OpenMessage(Session(), created);
    ASSERT_TRUE(message);
    const mapisvc::EntryId storeKey = GetBinary(Store(), PR_STORE_RECORD_KEY);
    ASSERT_EQ(storeKey.size(), 16u);
    for (int nRead = 0; nRead < 2; ++nRead)
    {
        // Asked among stored properties and again alone: the values stay what they were.
        EXPECT_EQ(EntryIdOf(message.Get()), created) << "read " << nRead;
        EXPECT_EQ(GetBinary(message.Get(), PR_STORE_RECORD_KEY), storeKey) << "read " << nRead;
        SizedSPropTagArray(3, tags) = {3, {PR_STORE_RECORD_KEY, PR_SUBJECT_W, PR_ENTRYID}};
        ULONG cValues = 0;
        LPSPropValue pValues = nullptr;
        ASSERT_EQ(message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), MAPI_UNICODE, &cValues, &pValues), S_OK);
        ASSERT_EQ(cValues, 3u);
        EXPECT_EQ(ToEntryId(pValues[0].Value.bin), storeKey);
        EXPECT_EQ(std::u16string(pValues[1].Value.lpszW), u"Who am I");
        EXPECT_EQ(ToEntryId(pValues[2].Value.bin), created);
        MAPIFreeBuffer(pValues);
    }
    Ref<IMAPITable> contents;
    ASSERT_EQ(Inbox()->GetContentsTable(0, contents.Out()), S_OK);
    const TableRows rows = ReadRows(contents.Get(), {PR_ENTRYID});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(ToEntryId(rows[0].lpProps[0].Value.bin), created);
}
