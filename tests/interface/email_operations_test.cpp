// The e-mail operations of the interface object against the embedded service: CreateEmail in every folder type
// (the state each gives), GetEmail lists over 0, 1 and 1,000 e-mails with their messages and cancellation, a single
// read, modification, deletion from Deleted Items and from the Outbox (its submission aborted first), and an
// e-mail created in the Outbox, delivered and found in Sent Items.
#include <mapipim/mapisvc.h>

#include "interface/HostWindow.h"

#include "support/CallLogQueries.h"
#include "support/ContactServiceTest.h"
#include "support/MimeReading.h"

using namespace contacttest;

namespace
{
typedef CArray<CMAPIEmailInfo*, CMAPIEmailInfo*> EmailArray;

const ULONG kAllFields = 0x7;

void DeleteAll(EmailArray& arr)
{
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        delete arr[i];
    arr.RemoveAll();
}

class EmailOperationsTest : public ContactServiceTest
{
protected:
    void SetUp() override
    {
        ContactServiceTest::SetUp();
        CMAPIInterface::SetYield(0);
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pInterface->SetMsgHwnd(m_window.Get());
        MakeRecord(Session().OpenInbox(FALSE), _T("Inbox"), 1, m_inbox);
        MakeRecord(Session().OpenOutbox(FALSE), _T("Outbox"), 2, m_outbox);
        MakeRecord(Session().OpenSentItems(FALSE), _T("Sent Items"), 4, m_sent);
        MakeRecord(Session().OpenDrafts(FALSE), _T("Drafts"), 8, m_drafts);
        MakeRecord(Session().OpenDeletedItems(FALSE), _T("Deleted Items"), 16, m_deleted);
    }
    void TearDown() override
    {
        DeleteAll(m_emails);
        m_pInterface.reset();
        ContactServiceTest::TearDown();
    }

    void MakeRecord(CMAPIFolder* pFolder, LPCWSTR szName, int nType, COutlookFolder& record)
    {
        std::unique_ptr<CMAPIFolder> folder(pFolder);
        ASSERT_NE(nullptr, pFolder);
        FillFolderRecord(Session(), *folder, szName, record);
        record.nFolderType = nType;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    static CMAPIEmailInfo NewEmail(LPCWSTR szSubject)
    {
        CMAPIEmailInfo info;
        info.strSubject = szSubject;
        info.strSenderName = _T("Me <me@example.org>");
        info.strTo = _T("Lopez, Maria <maria@example.com>");
        info.strContents = _T("Hello");
        info.nForm = 1;
        return info;
    }

    BOOL List(COutlookFolder& folder, ULONG ulFlags = kAllFields)
    {
        m_window.m_records.clear();
        m_window.m_ends.clear();
        const BOOL bResult = Interface().GetEmail(&folder, m_emails, ulFlags);
        m_window.Pump();
        return bResult;
    }

    int Count(COutlookFolder& folder) { return Interface().GetRowCount(&folder); }

    // E-mails written straight into a folder, cheaper than through records.
    void AddEmails(COutlookFolder& folder, int nCount)
    {
        CMAPIFolder target;
        ASSERT_TRUE(Session().OpenFolder(folder.sbStoreEntryID, folder.sbEntryID, target));
        for (int i = 0; i < nCount; ++i)
        {
            CMAPIItem item;
            ASSERT_TRUE(item.Create(&Session(), &target));
            CString strSubject;
            strSubject.Format(_T("Mail %d"), i);
            item.SetPropertyString(PR_MESSAGE_CLASS_W, _T("IPM.Note"));
            item.SetPropertyString(PR_SUBJECT_W, strSubject);
            ASSERT_TRUE(item.Save(TRUE));
        }
    }

    HostWindow m_window;
    EmailArray m_emails;
    COutlookFolder m_inbox, m_outbox, m_sent, m_drafts, m_deleted;

private:
    std::unique_ptr<CMAPIInterface> m_pInterface;
};

TEST_F(EmailOperationsTest, CreateEmailTakesItsStateFromTheFolderType)
{
    const struct
    {
        COutlookFolder* pFolder;
        int nStateGiven, nStateRead;
    } cases[] = {
        {&m_outbox, 0, 4}, {&m_sent, 0, 3},  {&m_drafts, 1, 5}, {&m_deleted, 2, 0},
        {&m_inbox, 3, 0},  {&m_inbox, 2, 2}, {&m_inbox, 0, 0},
    };
    for (const auto& c : cases)
    {
        COutlookFolder& folder = *c.pFolder;
        SCOPED_TRACE(folder.strName.ToUtf8());
        CMAPIEmailInfo written = NewEmail(_T("state"));
        written.nMsgState = c.nStateGiven;
        ASSERT_TRUE(Interface().CreateEmail(&folder, &written));
        EXPECT_FALSE(written.strEntryID.IsEmpty());
        EXPECT_NE(0, written.tmCTime.wYear);
        CMAPIEmailInfo read;
        CopySBinary(read.sbEntryID, written.sbEntryID);
        ASSERT_TRUE(Interface().GetEmail(&read, kAllFields));
        EXPECT_EQ(read.nMsgState, c.nStateRead);
    }
}

TEST_F(EmailOperationsTest, ACreatedEmailIsReadModifiedAndListed)
{
    CMAPIEmailInfo written = NewEmail(_T("First draft"));
    ASSERT_TRUE(Interface().CreateEmail(&m_drafts, &written));
    CMAPIEmailInfo read;
    CopySBinary(read.sbEntryID, written.sbEntryID);
    ASSERT_TRUE(Interface().GetEmail(&read, kAllFields));
    EXPECT_EQ(read.strSubject, _T("First draft"));
    EXPECT_EQ(read.strTo, _T("Lopez, Maria <maria@example.com>"));

    read.strSubject = _T("Second draft");
    ASSERT_TRUE(Interface().ModifyEmail(&m_drafts, &read));
    ASSERT_TRUE(List(m_drafts));
    ASSERT_EQ(m_emails.GetSize(), 1);
    EXPECT_EQ(m_emails[0]->strSubject, _T("Second draft"));
    EXPECT_EQ(m_emails[0]->strTo, _T("Lopez, Maria <maria@example.com>"));
    EXPECT_EQ(m_emails[0]->nMsgState, 5);
}

TEST_F(EmailOperationsTest, ListsOfNoneOneAndAThousandEmails)
{
    ASSERT_TRUE(List(m_inbox));
    EXPECT_EQ(m_emails.GetSize(), 0);
    EXPECT_EQ(m_window.m_ends, std::vector<WPARAM>{0});

    AddEmails(m_inbox, 1);
    ASSERT_TRUE(List(m_inbox));
    EXPECT_EQ(m_emails.GetSize(), 1);
    EXPECT_EQ(m_window.m_ends, std::vector<WPARAM>{1});

    AddEmails(m_inbox, 999);
    ASSERT_TRUE(List(m_inbox, 0x2));
    ASSERT_EQ(m_emails.GetSize(), 1000);
    ASSERT_EQ(m_window.m_records.size(), 1000u);
    EXPECT_EQ(m_window.m_ends, std::vector<WPARAM>{1000});
    for (INT_PTR i = 0; i < m_emails.GetSize(); ++i)
        ASSERT_EQ(m_window.m_records[static_cast<size_t>(i)], m_emails[i]);
    EXPECT_EQ(m_emails[999]->strSubject, _T("Mail 998"));
}

TEST_F(EmailOperationsTest, CancellingAListStopsItWithoutTheEndMessage)
{
    AddEmails(m_inbox, 20);
    m_window.CancelAfter(5);
    EXPECT_FALSE(List(m_inbox, 0x2));
    CMAPIInterface::SetCancel(0);
    EXPECT_EQ(m_emails.GetSize(), 5);
    EXPECT_TRUE(m_window.m_ends.empty());
}

TEST_F(EmailOperationsTest, UnopenableFolderAndItemAreTraced)
{
    COutlookFolder gone = m_inbox;
    gone.strName = _T("Gone");
    BYTE bogus[] = {1, 2, 3};
    SBinary bad = {sizeof bogus, bogus};
    CopySBinary(gone.sbEntryID, bad);
    EXPECT_FALSE(List(gone));
    EXPECT_TRUE(Traced(_T("[MAPI] GetEmail - Open failed a folder : Gone")));

    CMAPIEmailInfo written = NewEmail(_T("to delete"));
    ASSERT_TRUE(Interface().CreateEmail(&m_inbox, &written));
    ASSERT_TRUE(Interface().DeleteEmail(&m_inbox, &written, 0));
    CMAPIEmailInfo read;
    CopySBinary(read.sbEntryID, written.sbEntryID);
    read.strEntryID = written.strEntryID;
    EXPECT_FALSE(Interface().GetEmail(&read, kAllFields));
    EXPECT_TRUE(Traced(_T("[MAPI] GetEmail- Open failed a memo : ") + written.strEntryID));
}

TEST_F(EmailOperationsTest, DeletingFromDeletedItemsIsForGood)
{
    CMAPIEmailInfo written = NewEmail(_T("binned"));
    ASSERT_TRUE(Interface().CreateEmail(&m_deleted, &written));
    ASSERT_EQ(Count(m_deleted), 1);
    ASSERT_TRUE(Interface().DeleteEmail(&m_deleted, &written, 1));
    EXPECT_EQ(Count(m_deleted), 0);

    CMAPIEmailInfo other = NewEmail(_T("moved"));
    ASSERT_TRUE(Interface().CreateEmail(&m_inbox, &other));
    ASSERT_TRUE(Interface().DeleteEmail(&m_inbox, &other, 1));
    EXPECT_EQ(Count(m_inbox), 0);
    EXPECT_EQ(Count(m_deleted), 1);
}

TEST_F(EmailOperationsTest, DeletingAQueuedEmailAbortsItsSubmissionFirst)
{
    CMAPIEmailInfo written = NewEmail(_T("queued"));
    ASSERT_TRUE(Interface().CreateEmail(&m_outbox, &written));
    ASSERT_EQ(CallsOf("IMessage", "SubmitMessage").size(), 1u);
    mapisvc::ClearCallLog();
    ASSERT_TRUE(Interface().DeleteEmail(&m_outbox, &written, 0));
    const std::vector<mapisvc::CallRecord> aborts = CallsOf("IMsgStore", "AbortSubmit");
    ASSERT_EQ(aborts.size(), 1u);
    EXPECT_EQ(aborts[0].result, S_OK);
    EXPECT_EQ(Count(m_outbox), 0);
    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    EXPECT_TRUE(result.delivered.empty());
}

TEST_F(EmailOperationsTest, AFailedAbortIsTracedAndTheEmailDeletedAllTheSame)
{
    CMAPIEmailInfo written = NewEmail(_T("queued"));
    ASSERT_TRUE(Interface().CreateEmail(&m_outbox, &written));
    ScopedFault fault("IMsgStore", "AbortSubmit");
    ASSERT_TRUE(Interface().DeleteEmail(&m_outbox, &written, 0));
    EXPECT_TRUE(Traced(_T("[MAPI] AbortSubmit failed - Folder:Outbox")));
    EXPECT_EQ(Count(m_outbox), 0);
}

TEST_F(EmailOperationsTest, ADraftIsDeletedWithoutAnAbort)
{
    CMAPIEmailInfo written = NewEmail(_T("draft"));
    ASSERT_TRUE(Interface().CreateEmail(&m_drafts, &written));
    mapisvc::ClearCallLog();
    ASSERT_TRUE(Interface().DeleteEmail(&m_drafts, &written, 0));
    EXPECT_TRUE(CallsOf("IMsgStore", "AbortSubmit").empty());
    EXPECT_FALSE(Interface().DeleteEmail(nullptr, &written, 0));
    EXPECT_FALSE(Interface().DeleteEmail(&m_drafts, nullptr, 0));
}

TEST_F(EmailOperationsTest, AnEmailCreatedInTheOutboxIsDeliveredAndFiledInSentItems)
{
    WriteFileBytes(TempDir() / "figures.csv", {'1', ',', '2', '\n'});
    CMAPIEmailInfo written = NewEmail(_T("Zahlen für März"));
    written.strCC = _T("Ng, Al <al@example.com>");
    written.strBCC = _T("boss@example.com");
    written.nForm = 2;
    written.strContents = _T("<html><body><p>Zahlen</p></body></html>");
    written.strAttachFile = PathText(TempDir() / "figures.csv");
    ASSERT_TRUE(Interface().CreateEmail(&m_outbox, &written));
    EXPECT_EQ(written.nMsgState, 4);

    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    const ParsedMail mail = ParseMailFile(result.delivered[0].file);
    EXPECT_EQ(mail.subject, "Zahlen für März");
    ASSERT_EQ(mail.from.size(), 1u);
    EXPECT_EQ(mail.from[0].address, "me@example.org");
    ASSERT_EQ(mail.to.size(), 1u);
    EXPECT_EQ(mail.to[0].name, "Lopez, Maria");
    EXPECT_EQ(mail.to[0].address, "maria@example.com");
    ASSERT_EQ(mail.cc.size(), 1u);
    EXPECT_EQ(mail.cc[0].address, "al@example.com");
    ASSERT_EQ(mail.bcc.size(), 1u);
    EXPECT_EQ(mail.bcc[0].address, "boss@example.com");
    EXPECT_EQ(mail.html, "<html><body><p>Zahlen</p></body></html>");
    ASSERT_EQ(mail.attachments.size(), 1u);
    EXPECT_EQ(mail.attachments[0].fileName, "figures.csv");
    EXPECT_EQ(mail.attachments[0].bytes, "1,2\n");

    EXPECT_EQ(Count(m_outbox), 0);
    ASSERT_TRUE(List(m_sent));
    ASSERT_EQ(m_emails.GetSize(), 1);
    EXPECT_EQ(m_emails[0]->strSubject, Utf8("Zahlen für März"));
    EXPECT_EQ(m_emails[0]->nMsgState, 3); // sent: read, neither unsent nor submitted
    EXPECT_EQ(m_emails[0]->bRead, 1);
}
} // namespace
