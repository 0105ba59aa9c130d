// Message stores: their properties, the folders they name, ANSI-only stores, and the session's tables of them.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class StoreTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        init.reset(new MapiInit);
        ASSERT_EQ(mapisvc::CreateProfile(u"Test", true), S_OK);
    }
    void TearDown() override
    {
        init.reset();
        ServiceTest::TearDown();
    }

    mapisvc::EntryId AddStore(const std::u16string& name, bool unicode = true, bool isDefault = false)
    {
        mapisvc::StoreOptions options;
        options.displayName = name;
        options.providerName = name + u" provider";
        options.unicode = unicode;
        options.isDefault = isDefault;
        mapisvc::EntryId store;
        EXPECT_EQ(mapisvc::AddStore(u"Test", options, &store), S_OK);
        return store;
    }

    std::unique_ptr<MapiInit> init;
};

std::u16string Text(const SPropValue& value)
{
    return PROP_TYPE(value.ulPropTag) == PT_UNICODE ? std::u16string(value.Value.lpszW) : std::u16string();
}

TEST_F(StoreTest, StoresTableListsTheProfilesStoresInOrder)
{
    AddStore(u"First");
    AddStore(u"Second", true, true);
    AddStore(u"Third");
    Ref<IMAPISession> session = Logon(u"Test");
    Ref<IMAPITable> table;
    ASSERT_EQ(session->GetMsgStoresTable(0, table.Out()), S_OK);
    const TableRows rows =
        ReadRows(table.Get(), {PR_DISPLAY_NAME_W, PR_ENTRYID, PR_PROVIDER_DISPLAY_W, PR_DEFAULT_STORE});
    ASSERT_EQ(rows.size(), 3u);
    const char16_t* names[] = {u"First", u"Second", u"Third"};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(Text(rows[i].lpProps[0]), names[i]);
        EXPECT_EQ(Text(rows[i].lpProps[2]), std::u16string(names[i]) + u" provider");
        EXPECT_EQ(rows[i].lpProps[3].Value.b != 0, i == 1);
        Ref<IMsgStore> store = OpenStore(session.Get(), ToEntryId(rows[i].lpProps[1].Value.bin));
        EXPECT_EQ(GetString(store.Get(), PR_DISPLAY_NAME_W), names[i]);
    }
}

TEST_F(StoreTest, StoreNamesItsFoldersAndTheInboxNamesTheOthers)
{
    Ref<IMAPISession> session = Logon(u"Test");
    Ref<IMsgStore> store = OpenStore(session.Get(), AddStore(u"Mail"));
    EXPECT_EQ(GetLong(store.Get(), PR_STORE_STATE), 0x01000000);
    EXPECT_EQ(GetLong(store.Get(), PR_OBJECT_TYPE), static_cast<LONG>(MAPI_STORE));
    const std::pair<ULONG, const char16_t*> storeFolders[] = {{PR_IPM_OUTBOX_ENTRYID, u"Outbox"},
                                                              {PR_IPM_SENTMAIL_ENTRYID, u"Sent Items"},
                                                              {PR_IPM_WASTEBASKET_ENTRYID, u"Deleted Items"},
                                                              {PR_IPM_SUBTREE_ENTRYID, u"Top of Personal Folders"}};
    for (const auto& folder : storeFolders)
        EXPECT_EQ(GetString(OpenFolderByProp(store.Get(), folder.first).Get(), PR_DISPLAY_NAME_W), folder.second);
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    const std::pair<ULONG, const char16_t*> inboxFolders[] = {
        {PR_IPM_CONTACT_ENTRYID, u"Contacts"},     {PR_IPM_DRAFTS_ENTRYID, u"Drafts"},
        {PR_IPM_APPOINTMENT_ENTRYID, u"Calendar"}, {PR_IPM_TASK_ENTRYID, u"Tasks"},
        {PR_IPM_NOTE_ENTRYID, u"Notes"},           {PR_IPM_JOURNAL_ENTRYID, u"Journal"}};
    for (const auto& folder : inboxFolders)
    {
        Ref<IMAPIFolder> opened = OpenFolder(store.Get(), GetBinary(inbox.Get(), folder.first));
        EXPECT_EQ(GetString(opened.Get(), PR_DISPLAY_NAME_W), folder.second);
    }
    // The Inbox receives every message class.
    ULONG cb = 0;
    MapiBuffer<ENTRYID> id;
    MapiBuffer<char> explicitClass;
    ASSERT_EQ(store->GetReceiveFolder(reinterpret_cast<LPTSTR>(const_cast<char*>("IPM.Note.Custom")), 0, &cb, id.Out(),
                                      reinterpret_cast<LPTSTR*>(explicitClass.Out())),
              S_OK);
    EXPECT_STREQ(explicitClass.Get(), "");
}

TEST_F(StoreTest, ValidFolderMaskNamesOnlyTheFoldersTheStoreHas)
{
    mapisvc::StoreOptions bare;
    bare.displayName = u"Bare";
    bare.standardFolders = false;
    mapisvc::EntryId bareId;
    ASSERT_EQ(mapisvc::AddStore(u"Test", bare, &bareId), S_OK);
    Ref<IMAPISession> session = Logon(u"Test");
    const LONG all = FOLDER_IPM_SUBTREE_VALID | FOLDER_IPM_INBOX_VALID | FOLDER_IPM_OUTBOX_VALID |
                     FOLDER_IPM_WASTEBASKET_VALID | FOLDER_IPM_SENTMAIL_VALID;
    EXPECT_EQ(GetLong(OpenStore(session.Get(), AddStore(u"Mail")).Get(), PR_VALID_FOLDER_MASK), all);
    Ref<IMsgStore> store = OpenStore(session.Get(), bareId);
    EXPECT_EQ(GetLong(store.Get(), PR_VALID_FOLDER_MASK), static_cast<LONG>(FOLDER_IPM_SUBTREE_VALID));
    EXPECT_TRUE(GetBinary(store.Get(), PR_IPM_OUTBOX_ENTRYID).empty());
}

TEST_F(StoreTest, AnsiOnlyStoreKeepsEightBitStringsAndConvertsOnRequest)
{
    Ref<IMAPISession> session = Logon(u"Test");
    Ref<IMsgStore> store = OpenStore(session.Get(), AddStore(u"Old", false));
    EXPECT_EQ(GetLong(store.Get(), PR_STORE_SUPPORT_MASK) & STORE_UNICODE_OK, 0);
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    Ref<IMessage> message;
    ASSERT_EQ(inbox->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"caf\u00e9 \u4e2d")), S_OK);
    // Kept in the ANSI code page: what it cannot represent is lost, the rest converts back.
    SPropTagArray tag = {1, {CHANGE_PROP_TYPE(PR_SUBJECT, PT_UNSPECIFIED)}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(message->GetProps(&tag, 0, &count, values.Out()), S_OK);
    EXPECT_EQ(values->ulPropTag, PR_SUBJECT_A);
    EXPECT_EQ(std::string(values->Value.lpszA).substr(0, 5), "caf\xe9 ");
    EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W).substr(0, 5), u"caf\u00e9 ");
    EXPECT_NE(GetString(message.Get(), PR_SUBJECT_W), u"caf\u00e9 \u4e2d");

    // Folder names of an ANSI-only store are 8-bit too; hierarchy tables still convert them.
    Ref<IMAPIFolder> subtree = OpenFolderByProp(store.Get(), PR_IPM_SUBTREE_ENTRYID);
    Ref<IMAPITable> hierarchy;
    ASSERT_EQ(subtree->GetHierarchyTable(0, hierarchy.Out()), S_OK);
    const TableRows rows = ReadRows(hierarchy.Get(), {CHANGE_PROP_TYPE(PR_DISPLAY_NAME, PT_UNSPECIFIED)});
    ASSERT_FALSE(rows.size() == 0);
    EXPECT_EQ(rows[0].lpProps[0].ulPropTag, PR_DISPLAY_NAME_A);
    EXPECT_STREQ(rows[0].lpProps[0].Value.lpszA, "Inbox");
}

TEST_F(StoreTest, ControlApiChangesStoreStateAndMask)
{
    const mapisvc::EntryId id = AddStore(u"Tuned");
    mapisvc::StoreOptions options;
    options.displayName = u"Renamed";
    options.state = 0;
    options.supportMask = STORE_MODIFY_OK;
    ASSERT_EQ(mapisvc::UpdateStore(id, options), S_OK);
    Ref<IMAPISession> session = Logon(u"Test");
    Ref<IMsgStore> store = OpenStore(session.Get(), id);
    EXPECT_EQ(GetString(store.Get(), PR_DISPLAY_NAME_W), u"Renamed");
    EXPECT_EQ(GetLong(store.Get(), PR_STORE_STATE, -1), 0);
    EXPECT_EQ(GetLong(store.Get(), PR_STORE_SUPPORT_MASK), static_cast<LONG>(STORE_MODIFY_OK));
}

TEST_F(StoreTest, StatusTableEndsWithTheSubsystemNamedAfterTheProfile)
{
    AddStore(u"One");
    AddStore(u"Two");
    Ref<IMAPISession> session = Logon(u"Test");
    Ref<IMAPITable> table;
    ASSERT_EQ(session->GetStatusTable(0, table.Out()), S_OK);
    const TableRows rows = ReadRows(table.Get(), {PR_DISPLAY_NAME_W, PR_RESOURCE_TYPE});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].lpProps[1].Value.l, static_cast<LONG>(MAPI_STORE_PROVIDER));
    EXPECT_EQ(rows[2].lpProps[1].Value.l, static_cast<LONG>(MAPI_AB));
    EXPECT_EQ(rows[3].lpProps[1].Value.l, static_cast<LONG>(MAPI_SUBSYSTEM));
    EXPECT_EQ(Text(rows[3].lpProps[0]), u"Test");
}

TEST_F(StoreTest, ProfAdminCreatesAndDeletesProfiles)
{
    Ref<IProfAdmin> admin;
    ASSERT_EQ(MAPIAdminProfiles(0, admin.Out()), S_OK);
    LPTSTR name = reinterpret_cast<LPTSTR>(const_cast<char*>("Spare"));
    ASSERT_EQ(admin->CreateProfile(name, nullptr, 0, 0), S_OK);
    EXPECT_NE(admin->CreateProfile(name, nullptr, 0, 0), S_OK);
    Ref<IMAPISession> session = Logon(u"Spare");
    ASSERT_TRUE(session);
    Ref<IMAPITable> stores;
    ASSERT_EQ(session->GetMsgStoresTable(0, stores.Out()), S_OK);
    ULONG count = 1;
    ASSERT_EQ(stores->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 0u); // an empty profile

    ASSERT_EQ(admin->DeleteProfile(name, 0), S_OK);
    EXPECT_NE(admin->DeleteProfile(name, 0), S_OK);
    EXPECT_EQ(session->GetMsgStoresTable(0, stores.Out()), S_OK); // the open session keeps working
}

TEST_F(StoreTest, DeletedProfileStaysUsableByItsOpenSession)
{
    const mapisvc::EntryId id = AddStore(u"Kept");
    Ref<IMAPISession> session = Logon(u"Test");
    ASSERT_EQ(mapisvc::DeleteProfile(u"Test"), S_OK);
    Ref<IMsgStore> store = OpenStore(session.Get(), id);
    ASSERT_TRUE(store);
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    EXPECT_FALSE(CreateMessage(inbox.Get(), u"still works").empty());
    Ref<IMAPISession> other;
    EXPECT_EQ(MAPILogonEx(0, const_cast<LPWSTR>(u"Test"), nullptr, MAPI_UNICODE | MAPI_EXPLICIT_PROFILE, other.Out()),
              MAPI_E_LOGON_FAILED);
}
} // namespace
