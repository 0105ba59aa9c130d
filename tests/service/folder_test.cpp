// Folders: their properties and hierarchy, creating and deleting them, and moving, copying and deleting
// messages, also between stores.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class FolderTest : public DefaultStoreTest
{
protected:
    Ref<IMAPIFolder> NewFolder(IMAPIFolder* parent, const char16_t* name, ULONG flags = 0)
    {
        Ref<IMAPIFolder> folder;
        EXPECT_EQ(parent->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(name), nullptr, nullptr, MAPI_UNICODE | flags,
                                       folder.Out()),
                  S_OK);
        return folder;
    }

    // `ids` must outlive the list.
    static ENTRYLIST ListOf(std::vector<SBinary>& bins, const std::vector<mapisvc::EntryId>& ids)
    {
        for (const mapisvc::EntryId& id : ids)
            bins.push_back(AsSBinary(id));
        return ENTRYLIST{static_cast<ULONG>(bins.size()), bins.data()};
    }
};

TEST_F(FolderTest, FolderPropertiesCountMessagesAndSubfolders)
{
    EXPECT_EQ(GetLong(Inbox(), PR_SUBFOLDERS), 0);
    EXPECT_EQ(GetString(Inbox(), PR_CONTAINER_CLASS_W), u"IPF.Note");
    Ref<IMAPIFolder> child = NewFolder(Inbox(), u"Projects");
    EXPECT_EQ(GetLong(Inbox(), PR_SUBFOLDERS), 1);
    EXPECT_EQ(GetBinary(child.Get(), PR_PARENT_ENTRYID), EntryIdOf(Inbox()));
    CreateMessage(child.Get(), u"one", {LongValue(PR_MESSAGE_FLAGS, MSGFLAG_READ)});
    CreateMessage(child.Get(), u"two", {LongValue(PR_MESSAGE_FLAGS, 0)});
    EXPECT_EQ(GetLong(child.Get(), PR_CONTENT_COUNT), 2);
    EXPECT_EQ(GetLong(child.Get(), PR_CONTENT_UNREAD), 1);

    // Folder properties are written at once.
    ASSERT_EQ(SetOne(child.Get(), UnicodeValue(PR_CONTAINER_CLASS_W, u"IPF.Task")), S_OK);
    Ref<IMAPIFolder> reopened = OpenFolder(Store(), EntryIdOf(child.Get()));
    EXPECT_EQ(GetString(reopened.Get(), PR_CONTAINER_CLASS_W), u"IPF.Task");
}

TEST_F(FolderTest, CountsTakeEverySavedMessageReadOrNotAndFollowAMove)
{
    Ref<IMAPIFolder> archive = NewFolder(Inbox(), u"Archive");
    const mapisvc::EntryId read = CreateMessage(archive.Get(), u"read", {LongValue(PR_MESSAGE_FLAGS, MSGFLAG_READ)});
    CreateMessage(archive.Get(), u"unread", {LongValue(PR_MESSAGE_FLAGS, 0)});
    Ref<IMessage> unsaved = CreateUnsavedMessage(archive.Get());
    auto contentsRows = [](IMAPIFolder* folder)
    {
        Ref<IMAPITable> contents;
        ULONG count = 99;
        EXPECT_EQ(folder->GetContentsTable(0, contents.Out()), S_OK);
        EXPECT_EQ(contents->GetRowCount(0, &count), S_OK);
        return count;
    };
    EXPECT_EQ(contentsRows(archive.Get()), 2u);
    EXPECT_EQ(GetLong(archive.Get(), PR_CONTENT_COUNT), 2);
    EXPECT_EQ(GetLong(archive.Get(), PR_CONTENT_UNREAD), 1);

    const std::vector<mapisvc::EntryId> toMove{read};
    std::vector<SBinary> bins;
    ENTRYLIST move = ListOf(bins, toMove);
    ASSERT_EQ(archive->CopyMessages(&move, nullptr, Inbox(), 0, nullptr, MESSAGE_MOVE), S_OK);
    EXPECT_EQ(contentsRows(archive.Get()), 1u);
    EXPECT_EQ(GetLong(archive.Get(), PR_CONTENT_COUNT), 1);
    EXPECT_EQ(GetLong(archive.Get(), PR_CONTENT_UNREAD), 1);
    EXPECT_EQ(contentsRows(Inbox()), 1u);
    EXPECT_EQ(GetLong(Inbox(), PR_CONTENT_UNREAD), 0);
}

TEST_F(FolderTest, CreateFolderRefusesDuplicatesUnlessAskedToOpen)
{
    Ref<IMAPIFolder> first = NewFolder(Inbox(), u"Same");
    Ref<IMAPIFolder> again;
    EXPECT_EQ(
        Inbox()->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(u"SAME"), nullptr, nullptr, MAPI_UNICODE, again.Out()),
        MAPI_E_COLLISION);
    Ref<IMAPIFolder> opened = NewFolder(Inbox(), u"same", OPEN_IF_EXISTS);
    EXPECT_EQ(EntryIdOf(opened.Get()), EntryIdOf(first.Get()));
}

TEST_F(FolderTest, HierarchyTableWithAndWithoutDepth)
{
    Ref<IMAPIFolder> child = NewFolder(Inbox(), u"Child");
    NewFolder(child.Get(), u"Grandchild");
    Ref<IMAPITable> flat, deep;
    ASSERT_EQ(Inbox()->GetHierarchyTable(0, flat.Out()), S_OK);
    ASSERT_EQ(Inbox()->GetHierarchyTable(CONVENIENT_DEPTH, deep.Out()), S_OK);
    ULONG count = 0;
    ASSERT_EQ(flat->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 1u);
    const TableRows rows = ReadRows(deep.Get(), {PR_DISPLAY_NAME_W, PR_DEPTH});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::u16string(rows[1].lpProps[0].Value.lpszW), u"Grandchild");
    EXPECT_EQ(rows[1].lpProps[1].Value.l, 2);
}

TEST_F(FolderTest, MoveKeepsTheIdentifierAndCopyMakesANewMessage)
{
    Ref<IMAPIFolder> archive = NewFolder(Inbox(), u"Archive");
    const mapisvc::EntryId moved = CreateMessage(Inbox(), u"moved");
    const mapisvc::EntryId copied = CreateMessage(Inbox(), u"copied");
    const std::vector<mapisvc::EntryId> toMove{moved}, toCopy{copied};
    std::vector<SBinary> bins;
    ENTRYLIST move = ListOf(bins, toMove);
    ASSERT_EQ(Inbox()->CopyMessages(&move, nullptr, archive.Get(), 0, nullptr, MESSAGE_MOVE), S_OK);
    std::vector<SBinary> more;
    ENTRYLIST copy = ListOf(more, toCopy);
    ASSERT_EQ(Inbox()->CopyMessages(&copy, nullptr, archive.Get(), 0, nullptr, 0), S_OK);
    EXPECT_EQ(MessageSubjects(Inbox()), std::vector<std::u16string>{u"copied"});
    EXPECT_EQ(MessageSubjects(archive.Get()), (std::vector<std::u16string>{u"moved", u"copied"}));
    Ref<IMessage> message = OpenMessage(Session(), moved);
    EXPECT_EQ(GetBinary(message.Get(), PR_PARENT_ENTRYID), EntryIdOf(archive.Get()));
}

TEST_F(FolderTest, MessagesMoveBetweenStoresWithAttachmentsAndLargeValues)
{
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::StoreOptions options;
    options.unicode = false;
    mapisvc::EntryId otherId;
    ASSERT_EQ(mapisvc::AddStore(profile, options, &otherId), S_OK);
    Ref<IMsgStore> other = OpenStore(Session(), otherId);
    Ref<IMAPIFolder> otherInbox = OpenInbox(other.Get());

    const std::u16string body(10000, u'b');
    const mapisvc::EntryId id = CreateMessage(Inbox(), u"travels", {UnicodeValue(PR_BODY_W, body.c_str())});
    {
        Ref<IMessage> message = OpenMessage(Session(), id);
        Ref<IAttach> attach;
        ULONG num = 0;
        ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
        ASSERT_EQ(SetOne(attach.Get(), UnicodeValue(PR_ATTACH_LONG_FILENAME_W, u"file.bin")), S_OK);
        ASSERT_EQ(attach->SaveChanges(0), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    const std::vector<mapisvc::EntryId> ids{id};
    std::vector<SBinary> bins;
    ENTRYLIST list = ListOf(bins, ids);
    ASSERT_EQ(Inbox()->CopyMessages(&list, nullptr, otherInbox.Get(), 0, nullptr, MESSAGE_MOVE), S_OK);
    EXPECT_TRUE(MessageSubjects(Inbox()).empty());
    Ref<IMAPITable> table;
    ASSERT_EQ(otherInbox->GetContentsTable(0, table.Out()), S_OK);
    const TableRows rows = ReadRows(table.Get(), {PR_ENTRYID});
    ASSERT_EQ(rows.size(), 1u);
    Ref<IMessage> arrived = OpenMessage(Session(), ToEntryId(rows[0].lpProps[0].Value.bin));
    EXPECT_EQ(GetString(arrived.Get(), PR_BODY_W), body);
    EXPECT_EQ(GetLong(arrived.Get(), PR_HASATTACH), 1);
}

TEST_F(FolderTest, DeleteFolderNeedsFlagsForWhatItHolds)
{
    Ref<IMAPIFolder> child = NewFolder(Inbox(), u"Full");
    NewFolder(child.Get(), u"Inner");
    CreateMessage(child.Get(), u"inside");
    const mapisvc::EntryId id = EntryIdOf(child.Get());
    auto* entry = reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data()));
    const ULONG cb = static_cast<ULONG>(id.size());
    EXPECT_EQ(Inbox()->DeleteFolder(cb, entry, 0, nullptr, DEL_MESSAGES), MAPI_E_HAS_FOLDERS);
    EXPECT_EQ(Inbox()->DeleteFolder(cb, entry, 0, nullptr, DEL_FOLDERS), MAPI_E_HAS_MESSAGES);
    ASSERT_EQ(Inbox()->DeleteFolder(cb, entry, 0, nullptr, DEL_FOLDERS | DEL_MESSAGES), S_OK);
    Ref<IUnknown> gone;
    ULONG type = 0;
    EXPECT_EQ(Store()->OpenEntry(cb, entry, nullptr, 0, &type, gone.Out()), MAPI_E_NOT_FOUND);
    EXPECT_EQ(GetLong(Inbox(), PR_SUBFOLDERS), 0);
}

TEST_F(FolderTest, PartialFailureOfAListIsReported)
{
    const mapisvc::EntryId kept = CreateMessage(Inbox(), u"kept");
    mapisvc::EntryId damaged = kept;
    damaged[10] ^= 1;
    const std::vector<mapisvc::EntryId> ids{kept, damaged};
    std::vector<SBinary> bins;
    ENTRYLIST list = ListOf(bins, ids);
    EXPECT_EQ(Inbox()->DeleteMessages(&list, 0, nullptr, 0), MAPI_W_PARTIAL_COMPLETION);
    EXPECT_TRUE(MessageSubjects(Inbox()).empty());
}

// Values over the row's limit are kept beside the row: a folder's or the store's must survive a reopening whole.
TEST_F(FolderTest, LargeValuesOfAFolderAreKeptWhole)
{
    const std::u16string name(2500, u'n'); // 5000 bytes as UTF-16
    const std::u16string comment(6000, u'c');
    Ref<IMAPIFolder> folder;
    ASSERT_EQ(Inbox()->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(u"Short"), const_cast<LPWSTR>(comment.c_str()),
                                    nullptr, MAPI_UNICODE, folder.Out()),
              S_OK);
    ASSERT_EQ(SetOne(folder.Get(), UnicodeValue(PR_DISPLAY_NAME_W, name.c_str())), S_OK);
    ASSERT_EQ(SetOne(folder.Get(), LongValue(PROP_TAG(PT_LONG, 0x6701), 7)), S_OK) << "a later small change";
    const mapisvc::EntryId id = EntryIdOf(folder.Get());
    folder.Reset();

    Ref<IMAPISession> session = Logon();
    Ref<IMAPIFolder> again = OpenFolder(OpenDefaultStore(session.Get()).Get(), id);
    ASSERT_TRUE(again);
    EXPECT_EQ(GetString(again.Get(), PR_DISPLAY_NAME_W), name);
    EXPECT_EQ(GetString(again.Get(), PR_COMMENT_W), comment);
    EXPECT_EQ(GetLong(again.Get(), PROP_TAG(PT_LONG, 0x6701)), 7);

    SizedSPropTagArray(1, removed) = {1, {PR_COMMENT_W}};
    ASSERT_EQ(again->DeleteProps(reinterpret_cast<LPSPropTagArray>(&removed), nullptr), S_OK);
    again.Reset();
    Ref<IMAPIFolder> third = OpenFolder(OpenDefaultStore(Logon().Get()).Get(), id);
    ASSERT_TRUE(third);
    EXPECT_FALSE(HasProp(third.Get(), PR_COMMENT_W));
    EXPECT_EQ(GetString(third.Get(), PR_DISPLAY_NAME_W), name);
}

TEST_F(FolderTest, LargeValuesOfTheStoreAreKeptWhole)
{
    const std::u16string text(5000, u's');
    const ULONG tag = PROP_TAG(PT_UNICODE, 0x6702);
    ASSERT_EQ(SetOne(Store(), UnicodeValue(tag, text.c_str())), S_OK);
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    ASSERT_TRUE(store);
    EXPECT_EQ(GetString(store.Get(), tag), text);
}
} // namespace
