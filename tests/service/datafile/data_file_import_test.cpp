// Importing Outlook data files into a new store: every sample file, checked against an independent reader
// (libpff's Python binding) folder by folder; the values of the items as the service gives them (recipients,
// attached messages at depth, Japanese attachment names, 8-bit text of ANSI files); all or nothing.
#include <mapipim/mapisvc.h>

#include "platform/mapi/Text.h"
#include "platform/trace/TraceCapture.h"
#include "support/DataFileSamples.h"
#include "support/ServiceFixture.h"

#include <algorithm>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

using namespace datafiletest;

namespace
{
class DataFileImportTest : public ServiceTest
{
protected:
    // Imports a sample into the default profile; skips the test when the sample is absent.
    bool Import(const std::string& name, mapisvc::ImportResult& result, const mapisvc::ImportOptions& options = {})
    {
        const auto file = Sample(name);
        if (!file)
            return false;
        EXPECT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
        m_hr = mapisvc::ImportDataFile(m_profile, file->string(), options, result);
        return true;
    }

    std::vector<std::string> StoreFiles() const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(fs::path(mapisvc::GetHome()) / "stores"))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    // The stores a session on the profile sees.
    size_t VisibleStoreCount()
    {
        Ref<IMAPISession> session = Logon(m_profile);
        Ref<IMAPITable> stores;
        EXPECT_EQ(session->GetMsgStoresTable(0, stores.Out()), S_OK);
        return stores ? ReadRows(stores.Get(), {PR_DISPLAY_NAME_W}).size() : 0;
    }

    // The first message of the store's IPM subtree, or of the first of its folders that has one.
    Ref<IMessage> FirstMessage(IMsgStore* store, const std::u16string& folderName = u"")
    {
        Ref<IMAPIFolder> folder = OpenFolderByProp(store, PR_IPM_SUBTREE_ENTRYID);
        if (!folderName.empty())
        {
            Ref<IMAPITable> hierarchy;
            EXPECT_EQ(folder->GetHierarchyTable(0, hierarchy.Out()), S_OK);
            TableRows rows = ReadRows(hierarchy.Get(), {PR_ENTRYID, PR_DISPLAY_NAME_W});
            for (size_t i = 0; i < rows.size(); ++i)
                if (reinterpret_cast<const char16_t*>(rows[i].lpProps[1].Value.lpszW) == folderName)
                    folder = OpenFolder(store, ToEntryId(rows[i].lpProps[0].Value.bin));
        }
        Ref<IMAPITable> contents;
        EXPECT_EQ(folder->GetContentsTable(0, contents.Out()), S_OK);
        TableRows rows = ReadRows(contents.Get(), {PR_ENTRYID});
        Ref<IMessage> message;
        if (rows.size() == 0)
            return message;
        ULONG type = 0;
        EXPECT_EQ(folder->OpenEntry(rows[0].lpProps[0].Value.bin.cb,
                                    reinterpret_cast<LPENTRYID>(rows[0].lpProps[0].Value.bin.lpb), nullptr, 0, &type,
                                    message.OutUnknown()),
                  S_OK);
        return message;
    }

    std::u16string m_profile;
    HRESULT m_hr = E_FAIL;
};

std::vector<std::u16string> TraceLines(const mapipim::TraceCapture& trace)
{
    std::vector<std::u16string> lines;
    for (const CString& line : trace.GetLines())
        lines.emplace_back(static_cast<LPCWSTR>(line));
    return lines;
}

TableRows Rows(IMessage* message, bool attachments, const std::vector<ULONG>& columns)
{
    Ref<IMAPITable> table;
    EXPECT_EQ(attachments ? message->GetAttachmentTable(0, table.Out()) : message->GetRecipientTable(0, table.Out()),
              S_OK);
    return ReadRows(table.Get(), columns);
}

Ref<IMessage> AttachedMessage(IMessage* message, ULONG num)
{
    Ref<IAttach> attachment;
    Ref<IMessage> attached;
    EXPECT_EQ(message->OpenAttach(num, nullptr, 0, attachment.Out()), S_OK);
    if (attachment)
        EXPECT_EQ(attachment->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, attached.OutUnknown()), S_OK);
    return attached;
}

// ---- Every sample, against the independent reader
class EverySampleTest : public DataFileImportTest, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(EverySampleTest, ImportsTheFoldersAndItemsTheIndependentReaderSees)
{
    if (GetParam().empty())
        GTEST_SKIP() << "no Outlook data file samples on this machine (MAPIPIM_SAMPLES)";
    const auto expected = ReaderTree(*Sample(GetParam()), SampleCodePage(GetParam()));
    if (!expected)
        GTEST_SKIP() << "the independent reader (python3-pypff) is not installed";
    mapisvc::ImportResult result;
    ASSERT_TRUE(Import(GetParam(), result));
    ASSERT_EQ(m_hr, S_OK) << result.reason;
    EXPECT_EQ(result.skipped, 0u);
    ULONG items = 0;
    for (const std::string& line : *expected)
        items += std::stoul(line.substr(line.find('\t') + 1));
    EXPECT_EQ(result.items, items);
    // Every folder but the root and the IPM subtree, which the store has of its own.
    EXPECT_EQ(result.folders, expected->size() - 2);

    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    ASSERT_TRUE(store);
    EXPECT_EQ(GetString(store.Get(), PR_DISPLAY_NAME_W), mapisvc::FromUtf8(fs::path(GetParam()).stem().string()));
    EXPECT_EQ(StoreTree(store.Get()), *expected);
}

std::vector<std::string> SampleParams()
{
    std::vector<std::string> names = SampleNames();
    return names.empty() ? std::vector<std::string>{""} : names;
}

std::string ParamName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param.empty() ? "none" : fs::path(info.param).stem().string();
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Samples, EverySampleTest, ::testing::ValuesIn(SampleParams()), ParamName);

// ---- What the items hold
TEST_F(DataFileImportTest, KeepsTwoHundredRecipients)
{
    mapisvc::ImportResult result;
    if (!Import("mail_200_recipients_unicode.pst", result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK);
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    Ref<IMessage> message = FirstMessage(store.Get());
    ASSERT_TRUE(message);
    EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), u"200 recipients");
    TableRows recipients = Rows(message.Get(), false, {PR_DISPLAY_NAME_W, PR_RECIPIENT_TYPE});
    EXPECT_EQ(recipients.size(), 200u);
}

TEST_F(DataFileImportTest, OpensAttachedMessagesLevelByLevel)
{
    mapisvc::ImportResult result;
    if (!Import("mail_nested_4_levels_unicode.pst", result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK);
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    Ref<IMessage> message = FirstMessage(store.Get(), u"Inbox");
    ASSERT_TRUE(message);
    std::vector<std::u16string> subjects{GetString(message.Get(), PR_SUBJECT_W)};
    for (int level = 0; level < 8; ++level)
    {
        TableRows attachments = Rows(message.Get(), true, {PR_ATTACH_NUM, PR_ATTACH_METHOD});
        ULONG embedded = ~0u;
        for (size_t i = 0; i < attachments.size(); ++i)
            if (attachments[i].lpProps[1].Value.l == ATTACH_EMBEDDED_MSG)
                embedded = static_cast<ULONG>(attachments[i].lpProps[0].Value.l);
        if (embedded == ~0u)
            break;
        message = AttachedMessage(message.Get(), embedded);
        ASSERT_TRUE(message);
        EXPECT_FALSE(HasProp(message.Get(), PR_ENTRYID));
        subjects.push_back(GetString(message.Get(), PR_SUBJECT_W));
    }
    EXPECT_EQ(subjects, (std::vector<std::u16string>{u"Outermost message", u"Middle message", u"Innermost message"}));
}

TEST_F(DataFileImportTest, KeepsJapaneseAttachmentNames)
{
    mapisvc::ImportResult result;
    if (!Import("mail_ja_attachment_filename_unicode.pst", result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK);
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    Ref<IMessage> message = FirstMessage(store.Get());
    ASSERT_TRUE(message);
    TableRows attachments = Rows(message.Get(), true, {PR_ATTACH_LONG_FILENAME_W, PR_ATTACH_SIZE});
    ASSERT_EQ(attachments.size(), 3u);
    EXPECT_EQ(reinterpret_cast<const char16_t*>(attachments[0].lpProps[0].Value.lpszW),
              std::u16string(u"エラー Error を 意味する記号.png"));
    EXPECT_EQ(reinterpret_cast<const char16_t*>(attachments[2].lpProps[0].Value.lpszW),
              std::u16string(u"情報 Information を 意味する記号.png"));
    EXPECT_GT(attachments[0].lpProps[1].Value.l, 100);
}

TEST_F(DataFileImportTest, ReadsAnsiTextInTheItemsCodePage)
{
    mapisvc::ImportResult result;
    if (!Import("mail_ja_cp932_ansi.pst", result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK);
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    Ref<IMessage> message = FirstMessage(store.Get());
    ASSERT_TRUE(message);
    EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), u"日本語 Non Unicode タイトル");
    EXPECT_EQ(GetString(message.Get(), PR_BODY_W), u"日本語 Non Unicode 本文\r\n");
    // The folder names of the file are in the same code page.
    Ref<IMAPIFolder> ipm = OpenFolderByProp(store.Get(), PR_IPM_SUBTREE_ENTRYID);
    EXPECT_EQ(GetString(ipm.Get(), PR_DISPLAY_NAME_W), u"Outlook データ ファイルのトップ");
}

TEST_F(DataFileImportTest, GivesTheFilesFoldersTheirRoles)
{
    mapisvc::ImportResult result;
    if (!Import("mail_attachments_embedded_aspose_unicode.pst", result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK);
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    EXPECT_EQ(GetString(OpenInbox(store.Get()).Get(), PR_DISPLAY_NAME_W), u"Inbox");
    EXPECT_EQ(GetString(OpenFolderByProp(store.Get(), PR_IPM_SENTMAIL_ENTRYID).Get(), PR_DISPLAY_NAME_W),
              u"Sent Items");
    EXPECT_EQ(GetString(OpenFolderByProp(store.Get(), PR_IPM_WASTEBASKET_ENTRYID).Get(), PR_DISPLAY_NAME_W),
              u"Deleted Items");
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    const mapisvc::EntryId contacts = GetBinary(inbox.Get(), PR_IPM_CONTACT_ENTRYID);
    EXPECT_EQ(GetString(OpenFolder(store.Get(), contacts).Get(), PR_DISPLAY_NAME_W), u"Contacts");
}

// Files whose Inbox names only the reminders and the additional folders (pypff: PR_REM_ONLINE_ENTRYID and
// PR_ADDITIONAL_REN_ENTRYIDS on "Inbox", no folder of a kind named anywhere): the Inbox is still the receive folder.
class InboxOfSampleTest : public DataFileImportTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(InboxOfSampleTest, IsTheReceiveFolder)
{
    mapisvc::ImportResult result;
    if (!Import(GetParam(), result))
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(m_hr, S_OK) << result.reason;
    MapiInit init;
    Ref<IMAPISession> session = Logon(m_profile);
    Ref<IMsgStore> store = OpenStore(session.Get(), result.store);
    Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
    ASSERT_TRUE(inbox);
    EXPECT_EQ(GetString(inbox.Get(), PR_DISPLAY_NAME_W), u"Inbox");
}

INSTANTIATE_TEST_SUITE_P(Samples, InboxOfSampleTest,
                         ::testing::Values("mail_test_folders_unicode.pst", "mail_nested_4_levels_unicode.pst",
                                           "mail_followup_flags_unicode.pst", "mailbox_exchange_aspose_unicode.ost"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string("Sample") + std::to_string(info.index); });

// ---- All or nothing
TEST_F(DataFileImportTest, ACancelledImportLeavesNoStore)
{
    const auto file = Sample("mail_reports_password_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
    const std::vector<std::string> before = StoreFiles();
    std::vector<ULONG> seen;
    mapisvc::ImportOptions options;
    options.progress = [&](ULONG done, ULONG total)
    {
        seen.push_back(done);
        EXPECT_EQ(total, 18u);
        return done < 5;
    };
    mapisvc::ImportResult result;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, file->string(), options, result), MAPI_E_USER_CANCEL);
    EXPECT_EQ(seen.back(), 5u);
    EXPECT_EQ(result.items, 5u);
    EXPECT_TRUE(result.store.empty());
    EXPECT_EQ(StoreFiles(), before);
    MapiInit init;
    EXPECT_EQ(VisibleStoreCount(), 1u);
}

// What a process killed halfway leaves: a store file that no profile lists, so no session ever sees half a copy.
TEST_F(DataFileImportTest, NoSessionSeesTheStoreWhileItIsFilled)
{
    const auto file = Sample("mail_reports_password_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
    const std::vector<std::string> before = StoreFiles();
    MapiInit init;
    size_t filesMidway = 0, storesMidway = 0;
    mapisvc::ImportOptions options;
    options.progress = [&](ULONG done, ULONG)
    {
        if (done != 9)
            return true;
        filesMidway = StoreFiles().size();
        storesMidway = VisibleStoreCount();
        return false;
    };
    mapisvc::ImportResult result;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, file->string(), options, result), MAPI_E_USER_CANCEL);
    EXPECT_GT(filesMidway, before.size());
    EXPECT_EQ(storesMidway, 1u);
    EXPECT_EQ(StoreFiles(), before);
}

TEST_F(DataFileImportTest, TheNextImportRemovesTheStoreOfAnImportKilledHalfway)
{
    const auto file = Sample("mail_reports_password_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
    const std::vector<std::string> before = StoreFiles();
    const pid_t child = fork();
    if (child == 0)
    {
        mapisvc::ImportOptions options;
        options.progress = [](ULONG done, ULONG) -> bool
        {
            if (done == 9)
                _exit(0); // killed halfway: nothing of the import runs its cleanup
            return true;
        };
        mapisvc::ImportResult result;
        mapisvc::ImportDataFile(m_profile, file->string(), options, result);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_GT(StoreFiles().size(), before.size()) << "the killed import left its files";

    mapisvc::ImportResult result;
    mapisvc::ImportOptions options;
    options.storeName = u"Second";
    ASSERT_EQ(mapisvc::ImportDataFile(m_profile, file->string(), options, result), S_OK) << result.reason;
    std::vector<std::string> after = StoreFiles();
    std::vector<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    ASSERT_EQ(added.size(), 1u) << "only the second import's store is new, not the first one's remains";
    EXPECT_EQ(added[0].substr(added[0].size() - 3), ".db");
    MapiInit init;
    EXPECT_EQ(VisibleStoreCount(), 2u);
}

TEST_F(DataFileImportTest, RefusesANameTheProfileHasAndAMissingProfile)
{
    const auto file = Sample("notes_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
    mapisvc::ImportOptions options;
    options.storeName = u"personal folders";
    mapisvc::ImportResult result;
    mapipim::TraceCapture trace;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, file->string(), options, result), MAPI_E_COLLISION);
    EXPECT_EQ(mapisvc::ImportDataFile(u"Nobody", file->string(), {}, result), MAPI_E_NOT_FOUND);
    EXPECT_EQ(result.reason, "no profile named Nobody");
    EXPECT_EQ(TraceLines(trace), (std::vector<std::u16string>{
                                     u"[MAPI] ImportDataFile failed : the profile has a store named personal folders",
                                     u"[MAPI] ImportDataFile failed : no profile named Nobody"}));
    options.storeName = u"Notes archive";
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, file->string(), options, result), S_OK);
    EXPECT_EQ(result.items, 3u);
}
} // namespace
