// ImportItem and ExportItem: Outlook's own item files imported into the default store and read through each
// kind's Get…, compared with what an independent reader sees in the file; export → import round trips; files
// that are not item files, cancellation and trace lines; every exported file read back by the independent reader.
#include "support/MsgOracle.h"
#include "support/MsgSamples.h"
#include "support/ProcessFlags.h"
#include "support/ScopedEnvironment.h"
#include "support/ServiceFixture.h"

#include <mapipim/mapipim.h>

#include "platform/trace/TraceCapture.h"

#include <fstream>

using namespace msgtest;

namespace
{
const ULONG kAllFields = 0x7;
const unsigned kInbox = 0x1, kContacts = 0x20, kCalendar = 0x40, kTasks = 0x80, kNotes = 0x100;

std::string Utf8(const CString& text)
{
    return text.ToUtf8();
}

CString Wide(const fs::path& path)
{
    return CString::FromUtf8(path.string().c_str());
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The folder type a sample's kind lives in, from the name the samples folder gives it.
unsigned FolderTypeOfSample(const std::string& name)
{
    if (name.rfind("contact_", 0) == 0)
        return kContacts;
    if (name.rfind("appt_", 0) == 0 || name.rfind("meeting_", 0) == 0)
        return kCalendar;
    if (name.rfind("task_", 0) == 0)
        return kTasks;
    if (name.rfind("stickynote_", 0) == 0)
        return kNotes;
    return kInbox;
}

// The first non-empty line of a text, trimmed.
std::string FirstLine(const std::string& text)
{
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t") + 1);
        if (!line.empty())
            return line;
        start = end + 1;
    }
    return std::string();
}

class MsgFileTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        CMAPIInterface::SetYield(0);
        m_pInterface = std::make_unique<CMAPIInterface>();
        ASSERT_TRUE(m_pInterface->GetDefaultStoreFolder(m_stores, kInbox | kContacts | kCalendar | kTasks | kNotes));
        m_pTrace = std::make_unique<mapipim::TraceCapture>();
    }
    void TearDown() override
    {
        m_pTrace.reset();
        for (INT_PTR i = 0; i < m_stores.GetSize(); ++i)
            delete m_stores[i];
        m_stores.RemoveAll();
        m_pInterface.reset();
        ServiceTest::TearDown();
    }

    COutlookFolder* Folder(unsigned type)
    {
        for (INT_PTR s = 0; s < m_stores.GetSize(); ++s)
            for (INT_PTR f = 0; f < m_stores[s]->arrFolders.GetSize(); ++f)
                if (m_stores[s]->arrFolders[f]->nFolderType == int(type) && m_stores[s]->arrFolders[f]->nDepth == 1)
                    return m_stores[s]->arrFolders[f];
        ADD_FAILURE() << "no folder of type " << type;
        return nullptr;
    }

    fs::path Scratch(const std::string& name) const { return fs::path(Home()) / name; }

    // Imports the file into the folder; the record's identifier is the new item's.
    template <class TInfo> bool Import(const fs::path& file, unsigned type, TInfo& record)
    {
        CString strEntryID;
        if (!m_pInterface->ImportItem(Folder(type), Wide(file), strEntryID))
            return false;
        record.strEntryID = strEntryID;
        GetStringToSBinary(record.sbEntryID, strEntryID);
        return true;
    }

    bool Traced(const char* prefix) const
    {
        for (const CString& line : m_pTrace->GetLines())
            if (Utf8(line).rfind(prefix, 0) == 0)
                return true;
        return false;
    }

    ScopedTz m_utc{"UTC"};
    ProcessFlagsGuard m_flags;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    CArray<COutlookStore*, COutlookStore*> m_stores;
    std::unique_ptr<mapipim::TraceCapture> m_pTrace;
};

// ---- Outlook's own files

class MsgSampleTest : public MsgFileTest, public ::testing::WithParamInterface<std::string>
{
protected:
    // What the kind reads of the imported item: subject, body, attachment names and count.
    struct Seen
    {
        std::string subject, body, attachments;
        int attachCount = 0;
        std::string to, cc;
        bool textBody = true; // false when the kind read an HTML or RTF body
    };

    bool ImportAndRead(const fs::path& file, Seen& seen)
    {
        switch (FolderTypeOfSample(GetParam()))
        {
        case kContacts:
            return ReadAs<CMAPIContactInfo>(file, kContacts, seen, [&](CMAPIContactInfo& r) {
                seen.textBody = false; // a contact's notes are not what the reader calls its body
                return m_pInterface->GetContact(&r, kAllFields) &&
                       Fill(seen, r.strFullName, r.strMemo, CString(), 0, CString(), CString());
            });
        case kCalendar:
            return ReadAs<CMAPIScheduleInfo>(file, kCalendar, seen, [&](CMAPIScheduleInfo& r) {
                return m_pInterface->GetSchedule(&r, kAllFields) &&
                       Fill(seen, r.strSubject, r.strContents, r.strAttachFile, r.nAttachCount, CString(), CString());
            });
        case kTasks:
            return ReadAs<CMAPITodoInfo>(file, kTasks, seen, [&](CMAPITodoInfo& r) {
                return m_pInterface->GetTodo(&r, kAllFields) &&
                       Fill(seen, r.strSubject, r.strContents, r.strAttachFile, r.nAttachCount, CString(), CString());
            });
        case kNotes:
            return ReadAs<CMAPIMemoInfo>(file, kNotes, seen, [&](CMAPIMemoInfo& r) {
                return m_pInterface->GetMemo(&r, kAllFields) &&
                       Fill(seen, r.strSubject, r.strContents, CString(), 0, CString(), CString());
            });
        default:
            return ReadAs<CMAPIEmailInfo>(file, kInbox, seen, [&](CMAPIEmailInfo& r) {
                r.nForm = 1;
                const bool read = m_pInterface->GetEmail(&r, kAllFields) &&
                                  Fill(seen, r.strSubject, r.strContents, r.strAttachFile, r.nAttachCount, r.strTo,
                                       r.strCC);
                seen.textBody = r.nForm <= 1;
                return read;
            });
        }
    }

    template <class TInfo, class Read> bool ReadAs(const fs::path& file, unsigned type, Seen&, Read read)
    {
        TInfo record;
        return Import(file, type, record) && read(record);
    }

    static bool Fill(Seen& seen, const CString& subject, const CString& body, const CString& attachments,
                     int attachCount, const CString& to, const CString& cc)
    {
        seen.subject = Utf8(subject);
        seen.body = Utf8(body);
        seen.attachments = Utf8(attachments);
        seen.attachCount = attachCount;
        seen.to = Utf8(to);
        seen.cc = Utf8(cc);
        return true;
    }
};

TEST_P(MsgSampleTest, ImportsAndReadsWhatTheIndependentReaderSees)
{
    const auto file = Sample(GetParam());
    if (!file)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    Seen seen;
    ASSERT_TRUE(ImportAndRead(*file, seen));
    const auto oracle = ReadWithOracle(*file, SampleEncoding(GetParam()));
    if (!oracle)
        GTEST_SKIP() << "the independent reader (node, tests/oracles) is not installed";
    if (FolderTypeOfSample(GetParam()) != kContacts)
        EXPECT_EQ(seen.subject, oracle->subject);
    const std::string line = FirstLine(oracle->body);
    if (!line.empty() && seen.textBody)
        EXPECT_NE(seen.body.find(line), std::string::npos) << "body: " << seen.body << "\nexpected line: " << line;
    if (FolderTypeOfSample(GetParam()) == kInbox || FolderTypeOfSample(GetParam()) == kCalendar)
    {
        EXPECT_EQ(seen.attachCount, int(oracle->attachments.size()));
        for (const OracleAttachment& attachment : oracle->attachments)
            if (!attachment.embedded)
                EXPECT_NE(seen.attachments.find(attachment.name), std::string::npos) << attachment.name;
    }
}

std::string SampleTestName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param.substr(0, info.param.find('.'));
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

std::vector<std::string> SamplesOrPlaceholder()
{
    std::vector<std::string> names = SampleNames();
    if (names.empty())
        names.push_back("none.msg"); // skips: the samples are not on this machine
    return names;
}

INSTANTIATE_TEST_SUITE_P(Outlook, MsgSampleTest, ::testing::ValuesIn(SamplesOrPlaceholder()), SampleTestName);

TEST_F(MsgFileTest, MailSampleGivesSenderRecipientsAndAttachmentSizes)
{
    const auto file = Sample("mail_attachments_doc_txt.msg");
    if (!file)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    CMAPIEmailInfo mail;
    ASSERT_TRUE(Import(*file, kInbox, mail));
    ASSERT_TRUE(m_pInterface->GetEmail(&mail, kAllFields));
    EXPECT_EQ(Utf8(mail.strSubject), "test pi\xC3\xA8" "ce jointe 1");
    EXPECT_NE(Utf8(mail.strSenderName).find("nicolas1.23456@free.fr"), std::string::npos);
    EXPECT_NE(Utf8(mail.strTo).find("nicolas1.23456@free.fr"), std::string::npos);
    EXPECT_EQ(mail.nAttachCount, 2);
    // The bytes of each attachment, saved from the store, are those of the file.
    const fs::path saved = Scratch("saved");
    fs::create_directories(saved);
    EXPECT_TRUE(m_pInterface->SaveAttachment(mail.sbEntryID, Wide(saved), -1, 0));
    EXPECT_EQ(fs::file_size(saved / "test-unicode.doc"), 24064u);
    EXPECT_EQ(fs::file_size(saved / "pj1.txt"), 89u);
}

TEST_F(MsgFileTest, RecurringAppointmentKeepsItsPatternAndNoteItsColour)
{
    const auto weekly = Sample("appt_recur_weekly_friday_lunch_2exceptions.msg");
    const auto single = Sample("appt_single_est.msg");
    const auto note = Sample("stickynote_poi.msg");
    if (!weekly || !single || !note)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    CMAPIScheduleInfo recurring, once;
    ASSERT_TRUE(Import(*weekly, kCalendar, recurring));
    ASSERT_TRUE(m_pInterface->GetSchedule(&recurring, kAllFields));
    EXPECT_TRUE(recurring.bRecurSet);
    ASSERT_NE(recurring.lprcRecurring, nullptr);
    ASSERT_TRUE(Import(*single, kCalendar, once));
    ASSERT_TRUE(m_pInterface->GetSchedule(&once, kAllFields));
    EXPECT_FALSE(once.bRecurSet);
    FILETIME start = {}, end = {};
    ASSERT_TRUE(SystemTimeToFileTime(&once.tzStartTime.tmDateTime, &start));
    ASSERT_TRUE(SystemTimeToFileTime(&once.tzEndTime.tmDateTime, &end));
    const auto Ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    EXPECT_LT(Ticks(start), Ticks(end));
    CMAPIMemoInfo memo;
    ASSERT_TRUE(Import(*note, kNotes, memo));
    ASSERT_TRUE(m_pInterface->GetMemo(&memo, kAllFields));
    EXPECT_GE(memo.nNoteColor, 0);
    EXPECT_LE(memo.nNoteColor, 4);
}

// ---- Our own files

TEST_F(MsgFileTest, ExportedMailImportsWithTheSameFieldsAndAttachmentBytes)
{
    const fs::path attachment = Scratch("report.bin");
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += char(i * 7);
    WriteAll(attachment, bytes);
    CMAPIEmailInfo mail;
    mail.strSubject = CString::FromUtf8("Offer â¬ 12 ÐÑÐ¸Ð²ÐµÑ");
    mail.strContents = _T("First line\r\nSecond line");
    mail.nForm = 1;
    mail.strTo = _T("Anna Berg <anna@example.com>");
    mail.strCC = _T("carl@example.com");
    mail.strAttachFile = Wide(attachment);
    mail.nImportance = 2;
    ASSERT_TRUE(m_pInterface->CreateEmail(Folder(kInbox), &mail));
    const fs::path file = Scratch("mail.msg");
    ASSERT_TRUE(m_pInterface->ExportItem(mail.sbEntryID, Wide(file)));

    CMAPIEmailInfo again;
    ASSERT_TRUE(Import(file, kInbox, again));
    EXPECT_NE(again.strEntryID, mail.strEntryID);
    again.nForm = 1;
    ASSERT_TRUE(m_pInterface->GetEmail(&again, kAllFields));
    CMAPIEmailInfo original = mail;
    original.nForm = 1;
    ASSERT_TRUE(m_pInterface->GetEmail(&original, kAllFields));
    EXPECT_EQ(again.strSubject, original.strSubject);
    EXPECT_EQ(again.strContents, original.strContents);
    EXPECT_EQ(again.strTo, original.strTo);
    EXPECT_EQ(again.strCC, original.strCC);
    EXPECT_EQ(again.nImportance, 2);
    EXPECT_EQ(again.nAttachCount, 1);
    const fs::path saved = Scratch("saved");
    fs::create_directories(saved);
    ASSERT_TRUE(m_pInterface->SaveAttachment(again.sbEntryID, Wide(saved), -1, 0));
    EXPECT_EQ(ReadAll(saved / "report.bin"), bytes);

    const auto oracle = ReadWithOracle(file);
    if (!oracle)
        GTEST_SKIP() << "the independent reader (node, tests/oracles) is not installed";
    EXPECT_EQ(oracle->subject, Utf8(original.strSubject));
    EXPECT_NE(oracle->body.find("Second line"), std::string::npos);
    ASSERT_EQ(oracle->recipients.size(), 2u);
    EXPECT_EQ(oracle->recipients[0].email, "anna@example.com");
    ASSERT_EQ(oracle->attachments.size(), 1u);
    EXPECT_EQ(oracle->attachments[0].name, "report.bin");
    EXPECT_EQ(oracle->attachments[0].size, 20000);
}

TEST_F(MsgFileTest, MessageInMessageRoundTripsThroughAFile)
{
    const auto sample = Sample("mail_msg_in_msg.msg");
    if (!sample)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    CMAPIEmailInfo first;
    ASSERT_TRUE(Import(*sample, kInbox, first));
    const fs::path file = Scratch("nested.msg");
    ASSERT_TRUE(m_pInterface->ExportItem(first.sbEntryID, Wide(file)));
    CMAPIEmailInfo second;
    ASSERT_TRUE(Import(file, kInbox, second));
    ASSERT_TRUE(m_pInterface->GetEmail(&second, kAllFields));
    EXPECT_EQ(second.nAttachCount, 2);
    const auto ours = ReadWithOracle(file);
    const auto theirs = ReadWithOracle(*sample);
    if (!ours || !theirs)
        GTEST_SKIP() << "the independent reader (node, tests/oracles) is not installed";
    ASSERT_EQ(ours->attachments.size(), theirs->attachments.size());
    for (size_t i = 0; i < ours->attachments.size(); ++i)
    {
        EXPECT_EQ(ours->attachments[i].embedded, theirs->attachments[i].embedded);
        EXPECT_EQ(ours->attachments[i].subject, theirs->attachments[i].subject);
        EXPECT_EQ(ours->attachments[i].size, theirs->attachments[i].size);
    }
    EXPECT_EQ(ours->subject, theirs->subject);
}

TEST_F(MsgFileTest, EverySampleExportsToAFileTheIndependentReaderAgreesWith)
{
    if (SampleNames().empty() || !OracleAvailable())
        GTEST_SKIP() << "no .msg samples or no independent reader on this machine";
    for (const std::string& name : SampleNames())
    {
        SCOPED_TRACE(name);
        CMAPIEmailInfo item;
        ASSERT_TRUE(Import(*Sample(name), FolderTypeOfSample(name), item));
        const fs::path file = Scratch("export_" + name);
        ASSERT_TRUE(m_pInterface->ExportItem(item.sbEntryID, Wide(file)));
        const auto ours = ReadWithOracle(file);
        const auto theirs = ReadWithOracle(*Sample(name), SampleEncoding(name));
        ASSERT_TRUE(ours && theirs);
        EXPECT_EQ(ours->messageClass, theirs->messageClass);
        EXPECT_EQ(ours->subject, theirs->subject);
        // Our file carries the plain text of every body; Outlook's may hold only the RTF or HTML one.
        if (!theirs->body.empty())
            EXPECT_EQ(ours->body, theirs->body);
        EXPECT_EQ(ours->recipients.size(), theirs->recipients.size());
        ASSERT_EQ(ours->attachments.size(), theirs->attachments.size());
        for (size_t i = 0; i < ours->attachments.size(); ++i)
        {
            EXPECT_EQ(ours->attachments[i].name, theirs->attachments[i].name);
            EXPECT_EQ(ours->attachments[i].size, theirs->attachments[i].size);
        }
    }
}

// ---- Files that are not item files, and cancellation

TEST_F(MsgFileTest, FilesThatAreNotItemFilesAddNothingAndAreTraced)
{
    const fs::path text = Scratch("text.msg");
    WriteAll(text, "not a compound file at all");
    std::vector<fs::path> files = {Scratch("missing.msg"), text};
    if (const auto sample = Sample("mail_plaintext_fromtext.msg"))
    {
        const std::string bytes = ReadAll(*sample);
        WriteAll(Scratch("truncated.msg"), bytes.substr(0, bytes.size() / 3));
        WriteAll(Scratch("header_only.msg"), bytes.substr(0, 512));
        files.push_back(Scratch("truncated.msg"));
        files.push_back(Scratch("header_only.msg"));
    }
    const int before = m_pInterface->GetRowCount(Folder(kInbox));
    for (const fs::path& file : files)
    {
        SCOPED_TRACE(file.filename().string());
        m_pTrace->Clear();
        CString strEntryID = _T("stale");
        EXPECT_FALSE(m_pInterface->ImportItem(Folder(kInbox), Wide(file), strEntryID));
        EXPECT_TRUE(strEntryID.IsEmpty());
        EXPECT_TRUE(Traced("[MAPI] ImportItem - Open failed a file : "));
    }
    EXPECT_EQ(m_pInterface->GetRowCount(Folder(kInbox)), before);
}

TEST_F(MsgFileTest, CancelledImportLeavesNoItemAndCancelledExportNoFile)
{
    CMAPIMemoInfo memo;
    memo.strContents = _T("Buy milk");
    ASSERT_TRUE(m_pInterface->CreateMemo(Folder(kNotes), &memo));
    const fs::path file = Scratch("memo.msg");
    ASSERT_TRUE(m_pInterface->ExportItem(memo.sbEntryID, Wide(file)));
    const int before = m_pInterface->GetRowCount(Folder(kNotes));

    CMAPIInterface::SetCancel(1);
    CString strEntryID;
    EXPECT_FALSE(m_pInterface->ImportItem(Folder(kNotes), Wide(file), strEntryID));
    EXPECT_TRUE(Traced("[MAPI] ImportItem - Cancelled : "));
    const fs::path cancelled = Scratch("cancelled.msg");
    EXPECT_FALSE(m_pInterface->ExportItem(memo.sbEntryID, Wide(cancelled)));
    EXPECT_TRUE(Traced("[MAPI] ExportItem - Cancelled : "));
    CMAPIInterface::SetCancel(0);

    EXPECT_EQ(m_pInterface->GetRowCount(Folder(kNotes)), before);
    EXPECT_FALSE(fs::exists(cancelled));
    CMAPIMemoInfo again;
    ASSERT_TRUE(Import(file, kNotes, again));
    ASSERT_TRUE(m_pInterface->GetMemo(&again, kAllFields));
    EXPECT_EQ(again.strContents, memo.strContents);
}

TEST_F(MsgFileTest, ExportOfAnUnknownItemOrIntoNoFolderFails)
{
    BYTE unknown[] = {0, 0, 0, 0, 1, 2, 3};
    SBinary id = {sizeof(unknown), unknown};
    EXPECT_FALSE(m_pInterface->ExportItem(id, Wide(Scratch("x.msg"))));
    EXPECT_TRUE(Traced("[MAPI] ExportItem - Open failed a object : "));
    EXPECT_FALSE(fs::exists(Scratch("x.msg")));

    CMAPIMemoInfo memo;
    memo.strContents = _T("Note");
    ASSERT_TRUE(m_pInterface->CreateMemo(Folder(kNotes), &memo));
    EXPECT_FALSE(m_pInterface->ExportItem(memo.sbEntryID, Wide(Scratch("no/such/folder/x.msg"))));
    EXPECT_TRUE(Traced("[MAPI] ExportItem - Create failed a file : "));
}
} // namespace
