// CMAPIEx's address-book members: the address dialog (chosen entries, cancel, captions), e-mail addresses of
// address entries and address-book users, the profile's own address, and the session's comparison of entry
// identifiers.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "support/AfxPrinters.h"
#include "support/SessionFixture.h"

#include <memory>

namespace
{
class AddressBookTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        AddStore(u"Mailbox");
    }

    mapisvc::EntryId AddUser(const std::u16string& name, const std::u16string& type, const std::u16string& email,
                             const std::u16string& smtp = std::u16string())
    {
        mapisvc::MailUser user;
        user.displayName = name;
        user.addressType = type;
        user.emailAddress = email;
        user.smtpAddress = smtp;
        mapisvc::EntryId entry;
        EXPECT_EQ(mapisvc::AddMailUser(ProfileName(), user, &entry), S_OK);
        return entry;
    }

    // Answers the address dialog with these entries (or cancels) and keeps what the dialog was shown.
    void AnswerDialog(const std::vector<mapisvc::EntryId>& chosen, HRESULT hrAnswer = S_OK)
    {
        mapisvc::SetAddressDialogHandler(
            [this, chosen, hrAnswer](const mapisvc::AddressDialog& dialog, std::vector<mapisvc::AddressChoice>& out)
            {
                m_dialog = dialog;
                ++m_nDialogs;
                for (const mapisvc::EntryId& entry : chosen)
                    out.push_back(mapisvc::AddressChoice{entry, MAPI_TO});
                return hrAnswer;
            });
    }

    mapisvc::AddressDialog m_dialog;
    int m_nDialogs = 0;
};

// An address entry made of the given values, as a caller of GetEmail may hold one.
struct Entry
{
    std::vector<SPropValue> values;
    ADRENTRY entry = {};

    explicit Entry(std::vector<SPropValue> entryValues) : values(std::move(entryValues))
    {
        entry.cValues = static_cast<ULONG>(values.size());
        entry.rgPropVals = values.empty() ? NULL : values.data();
    }
};

SPropValue AnsiValue(ULONG ulPropTag, const char* szText)
{
    SPropValue value = {};
    value.ulPropTag = ulPropTag;
    value.Value.lpszA = const_cast<char*>(szText);
    return value;
}
} // namespace

TEST_F(AddressBookTest, ChosenEntriesComeBackAsAnAddressList)
{
    mapisvc::EntryId ann = AddUser(u"Ann", u"SMTP", u"ann@example.com");
    mapisvc::EntryId bob = AddUser(u"Bob", u"EX", u"/o=Example/cn=bob", u"bob@example.com");
    AnswerDialog({ann, bob});

    LPADRLIST pList = NULL;
    ASSERT_EQ(Session().ShowAddressBook(pList, _T("Pick people")), 1);
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(pList->cEntries, 2u);
    EXPECT_EQ(m_dialog.caption, u"Pick people");
    EXPECT_EQ(m_dialog.flags, static_cast<ULONG>(DIALOG_MODAL | AB_RESOLVE));
    EXPECT_EQ(m_dialog.destinationTitles, std::vector<std::u16string>{u"To"});
    EXPECT_EQ(m_dialog.destinationTypes, std::vector<ULONG>{MAPI_TO});

    CString strEmail;
    ASSERT_TRUE(Session().GetEmail(pList->aEntries[0], strEmail));
    EXPECT_EQ(strEmail, CString(_T("ann@example.com")));
    ASSERT_TRUE(Session().GetEmail(pList->aEntries[1], strEmail));
    EXPECT_EQ(strEmail, CString(_T("bob@example.com")));
    CMAPIEx::ReleaseAddressList(pList);
    CMAPIEx::ReleaseAddressList(NULL);
}

TEST_F(AddressBookTest, CancelledOrFailedDialogLeavesNoList)
{
    AddUser(u"Ann", u"SMTP", u"ann@example.com");
    LPADRLIST pList = NULL;
    // Without a handler the service's dialog is closed with Cancel.
    EXPECT_EQ(Session().ShowAddressBook(pList, _T("Pick")), 2);
    EXPECT_EQ(pList, nullptr);

    AnswerDialog({}, MAPI_E_USER_CANCEL);
    EXPECT_EQ(Session().ShowAddressBook(pList), 2);
    EXPECT_EQ(pList, nullptr);
    AnswerDialog({}, MAPI_E_CALL_FAILED);
    EXPECT_EQ(Session().ShowAddressBook(pList), 0);
    EXPECT_EQ(pList, nullptr);

    mapisvc::Fault addressBook;
    addressBook.interfaceName = "IMAPISession";
    addressBook.method = "OpenAddressBook";
    mapisvc::InjectFault(addressBook);
    EXPECT_EQ(Session().ShowAddressBook(pList), 0);
    EXPECT_EQ(m_nDialogs, 2);

    CMAPIEx loggedOut;
    EXPECT_EQ(loggedOut.ShowAddressBook(pList, _T("Pick")), 0);
}

TEST_F(AddressBookTest, CaptionsReachTheDialogAsEightBitText)
{
    AnswerDialog({}, MAPI_E_USER_CANCEL);
    LPADRLIST pList = NULL;
    Session().ShowAddressBook(pList, NULL);
    EXPECT_EQ(m_dialog.caption, u"");
    Session().ShowAddressBook(pList, _T("Empf\u00E4nger w\u00E4hlen"));
    EXPECT_EQ(m_dialog.caption, u"Empf\u00E4nger w\u00E4hlen");
    EXPECT_EQ(m_nDialogs, 2);
}

TEST_F(AddressBookTest, CaptionTooLongForItsBufferIsShortened)
{
    AnswerDialog({}, MAPI_E_USER_CANCEL);
    LPADRLIST pList = NULL;
    const std::u16string fits(254, u'a');
    Session().ShowAddressBook(pList, CString(fits.c_str()));
    EXPECT_EQ(m_dialog.caption, fits);

    std::u16string longCaption(253, u'b');
    longCaption += u"\u00E9\u00E9 and more";
    Session().ShowAddressBook(pList, CString(longCaption.c_str()));
    EXPECT_EQ(m_dialog.caption, longCaption.substr(0, 254));

    Session().ShowAddressBook(pList, CString(std::u16string(5000, u'c').c_str()));
    EXPECT_EQ(m_dialog.caption, std::u16string(254, u'c'));
}

TEST_F(AddressBookTest, EmailOfEntriesByAddressType)
{
    mapisvc::EntryId exUser = AddUser(u"Eve", u"EX", u"/o=Example/cn=eve", u"eve@example.com");
    mapisvc::EntryId exWithoutSmtp = AddUser(u"Old", u"EX", u"/o=Example/cn=old");
    CMAPIEx& mapi = Session();
    CString strEmail = _T("unchanged");

    Entry smtp({UnicodeValue(PR_ADDRTYPE_W, u"SMTP"), UnicodeValue(PR_EMAIL_ADDRESS_W, u"ann@example.com")});
    ASSERT_TRUE(mapi.GetEmail(smtp.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("ann@example.com")));

    Entry untyped({AnsiValue(PR_EMAIL_ADDRESS_A, "Ren\xE9@example.com")});
    ASSERT_TRUE(mapi.GetEmail(untyped.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("Ren\u00E9@example.com")));

    Entry ex({AnsiValue(PR_ADDRTYPE_A, "EX"), BinaryValue(PR_ENTRYID, exUser),
              UnicodeValue(PR_EMAIL_ADDRESS_W, u"/o=Example/cn=eve")});
    ASSERT_TRUE(mapi.GetEmail(ex.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("eve@example.com")));

    Entry exFallback({UnicodeValue(PR_ADDRTYPE_W, u"EX"), BinaryValue(PR_ENTRYID, exWithoutSmtp)});
    ASSERT_TRUE(mapi.GetEmail(exFallback.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("/o=Example/cn=old")));

    // An address type is matched whole and with its case: "ex" is not Exchange.
    Entry lowerEx({UnicodeValue(PR_ADDRTYPE_W, u"ex"), UnicodeValue(PR_EMAIL_ADDRESS_W, u"x@example.com")});
    ASSERT_TRUE(mapi.GetEmail(lowerEx.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("x@example.com")));

    strEmail = _T("unchanged");
    Entry exWithoutID({UnicodeValue(PR_ADDRTYPE_W, u"EX"), UnicodeValue(PR_EMAIL_ADDRESS_W, u"/o=Example/cn=eve")});
    EXPECT_FALSE(mapi.GetEmail(exWithoutID.entry, strEmail));
    Entry typeOnly({UnicodeValue(PR_ADDRTYPE_W, u"SMTP")});
    EXPECT_FALSE(mapi.GetEmail(typeOnly.entry, strEmail));
    Entry empty({});
    EXPECT_FALSE(mapi.GetEmail(empty.entry, strEmail));
    EXPECT_EQ(strEmail, CString(_T("unchanged")));
}

TEST_F(AddressBookTest, ExchangeAddressOfUsersOnly)
{
    mapisvc::EntryId user = AddUser(u"Eve", u"EX", u"/o=Example/cn=eve", u"eve@example.com");
    mapisvc::EntryId list;
    ASSERT_EQ(mapisvc::AddDistList(ProfileName(), u"Team", {user}, &list), S_OK);
    CString strEmail;

    EXPECT_TRUE(Session().GetExEmail(AsSBinary(user), strEmail));
    EXPECT_EQ(strEmail, CString(_T("eve@example.com")));
    EXPECT_FALSE(Session().GetExEmail(AsSBinary(list), strEmail));
    BYTE bogus[] = {0x42};
    EXPECT_FALSE(Session().GetExEmail(SBinary{sizeof(bogus), bogus}, strEmail));

    // In ANSI-only mode the 8-bit forms are asked for.
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    EXPECT_TRUE(Session().GetExEmail(AsSBinary(user), strEmail));
    EXPECT_EQ(strEmail, CString(_T("eve@example.com")));

    CMAPIEx loggedOut;
    EXPECT_FALSE(loggedOut.GetExEmail(AsSBinary(user), strEmail));
}

TEST_F(AddressBookTest, ProfileEmailIsTheIdentitysAddress)
{
    CString strEmail;
    EXPECT_FALSE(Session().GetProfileEmail(strEmail));
    EndSession();

    mapisvc::EntryId me = AddUser(u"Me", u"EX", u"/o=Example/cn=me", u"me@example.com");
    ASSERT_EQ(mapisvc::SetIdentity(ProfileName(), me), S_OK);
    ASSERT_TRUE(Session().GetProfileEmail(strEmail));
    EXPECT_EQ(strEmail, CString(_T("me@example.com")));

    CMAPIEx loggedOut;
    EXPECT_FALSE(loggedOut.GetProfileEmail(strEmail));
}

TEST_F(AddressBookTest, CompareEntryIDsGivesTheSessionsVerdict)
{
    CMAPIEx loggedOut;
    ASSERT_TRUE(Session().OpenMessageStore());
    std::unique_ptr<CMAPIFolder> inbox(Session().OpenInbox(FALSE));
    std::unique_ptr<CMAPIFolder> outbox(Session().OpenOutbox(FALSE));
    ASSERT_TRUE(inbox && outbox);
    SBinary inboxID = *inbox->GetEntryID();
    SBinary outboxID = *outbox->GetEntryID();

    // The receive folder's identifier is the short-term form of the Inbox's: other bytes, same folder.
    ULONG cbShort = 0;
    MapiBuffer<ENTRYID> shortID;
    ASSERT_EQ(Session().GetMessageStore()->GetReceiveFolder(NULL, 0, &cbShort, shortID.Out(), NULL), S_OK);
    ASSERT_FALSE(cbShort == inboxID.cb && memcmp(shortID.Get(), inboxID.lpb, cbShort) == 0);

    LPENTRYID lpInbox = reinterpret_cast<LPENTRYID>(inboxID.lpb);
    EXPECT_NE(Session().CompareEntryIDs(inboxID.cb, lpInbox, cbShort, shortID.Get()), 0u);
    EXPECT_NE(Session().CompareEntryIDs(cbShort, shortID.Get(), inboxID.cb, lpInbox), 0u);
    EXPECT_EQ(Session().CompareEntryIDs(inboxID.cb, lpInbox, outboxID.cb, reinterpret_cast<LPENTRYID>(outboxID.lpb)),
              0u);
    EXPECT_EQ(loggedOut.CompareEntryIDs(inboxID.cb, lpInbox, inboxID.cb, lpInbox), 0u);

    mapisvc::Fault compare;
    compare.interfaceName = "IMAPISession";
    compare.method = "CompareEntryIDs";
    mapisvc::InjectFault(compare);
    EXPECT_EQ(Session().CompareEntryIDs(inboxID.cb, lpInbox, inboxID.cb, lpInbox), 0u);
}
