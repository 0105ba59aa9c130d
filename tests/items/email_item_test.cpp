// The e-mail item against the embedded service: the message-state table, the read groups, the body format from the
// transport headers, recipients of every type (Unicode and ANSI-only stores, names with commas, "EX" entries), the
// sender, the times, attachments, submission after saving, and the trace line of each field by fault injection.
#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/mapisvc.h>

#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ItemFixture.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A folder object over a folder the test opened itself; it takes a reference of its own.
class TestFolder : public CMAPIFolder
{
public:
    explicit TestFolder(IMAPIFolder* pFolder)
    {
        if (pFolder)
            pFolder->AddRef();
        m_pItem = pFolder;
    }
};

ULONG FailTag(const char* szMethod, ULONG ulTag, const char* szInterface = "")
{
    mapisvc::Fault fault;
    fault.interfaceName = szInterface;
    fault.method = szMethod;
    fault.propTag = CHANGE_PROP_TYPE(ulTag, PT_UNSPECIFIED);
    return mapisvc::InjectFault(fault);
}

class EmailItemTest : public ItemServiceTest
{
protected:
    void SetUp() override
    {
        ItemServiceTest::SetUp();
        m_folderRecord.strName = _T("Inbox");
        m_folderRecord.nFolderType = 1;
    }

    // A record with one recipient of each type, a sender, a subject and a text body.
    static CMAPIEmailInfo NewRecord()
    {
        CMAPIEmailInfo info;
        info.strSubject = _T("Quarterly figures");
        info.strSenderName = _T("Zoë Sender <zoe@example.org>");
        info.strTo = _T("Lopez, Maria <maria@example.com>");
        info.strCC = _T("cc@example.com");
        info.strBCC = _T("Hidden One<bcc@example.net>");
        info.nForm = 1;
        info.strContents = _T("Body text");
        info.nMsgState = 3;
        return info;
    }

    // Writes the record as a new e-mail of the folder (the Inbox by default) and returns its identifier.
    mapisvc::EntryId Write(CMAPIEmailInfo& info, IMAPIFolder* pFolder = nullptr)
    {
        TestFolder folder(pFolder ? pFolder : Inbox());
        CMAPIEmailItem item;
        EXPECT_TRUE(item.Create(&m_mapi, &folder));
        EXPECT_TRUE(item.SetInfo(&m_folderRecord, &info));
        const SBinary* pID = item.GetEntryID();
        return pID ? mapisvc::EntryId(pID->lpb, pID->lpb + pID->cb) : mapisvc::EntryId();
    }

    BOOL Read(const mapisvc::EntryId& id, CMAPIEmailInfo& info, ULONG ulFlags = 0x7)
    {
        CMAPIEmailItem item;
        if (!item.Open(&m_mapi, AsSBinary(id)))
            return FALSE;
        return item.GetInfo(&info, ulFlags);
    }

    COutlookFolder m_folderRecord;
    mapipim::TraceCapture m_trace;
};

TEST_F(EmailItemTest, EveryStateAndReadFlagIsWrittenAndReadBack)
{
    struct Row
    {
        int nMsgState, bRead;
        LONG lFlagsStored; // the flags that matter: read, submitted, unsent
        int nStateRead, bReadAfterWrite, bReadRead;
    } const rows[] = {
        {0, 0, 0, 0, 0, 0},
        {0, 1, MSGFLAG_READ, 0, 1, 1},
        {1, 0, MSGFLAG_READ, 1, 1, 1},
        {2, 1, MSGFLAG_READ, 2, 1, 1},
        {3, 0, MSGFLAG_READ, 3, 1, 1},
        {4, 1, MSGFLAG_SUBMIT | MSGFLAG_UNSENT, 4, 0, 0},
        {5, 1, MSGFLAG_UNSENT, 5, 1, 0},
        {5, 0, MSGFLAG_UNSENT, 5, 0, 0},
        {6, 1, MSGFLAG_READ, 0, 1, 1},
        {6, 0, 0, 0, 0, 0},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "state " << row.nMsgState << ", read " << row.bRead);
        CMAPIEmailInfo info = NewRecord();
        info.nMsgState = row.nMsgState;
        info.bRead = row.bRead;
        const mapisvc::EntryId id = Write(info);
        EXPECT_EQ(info.bRead, row.bReadAfterWrite);
        Ref<IMessage> message = OpenMessage(Session(), id);
        const LONG lFlags = GetLong(message.Get(), PR_MESSAGE_FLAGS);
        EXPECT_EQ(lFlags & (MSGFLAG_READ | MSGFLAG_SUBMIT | MSGFLAG_UNSENT), row.lFlagsStored);
        CMAPIEmailInfo read;
        ASSERT_TRUE(Read(id, read));
        EXPECT_EQ(read.nMsgState, row.nStateRead);
        EXPECT_EQ(read.bRead, row.bReadRead);
    }
}

TEST_F(EmailItemTest, SubmittedOnlyForStateFourAfterTheSave)
{
    CMAPIEmailInfo info = NewRecord();
    info.nMsgState = 4;
    Write(info);
    const std::vector<mapisvc::CallRecord> calls = mapisvc::GetCallLog();
    auto save = std::find_if(calls.begin(), calls.end(), [](const mapisvc::CallRecord& r) { return r.method == "SaveChanges"; });
    auto submit = std::find_if(calls.begin(), calls.end(), [](const mapisvc::CallRecord& r) { return r.method == "SubmitMessage"; });
    ASSERT_NE(submit, calls.end());
    EXPECT_LT(save - calls.begin(), submit - calls.begin());

    mapisvc::ClearCallLog();
    CMAPIEmailInfo draft = NewRecord();
    draft.nMsgState = 5;
    Write(draft);
    EXPECT_TRUE(CallsOf("", "SubmitMessage").empty());
}

TEST_F(EmailItemTest, ASubmissionThatFailsLeavesAnUnsentDraft)
{
    CMAPIEmailInfo info = NewRecord();
    info.strTo.Empty();
    info.strCC.Empty();
    info.strBCC.Empty();
    info.nMsgState = 4;
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.nMsgState, 5);
}

TEST_F(EmailItemTest, EveryFieldIsReadBack)
{
    CMAPIEmailInfo info = NewRecord();
    info.nImportance = 2;
    info.nSensitivity = 3;
    info.strLabel = _T("Work;Ärger");
    info.tmSendTime = MakeSystemTime(2024, 3, 5, 14, 30, 15);
    info.tmRcvTime = MakeSystemTime(2024, 3, 5, 14, 31, 0);
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.strSubject, info.strSubject);
    EXPECT_EQ(read.strSenderName, _T("Zoë Sender <zoe@example.org>"));
    EXPECT_EQ(read.strTo, _T("Lopez, Maria <maria@example.com>"));
    EXPECT_EQ(read.strCC, _T("cc@example.com"));
    EXPECT_EQ(read.strBCC, _T("Hidden One<bcc@example.net>"));
    EXPECT_EQ(read.nImportance, 2);
    EXPECT_EQ(read.nSensitivity, 3);
    EXPECT_EQ(read.nForm, 1);
    EXPECT_EQ(read.strContents, _T("Body text"));
    EXPECT_EQ(read.strLabel, _T("Work,;Ärger")); // categories come back joined as the item joins them
    EXPECT_EQ(read.tmSendTime.wHour, 14);
    EXPECT_EQ(read.tmSendTime.wSecond, 15);
    EXPECT_EQ(read.tmRcvTime.wMinute, 31);
    EXPECT_GT(read.nSize, 0);
    EXPECT_EQ(read.nAttachCount, 0);
    EXPECT_NE(read.tmCTime.wYear, 0);
    EXPECT_NE(read.tmLMTime.wYear, 0);
}

TEST_F(EmailItemTest, ReadGroupsFillOnlyTheirFields)
{
    CMAPIEmailInfo info = NewRecord();
    const mapisvc::EntryId id = Write(info);
    const ULONG masks[] = {0x1, 0x2, 0x4, 0x3, 0x5, 0x6, 0x7};
    for (ULONG ulMask : masks)
    {
        SCOPED_TRACE(testing::Message() << "mask " << ulMask);
        CMAPIEmailInfo read;
        read.strSubject = _T("untouched");
        read.strTo = _T("untouched");
        read.strContents = _T("untouched");
        ASSERT_TRUE(Read(id, read, ulMask));
        EXPECT_FALSE(read.strEntryID.IsEmpty());
        EXPECT_GT(read.nSize, 0);
        EXPECT_EQ(read.nMsgState, 3);
        EXPECT_EQ(read.strSubject == _T("Quarterly figures"), (ulMask & 0x2) != 0);
        EXPECT_EQ(read.strTo == _T("untouched"), (ulMask & 0x4) == 0);
        EXPECT_EQ(read.strContents == _T("Body text"), (ulMask & 0x4) != 0);
        EXPECT_EQ(read.tmSendTime.wYear != 0, (ulMask & 0x4) != 0);
        EXPECT_EQ(read.tmCTime.wYear != 0, (ulMask & 0x1) != 0);
    }
}

TEST_F(EmailItemTest, FormatComesFromTransportHeadersInAnyLetterCase)
{
    const struct
    {
        const char16_t* szHeaders;
        int nForm;
    } cases[] = {{u"Content-Type: TEXT/PLAIN; charset=us-ascii", 1},
                 {u"content-type: Text/Html", 2},
                 {u"X-Mailer: nothing of the kind", 2},
                 {nullptr, 2}};
    for (const auto& c : cases)
    {
        std::vector<SPropValue> values = {UnicodeValue(PR_BODY_W, u"text body")};
        if (c.szHeaders)
            values.push_back(UnicodeValue(PR_TRANSPORT_MESSAGE_HEADERS_W, c.szHeaders));
        const mapisvc::EntryId id = CreateMessage(Inbox(), u"received", values);
        CMAPIEmailInfo read;
        ASSERT_TRUE(Read(id, read));
        // Without a text body of its own the format is HTML, or the RTF that stands in for a missing HTML body.
        EXPECT_EQ(read.nForm == 1, c.nForm == 1) << (c.szHeaders ? "headers" : "no headers");
        if (c.nForm == 1)
            EXPECT_EQ(read.strContents, _T("text body"));
    }
}

TEST_F(EmailItemTest, CommaNamesSurviveARoundTripOfReadAndWrite)
{
    CMAPIEmailInfo info = NewRecord();
    info.strTo = _T("Lopez, Maria <maria@example.com>, Plain@example.com;\"Ng, Al\" <al@example.com>");
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailInfo first;
    ASSERT_TRUE(Read(id, first));
    EXPECT_EQ(first.strTo, _T("Lopez, Maria <maria@example.com>;Plain@example.com;\"Ng, Al\" <al@example.com>"));

    CMAPIEmailItem item;
    ASSERT_TRUE(item.Open(&m_mapi, AsSBinary(id)));
    ASSERT_TRUE(item.SetInfo(&m_folderRecord, &first));
    item.Close();
    CMAPIEmailInfo second;
    ASSERT_TRUE(Read(id, second));
    EXPECT_EQ(second.strTo, first.strTo);
}

TEST_F(EmailItemTest, ElementsWithoutAnAddressAreSkipped)
{
    CMAPIEmailInfo info = NewRecord();
    info.strTo = _T("Maria <maria@example.com>;bare@example.com;Just A Name");
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.strTo, _T("Maria <maria@example.com>;bare@example.com"));
}

TEST_F(EmailItemTest, RecipientsOfAnAnsiOnlyStore)
{
    m_ansi = AddAnsiStore(Session());
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    CMAPIEmailInfo info = NewRecord();
    info.strTo = _T("Lopez, Maria <maria@example.com>;Zoë <zoe@example.org>");
    const mapisvc::EntryId id = Write(info, m_ansi.folder.Get());
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.strTo, _T("Lopez, Maria <maria@example.com>;Zoë <zoe@example.org>"));
    EXPECT_EQ(read.strCC, _T("cc@example.com"));
    EXPECT_EQ(read.strBCC, _T("Hidden One<bcc@example.net>"));
    EXPECT_EQ(read.strSubject, _T("Quarterly figures"));
}

TEST_F(EmailItemTest, ExchangeRecipientAndSenderAreResolvedToTheirSmtpAddress)
{
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::EntryId user;
    ASSERT_EQ(mapisvc::AddMailUser(profile, {u"Ex User", u"EX", u"/o=Org/ou=Site/cn=Recipients/cn=exuser",
                                             u"ex.user@example.com"},
                                   &user),
              S_OK);
    SPropValue values[] = {LongValue(PR_RECIPIENT_TYPE, MAPI_TO), UnicodeValue(PR_DISPLAY_NAME_W, u"Ex User"),
                           UnicodeValue(PR_ADDRTYPE_W, u"EX"),
                           UnicodeValue(PR_EMAIL_ADDRESS_W, u"/o=Org/ou=Site/cn=Recipients/cn=exuser"),
                           BinaryValue(PR_ENTRYID, user)};
    const mapisvc::EntryId id =
        CreateMessage(Inbox(), u"from exchange",
                      {UnicodeValue(PR_SENDER_ADDRTYPE_W, u"EX"),
                       UnicodeValue(PR_SENDER_EMAIL_ADDRESS_W, u"/o=Org/ou=Site/cn=Recipients/cn=exuser"),
                       UnicodeValue(PR_SENT_REPRESENTING_NAME_W, u"Ex User"), BinaryValue(PR_SENDER_ENTRYID, user)});
    {
        Ref<IMessage> message = OpenMessage(Session(), id);
        ADRLIST list{};
        list.cEntries = 1;
        list.aEntries[0].cValues = 5;
        list.aEntries[0].rgPropVals = values;
        ASSERT_EQ(message->ModifyRecipients(MODRECIP_ADD, &list), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.strTo, _T("Ex User<ex.user@example.com>"));
    EXPECT_EQ(read.strSenderName, _T("Ex User<ex.user@example.com>"));
}

TEST_F(EmailItemTest, SenderWithAndWithoutANameAndRemovedByAnEmptyAddress)
{
    CMAPIEmailInfo info = NewRecord();
    info.strSenderName = _T("solo@example.org");
    const mapisvc::EntryId id = Write(info);
    Ref<IMessage> message = OpenMessage(Session(), id);
    EXPECT_EQ(GetString(message.Get(), PR_SENT_REPRESENTING_NAME_W), u"solo@example.org");
    EXPECT_EQ(GetString(message.Get(), PR_SENT_REPRESENTING_ADDRTYPE_W), u"SMTP");
    EXPECT_FALSE(GetBinary(message.Get(), PR_SENDER_ENTRYID).empty());
    message.Reset();
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.strSenderName, _T("solo@example.org"));

    read.strSenderName = _T("Nobody");
    CMAPIEmailItem item;
    ASSERT_TRUE(item.Open(&m_mapi, AsSBinary(id)));
    ASSERT_TRUE(item.SetInfo(&m_folderRecord, &read));
    item.Close();
    message = OpenMessage(Session(), id);
    EXPECT_FALSE(HasProp(message.Get(), PR_SENT_REPRESENTING_NAME_W));
    EXPECT_FALSE(HasProp(message.Get(), PR_SENDER_EMAIL_ADDRESS_W));
}

TEST_F(EmailItemTest, UnsetTimesBecomeNowWithTheReceiveTimeOnTheMinute)
{
    CMAPIEmailInfo info = NewRecord();
    SYSTEMTIME before = {};
    GetLocalTime(&before);
    Write(info);
    EXPECT_NE(info.tmSendTime.wYear, 0);
    EXPECT_EQ(info.tmSendTime.wYear, before.wYear);
    EXPECT_EQ(info.tmRcvTime.wSecond, 0);
    EXPECT_EQ(info.tmRcvTime.wMinute, info.tmSendTime.wMinute);
    EXPECT_EQ(info.tmRcvTime.wMilliseconds, info.tmSendTime.wMilliseconds);
}

TEST_F(EmailItemTest, AttachmentsByFullPathAndRemovedByAnEmptyList)
{
    const std::string dir = FilesDir();
    WriteFileBytes(dir + "/report.pdf", PatternBytes(5000));
    WriteFileBytes(dir + "/notes.txt", "notes");
    CMAPIEmailInfo info = NewRecord();
    info.strAttachFile = WidePath(dir + "/report.pdf") + _T(";bare.txt,") + WidePath(dir + "/notes.txt");
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailInfo read;
    ASSERT_TRUE(Read(id, read));
    EXPECT_EQ(read.nAttachCount, 2);
    EXPECT_EQ(read.strAttachFile, _T("report.pdf;notes.txt"));

    // The names read back stand for the attachments already there.
    CMAPIEmailItem item;
    ASSERT_TRUE(item.Open(&m_mapi, AsSBinary(id)));
    ASSERT_TRUE(item.SetInfo(&m_folderRecord, &read));
    EXPECT_EQ(CountAttachments(Session(), id), 2u);
    read.strAttachFile.Empty();
    ASSERT_TRUE(item.SetInfo(&m_folderRecord, &read));
    item.Close();
    EXPECT_EQ(CountAttachments(Session(), id), 0u);
}

TEST_F(EmailItemTest, CreatedInTheOutboxWhenNoFolderIsGivenAndFiledInSentItems)
{
    ASSERT_TRUE(m_mapi.OpenMessageStore());
    CMAPIEmailItem item;
    ASSERT_TRUE(item.Create(&m_mapi, nullptr));
    CMAPIEmailInfo info = NewRecord();
    ASSERT_TRUE(item.SetInfo(&m_folderRecord, &info));
    Ref<IMessage> message = OpenMessage(Session(), ToEntryId(*item.GetEntryID()));
    item.Close();
    EXPECT_EQ(GetString(message.Get(), PR_MESSAGE_CLASS_W), u"IPM.Note");
    EXPECT_EQ(GetBinary(message.Get(), PR_SENTMAIL_ENTRYID), GetBinary(Store(), PR_IPM_SENTMAIL_ENTRYID));
    EXPECT_EQ(GetLong(OpenFolderByProp(Store(), PR_IPM_OUTBOX_ENTRYID).Get(), PR_CONTENT_COUNT), 1);
}

TEST_F(EmailItemTest, FieldsThatFailToBeWrittenAreTracedAndTheRestIsSaved)
{
    const struct
    {
        ULONG ulTag;
        const char* szMethod;
        LPCWSTR szLine;
    } cases[] = {
        {PR_SUBJECT_W, "SetProps", _T("[MAPI] Set failed : Quarterly figures(strSubject) - Folder:Inbox")},
        {PR_MESSAGE_FLAGS, "SetProps", _T("[MAPI] Set failed : 1(MsgFlag) - Folder:Inbox")},
        {PR_ICON_INDEX, "SetProps", _T("[MAPI] Set failed : -1(lIcon) - Folder:Inbox")},
        {PR_IMPORTANCE, "SetProps", _T("[MAPI] Set failed : 1(nImportance) - Folder:Inbox")},
        {PR_MSG_EDITOR_FORMAT, "SetProps", _T("[MAPI] Set failed : 1(nForm) - Folder:Inbox")},
        {PR_SENSITIVITY, "SetProps", _T("[MAPI] Set failed : 0(nSensitivity) - Folder:Inbox")},
        {PR_SENDER_NAME_W, "SetProps",
         _T("[MAPI] Set failed : Zoë Sender <zoe@example.org>(strSenderName) - Folder:Inbox")},
    };
    for (const auto& c : cases)
    {
        m_trace.Clear();
        const ULONG ulFault = FailTag(c.szMethod, c.ulTag);
        CMAPIEmailInfo info = NewRecord();
        const mapisvc::EntryId id = Write(info);
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(m_trace.Contains(c.szLine)) << CString(c.szLine).ToUtf8();
        CMAPIEmailInfo read;
        EXPECT_TRUE(Read(id, read, 0x2));
    }
}

TEST_F(EmailItemTest, ReadFlagRecipientAndSaveFailuresAreTracedOrReported)
{
    {
        ScopedFault fault("IMessage", "SetReadFlag");
        CMAPIEmailInfo info = NewRecord();
        Write(info);
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : 1(ReadFlag) - Folder:Inbox")));
    }
    {
        ScopedFault fault("IMessage", "ModifyRecipients");
        CMAPIEmailInfo info = NewRecord();
        Write(info);
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : Lopez, Maria <maria@example.com>(strTo) - Folder:Inbox")));
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : <cc@example.com>(strCC) - Folder:Inbox")));
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : Hidden One<bcc@example.net>(strBCC) - Folder:Inbox")));
    }
    {
        ScopedFault fault("IMessage", "SaveChanges");
        TestFolder folder(Inbox());
        CMAPIEmailItem item;
        ASSERT_TRUE(item.Create(&m_mapi, &folder));
        CMAPIEmailInfo info = NewRecord();
        EXPECT_FALSE(item.SetInfo(&m_folderRecord, &info));
    }
}

TEST_F(EmailItemTest, TimesBodyAttachmentsCategoriesAndClassThatFailAreTraced)
{
    const std::string dir = FilesDir();
    WriteFileBytes(dir + "/a.txt", "a");
    const CString strPath = WidePath(dir + "/a.txt");
    CMAPIEmailInfo info = NewRecord();
    info.tmSendTime = MakeSystemTime(2024, 3, 5, 14, 30, 15);
    info.tmRcvTime = MakeSystemTime(2024, 3, 5, 14, 31, 0);
    info.strAttachFile = strPath;
    info.strLabel = _T("Work");
    {
        const ULONG ulSend = FailTag("SetProps", PR_CLIENT_SUBMIT_TIME);
        const ULONG ulReceive = FailTag("SetProps", PR_MESSAGE_DELIVERY_TIME);
        const ULONG ulBody = FailTag("OpenProperty", PR_BODY_W);
        ScopedFault attach("IMessage", "CreateAttach");
        mapisvc::Fault keywords;
        keywords.method = "SetProps";
        keywords.narrowToName = true;
        keywords.name.propertySet = PS_PUBLIC_STRINGS;
        keywords.name.kind = MNID_STRING;
        keywords.name.name = u"Keywords";
        const ULONG ulKeywords = mapisvc::InjectFault(keywords);
        Write(info);
        for (ULONG ulFault : {ulSend, ulReceive, ulBody, ulKeywords})
            mapisvc::RemoveFault(ulFault);
    }
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : 2024-03-05 14:30:15(tmSendTime) - Folder:Inbox")));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : 2024-03-05 14:31:00(tmRcvTime) - Folder:Inbox")));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : strContents - Folder:Inbox")));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : ") + strPath + _T("(strAttachFile) - Folder:Inbox")));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : Work(strLabel) - Folder:Inbox")));

    m_trace.Clear();
    info.strAttachFile.Empty();
    {
        ScopedFault table("IMessage", "GetAttachmentTable");
        Write(info);
    }
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Remove failed : AttachFile - Folder:Inbox")));

    m_trace.Clear();
    {
        // A folder object with a name, as the session gives folders it opens by name.
        CMAPIFolder inbox;
        Inbox()->AddRef();
        inbox.Attach(&m_mapi, Inbox(), _T("Inbox"));
        const ULONG ulClass = FailTag("SetProps", PR_MESSAGE_CLASS_W);
        CMAPIEmailItem item;
        EXPECT_TRUE(item.Create(&m_mapi, &inbox));
        mapisvc::RemoveFault(ulClass);
    }
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Set failed : MsgClass - Folder:Inbox")));
}

TEST_F(EmailItemTest, BodiesThatFailToBeReadAreTraced)
{
    CMAPIEmailInfo info = NewRecord();
    const mapisvc::EntryId id = Write(info);
    {
        const ULONG ulBody = FailTag("OpenProperty", PR_BODY_W);
        CMAPIEmailInfo read;
        EXPECT_TRUE(Read(id, read, 0x4));
        mapisvc::RemoveFault(ulBody);
    }
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Get failed : strContents(TEXT)")));

    // An HTML e-mail without either body of its own: neither HTML nor RTF can be read.
    const mapisvc::EntryId empty = CreateMessage(Inbox(), u"no body", {LongValue(PR_MSG_EDITOR_FORMAT, 2)});
    m_trace.Clear();
    CMAPIEmailInfo read;
    EXPECT_TRUE(Read(empty, read, 0x4));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Get failed : strContents(HTML)")));
    const mapisvc::EntryId rtf = CreateMessage(Inbox(), u"no body", {LongValue(PR_MSG_EDITOR_FORMAT, 3)});
    EXPECT_TRUE(Read(rtf, read, 0x4));
    EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Get failed : strContents(RTF)")));
    // A format above 3 reads no body.
    const mapisvc::EntryId other = CreateMessage(Inbox(), u"odd", {LongValue(PR_MSG_EDITOR_FORMAT, 7),
                                                                    UnicodeValue(PR_BODY_W, u"unread body")});
    read.strContents = _T("kept");
    EXPECT_TRUE(Read(other, read, 0x4));
    EXPECT_EQ(read.nForm, 7);
    EXPECT_EQ(read.strContents, _T("kept"));
}

TEST_F(EmailItemTest, FieldsThatFailToBeReadAreTraced)
{
    CMAPIEmailInfo info = NewRecord();
    const mapisvc::EntryId id = Write(info);
    const struct
    {
        ULONG ulTag;
        LPCWSTR szLine;
    } cases[] = {
        {PR_SUBJECT_W, _T("[MAPI] Get failed : strSubject")},
        {PR_SENT_REPRESENTING_NAME_W, _T("[MAPI] Get failed : strSenderName")},
        {PR_SENDER_EMAIL_ADDRESS_W, _T("[MAPI] Get failed : strSenderEmail")},
        {PR_IMPORTANCE, _T("[MAPI] Get failed : nImportance")},
        {PR_SENSITIVITY, _T("[MAPI] Get failed : nSensitivity")},
        {PR_CLIENT_SUBMIT_TIME, _T("[MAPI] Get failed : tmSendTime")},
        {PR_MESSAGE_DELIVERY_TIME, _T("[MAPI] Get failed : tmRcvTime")},
    };
    for (const auto& c : cases)
    {
        m_trace.Clear();
        const ULONG ulFault = FailTag("GetProps", c.ulTag);
        CMAPIEmailInfo read;
        EXPECT_TRUE(Read(id, read, 0x6));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(m_trace.Contains(c.szLine)) << CString(c.szLine).ToUtf8();
    }
    {
        m_trace.Clear();
        ScopedFault fault("IMessage", "GetRecipientTable");
        CMAPIEmailInfo read;
        EXPECT_TRUE(Read(id, read, 0x4));
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Get failed : strTo, strCC, strBCC")));
    }
    {
        m_trace.Clear();
        const ULONG ulFault = FailTag("GetProps", PR_CREATION_TIME);
        CMAPIEmailInfo read;
        EXPECT_FALSE(Read(id, read, 0x1));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(m_trace.Contains(_T("[MAPI] Get failed : tmCTime")));
    }
}

TEST_F(EmailItemTest, CancellationFailsReadingAndWriting)
{
    CMAPIEmailInfo info = NewRecord();
    const mapisvc::EntryId id = Write(info);
    CMAPIEmailItem item;
    ASSERT_TRUE(item.Open(&m_mapi, AsSBinary(id)));
    CMAPIInterface::SetCancel(1);
    CMAPIEmailInfo read;
    EXPECT_FALSE(item.GetInfo(&read, 0x7));
    EXPECT_FALSE(item.SetInfo(&m_folderRecord, &info));
    CMAPIInterface::SetCancel(0);
    EXPECT_FALSE(item.GetInfo(nullptr, 0x7));
    EXPECT_FALSE(item.SetInfo(nullptr, &info));
    EXPECT_FALSE(item.SetInfo(&m_folderRecord, nullptr));
}
} // namespace
