// The contact operations of the interface object against the embedded service: every field through
// CreateContact and GetContact, lists with their progress messages, cancellation and partial failures,
// modification, deletion both ways, and row counts.
#include <mapipim/mapisvc.h>

#include "interface/HostWindow.h"

#include "support/ScopedEnvironment.h"
#include "support/ContactSamples.h"
#include "support/CallLogQueries.h"
#include "support/ContactServiceTest.h"

using namespace contacttest;

namespace
{
typedef CArray<CMAPIContactInfo*, CMAPIContactInfo*> ContactArray;

const ULONG kTimes = 0x1;
const ULONG kNames = 0x2;
const ULONG kAllFields = 0x7;

void DeleteAll(ContactArray& arr)
{
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        delete arr[i];
    arr.RemoveAll();
}

class ContactOperationsTest : public ContactServiceTest
{
protected:
    void SetUp() override
    {
        ContactServiceTest::SetUp();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pInterface->SetMsgHwnd(m_window.Get());
    }
    void TearDown() override
    {
        DeleteAll(m_contacts);
        m_pInterface.reset();
        ContactServiceTest::TearDown();
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    // Contacts named "Contact <n>" written straight into the folder, cheaper than full records.
    void AddContacts(int nFirst, int nCount)
    {
        for (int i = nFirst; i < nFirst + nCount; ++i)
        {
            CMAPIItem item;
            ASSERT_TRUE(item.Create(&Session(), &Contacts()));
            CString strName;
            strName.Format(_T("Contact %d"), i);
            item.SetPropertyString(PR_MESSAGE_CLASS_W, _T("IPM.Contact"));
            item.SetPropertyString(PR_SURNAME_W, strName);
            ASSERT_TRUE(item.Save(TRUE));
        }
    }

    // A list with its messages delivered; the records stay in m_contacts.
    BOOL List(ULONG ulFlags)
    {
        m_window.m_records.clear();
        m_window.m_folders.clear();
        m_window.m_ends.clear();
        const BOOL bResult = Interface().GetContact(&ContactsRecord(), m_contacts, ulFlags);
        m_window.Pump();
        return bResult;
    }

    HostWindow m_window;
    ContactArray m_contacts;

private:
    std::unique_ptr<CMAPIInterface> m_pInterface;
};

// Every field of the record read back as written, the derived names as derived.
void ExpectSameContact(const CMAPIContactInfo& expected, const CMAPIContactInfo& actual)
{
    for (size_t i = 0; i < kContactTextFieldCount; ++i)
        EXPECT_EQ(expected.*kContactTextFields[i], actual.*kContactTextFields[i]) << "field " << i;
    EXPECT_TRUE(SameLocalTime(expected.tmBirthday, actual.tmBirthday));
    EXPECT_TRUE(SameLocalTime(expected.tmAnniversary, actual.tmAnniversary));
    EXPECT_EQ(expected.nSensitivity, actual.nSensitivity);
    EXPECT_TRUE(CompareSBinary(expected.sbEntryID, actual.sbEntryID));
    EXPECT_EQ(expected.strEntryID, actual.strEntryID);
}
} // namespace

// ---- Every field

TEST_F(ContactOperationsTest, EveryFieldRoundTripsThroughCreateAndGet)
{
    WriteJpeg(TempDir() / "anna.jpg", 300, 200);
    WriteFileBytes(TempDir() / "a.txt", {'a'});
    WriteFileBytes(TempDir() / "b.txt", {'b'});
    CMAPIContactInfo written = MakeFullContact(TempDir() / "anna.jpg", {TempDir() / "a.txt", TempDir() / "b.txt"});
    ASSERT_TRUE(Interface().CreateContact(&ContactsRecord(), &written));
    EXPECT_FALSE(written.strEntryID.IsEmpty());
    EXPECT_NE(0, written.tmCTime.wYear);
    EXPECT_NE(0, written.tmLMTime.wYear);

    // What reading gives back: the derived names by their rule, and attachments by their names.
    CMAPIContactInfo expected = written;
    expected.strFullName = Utf8("Dr. Анна Maria 😀Luisa 김 Jr.");
    expected.strDisplay = Utf8("Анна Maria 😀Luisa 김");
    expected.strInitial = Utf8("А.M.😀.김.");
    expected.strPicturePath = _T("ContactPicture.jpg");
    expected.strAttachFile = _T("a.txt;b.txt");
    EXPECT_EQ(expected.strFullName, written.strFullName) << "the record carries the derived names";
    EXPECT_EQ(expected.strDisplay, written.strDisplay);

    CMAPIContactInfo single;
    CopySBinary(single.sbEntryID, written.sbEntryID);
    ASSERT_TRUE(Interface().GetContact(&single, kAllFields));
    ExpectSameContact(expected, single);
    EXPECT_TRUE(SameLocalTime(written.tmCTime, single.tmCTime));

    ASSERT_TRUE(List(kAllFields));
    ASSERT_EQ(1, m_contacts.GetSize());
    ExpectSameContact(expected, *m_contacts[0]);
}

TEST_F(ContactOperationsTest, SummerBirthdayRoundTripsUnderDaylightSaving)
{
    ScopedTz berlin("Europe/Berlin");
    CMAPIContactInfo written;
    written.strLastName = _T("Berg");
    written.tmBirthday = MakeSystemTime(1980, 7, 14);
    written.tmAnniversary = MakeSystemTime(2009, 6, 20, 14, 30);
    ASSERT_TRUE(Interface().CreateContact(&ContactsRecord(), &written));
    CMAPIContactInfo read;
    CopySBinary(read.sbEntryID, written.sbEntryID);
    ASSERT_TRUE(Interface().GetContact(&read, kAllFields));
    EXPECT_TRUE(SameLocalTime(written.tmBirthday, read.tmBirthday));
    EXPECT_TRUE(SameLocalTime(written.tmAnniversary, read.tmAnniversary));

    // Written back as read, nothing moves.
    ASSERT_TRUE(Interface().ModifyContact(&ContactsRecord(), &read));
    CMAPIContactInfo again;
    CopySBinary(again.sbEntryID, written.sbEntryID);
    ASSERT_TRUE(Interface().GetContact(&again, kAllFields));
    EXPECT_TRUE(SameLocalTime(written.tmBirthday, again.tmBirthday));
}

// ---- Lists

TEST_F(ContactOperationsTest, ListsSendOneMessagePerRecordInTableOrderAndPostTheEnd)
{
    CMAPIInterface::SetYield(0);
    int nAdded = 0;
    for (int nSize : {0, 1, 512, 513, 1000})
    {
        SCOPED_TRACE(nSize);
        AddContacts(nAdded, nSize - nAdded);
        nAdded = nSize;
        ASSERT_TRUE(List(kNames));
        ASSERT_EQ(nSize, m_contacts.GetSize());
        ASSERT_EQ(size_t(nSize), m_window.m_records.size());
        for (int i = 0; i < nSize; ++i)
        {
            ASSERT_EQ(m_contacts[i], m_window.m_records[i]);
            ASSERT_EQ(&ContactsRecord(), m_window.m_folders[i]);
            CString strName;
            strName.Format(_T("Contact %d"), i);
            ASSERT_EQ(strName, m_contacts[i]->strLastName);
        }
        ASSERT_EQ(std::vector<WPARAM>{WPARAM(nSize)}, m_window.m_ends);
    }
}

TEST_F(ContactOperationsTest, ListWithTheDefaultPauseAndWithoutAWindow)
{
    ASSERT_EQ(1, CMAPIInterface::GetYield());
    AddContacts(0, 5);
    Interface().SetMsgHwnd(NULL);
    ASSERT_TRUE(List(kNames));
    EXPECT_EQ(5, m_contacts.GetSize());
    EXPECT_TRUE(m_window.m_records.empty());
    EXPECT_TRUE(m_window.m_ends.empty());
}

TEST_F(ContactOperationsTest, ListReplacesTheRecordsTheArrayHeld)
{
    AddContacts(0, 2);
    m_contacts.Add(new CMAPIContactInfo);
    m_contacts.Add(new CMAPIContactInfo);
    m_contacts.Add(new CMAPIContactInfo);
    ASSERT_TRUE(List(kNames));
    ASSERT_EQ(2, m_contacts.GetSize());
    EXPECT_EQ(Utf8("Contact 1"), m_contacts[1]->strLastName);
}

TEST_F(ContactOperationsTest, CancelFromTheHandlerStopsAfterTheCurrentRecord)
{
    CMAPIInterface::SetYield(0);
    AddContacts(0, 10);
    m_window.CancelAfter(3);
    EXPECT_FALSE(List(kNames));
    EXPECT_EQ(3, m_contacts.GetSize());
    EXPECT_TRUE(m_window.m_ends.empty());
    EXPECT_TRUE(CMAPIInterface::IsCancel());

    // Set before the list, the flag empties the array and reads nothing.
    EXPECT_FALSE(List(kNames));
    EXPECT_EQ(0, m_contacts.GetSize());
    EXPECT_TRUE(m_window.m_records.empty());
    EXPECT_TRUE(m_window.m_ends.empty());
}

TEST_F(ContactOperationsTest, AnItemThatCannotBeOpenedIsSkipped)
{
    CMAPIInterface::SetYield(0);
    AddContacts(0, 5);
    mapisvc::InjectFault(FailCall("IMAPISession", "OpenEntry", 3));
    ASSERT_TRUE(List(kNames));
    ASSERT_EQ(4, m_contacts.GetSize());
    EXPECT_EQ(Utf8("Contact 1"), m_contacts[1]->strLastName);
    EXPECT_EQ(Utf8("Contact 3"), m_contacts[2]->strLastName);
    EXPECT_EQ(std::vector<WPARAM>{4}, m_window.m_ends);
}

TEST_F(ContactOperationsTest, AFailedFetchKeepsWhatWasReadAndReportsFailure)
{
    CMAPIInterface::SetYield(0);
    AddContacts(0, 600);
    mapisvc::InjectFault(FailCall("IMAPITable", "QueryRows", 2, MAPI_E_NETWORK_ERROR)); // the second batch of 512
    EXPECT_FALSE(List(kNames));
    EXPECT_EQ(512, m_contacts.GetSize());
    EXPECT_EQ(512u, m_window.m_records.size());
    EXPECT_TRUE(m_window.m_ends.empty());
    CString strLine;
    strLine.Format(_T("[MAPI] Failed : GetContact - QueryRows : Contacts, %d"), int(MAPI_E_NETWORK_ERROR));
    EXPECT_TRUE(Traced(strLine));
}

TEST_F(ContactOperationsTest, ListOfAFolderThatCannotBeOpened)
{
    COutlookFolder gone = ContactsRecord();
    gone.strName = _T("Gone");
    gone.sbEntryID.lpb[gone.sbEntryID.cb - 1] ^= 0xFF;
    m_contacts.Add(new CMAPIContactInfo);
    EXPECT_FALSE(Interface().GetContact(&gone, m_contacts, kAllFields));
    EXPECT_EQ(0, m_contacts.GetSize());
    EXPECT_TRUE(Traced(_T("[MAPI] GetContact - Open failed a folder : Gone")));
    EXPECT_FALSE(Interface().GetContact(nullptr, m_contacts, kAllFields));
}

// ---- Single items

TEST_F(ContactOperationsTest, CreateThenModifyTheSameItem)
{
    CMAPIContactInfo contact;
    contact.strFirstName = _T("Anna");
    contact.strCompany = _T("Before");
    ASSERT_TRUE(Interface().CreateContact(&ContactsRecord(), &contact));
    CString strHex;
    GetSBinaryToString(strHex, contact.sbEntryID);
    EXPECT_EQ(strHex, contact.strEntryID);

    contact.strCompany = _T("After");
    ASSERT_TRUE(Interface().ModifyContact(&ContactsRecord(), &contact));
    ASSERT_TRUE(List(kAllFields));
    ASSERT_EQ(1, m_contacts.GetSize());
    EXPECT_EQ(Utf8("After"), m_contacts[0]->strCompany);
    EXPECT_EQ(contact.strEntryID, m_contacts[0]->strEntryID);
}

TEST_F(ContactOperationsTest, CreateFailures)
{
    CMAPIContactInfo contact;
    EXPECT_FALSE(Interface().CreateContact(nullptr, &contact));
    EXPECT_FALSE(Interface().CreateContact(&ContactsRecord(), nullptr));

    COutlookFolder gone = ContactsRecord();
    gone.sbEntryID.lpb[gone.sbEntryID.cb - 1] ^= 0xFF;
    EXPECT_FALSE(Interface().CreateContact(&gone, &contact));
    EXPECT_TRUE(Trace().GetLines().empty());

    mapisvc::Fault fault;
    fault.method = "CreateMessage";
    mapisvc::InjectFault(fault);
    EXPECT_FALSE(Interface().CreateContact(&ContactsRecord(), &contact));
    EXPECT_TRUE(Traced(_T("[MAPI] CreateContact - Create failed a contact : Contacts")));
}

TEST_F(ContactOperationsTest, DeleteRemovesOrMovesToDeletedItems)
{
    COutlookFolder deletedItems = DeletedItemsRecord();
    CMAPIContactInfo moved;
    moved.strLastName = _T("Moved");
    CMAPIContactInfo removed;
    removed.strLastName = _T("Removed");
    ASSERT_TRUE(Interface().CreateContact(&ContactsRecord(), &moved));
    ASSERT_TRUE(Interface().CreateContact(&ContactsRecord(), &removed));
    ASSERT_EQ(2, Interface().GetRowCount(&ContactsRecord()));
    const int nDeletedBefore = Interface().GetRowCount(&deletedItems);

    EXPECT_TRUE(Interface().DeleteContact(&ContactsRecord(), &moved, 1));
    EXPECT_EQ(1, Interface().GetRowCount(&ContactsRecord()));
    EXPECT_EQ(nDeletedBefore + 1, Interface().GetRowCount(&deletedItems));

    EXPECT_TRUE(Interface().DeleteContact(&ContactsRecord(), &removed, 0));
    EXPECT_EQ(0, Interface().GetRowCount(&ContactsRecord()));
    EXPECT_EQ(nDeletedBefore + 1, Interface().GetRowCount(&deletedItems));

    // Reading a removed item fails and names it.
    CMAPIContactInfo gone;
    CopySBinary(gone.sbEntryID, removed.sbEntryID);
    gone.strEntryID = removed.strEntryID;
    EXPECT_FALSE(Interface().GetContact(&gone, kTimes));
    EXPECT_TRUE(Traced(_T("[MAPI] GetContact - Open failed a contact : ") + removed.strEntryID));

    EXPECT_FALSE(Interface().DeleteContact(nullptr, &moved, 0));
    EXPECT_FALSE(Interface().DeleteContact(&ContactsRecord(), nullptr, 0));
}

TEST_F(ContactOperationsTest, RowCounts)
{
    AddContacts(0, 3);
    EXPECT_EQ(3, Interface().GetRowCount(&ContactsRecord()));
    EXPECT_EQ(0, Interface().GetRowCount(nullptr));
    COutlookFolder gone = ContactsRecord();
    gone.strName = _T("Elsewhere");
    gone.sbStoreEntryID.lpb[gone.sbStoreEntryID.cb - 1] ^= 0xFF;
    EXPECT_EQ(0, Interface().GetRowCount(&gone));
    EXPECT_TRUE(Traced(_T("[MAPI] GetRowCount - Open failed a folder : Elsewhere")));
}

TEST_F(ContactOperationsTest, NullRecordsFail)
{
    EXPECT_FALSE(Interface().GetContact(nullptr, kAllFields));
    EXPECT_FALSE(Interface().ModifyContact(nullptr, nullptr));
    CMAPIContactInfo unknown;
    EXPECT_FALSE(Interface().ModifyContact(&ContactsRecord(), &unknown));
}
