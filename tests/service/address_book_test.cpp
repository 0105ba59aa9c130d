// The address book: entries, one-off identifiers in the published layout, name resolution, the address
// dialog through the control API's handler, and the profile's identity.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <cstring>

namespace
{
class AddressBookTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
        mapisvc::MailUser ann{u"Ann Smith", u"SMTP", u"ann@example.com", u"ann@example.com"};
        mapisvc::MailUser bob{u"Bob Exchange", u"EX", u"/o=Org/cn=bob", u"bob@example.com"};
        mapisvc::MailUser anna{u"Anna Jones", u"SMTP", u"anna@example.com", u""};
        ASSERT_EQ(mapisvc::AddMailUser(profile, ann, &annId), S_OK);
        ASSERT_EQ(mapisvc::AddMailUser(profile, bob, &bobId), S_OK);
        ASSERT_EQ(mapisvc::AddMailUser(profile, anna, &annaId), S_OK);
        ASSERT_EQ(mapisvc::AddDistList(profile, u"Team", {annId, bobId}, &teamId), S_OK);
        ASSERT_EQ(Session()->OpenAddressBook(0, nullptr, AB_NO_DIALOG, book.Out()), S_OK);
    }
    void TearDown() override
    {
        book.Reset();
        DefaultStoreTest::TearDown();
    }

    HRESULT Open(const mapisvc::EntryId& id, Ref<IUnknown>& object, ULONG& type)
    {
        return book->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())),
                               nullptr, MAPI_BEST_ACCESS, &type, object.Out());
    }

    std::u16string profile;
    mapisvc::EntryId annId, bobId, annaId, teamId;
    Ref<IAddrBook> book;
};

TEST_F(AddressBookTest, OpensMailUsersAndDistributionLists)
{
    Ref<IUnknown> object;
    ULONG type = 0;
    ASSERT_EQ(Open(bobId, object, type), S_OK);
    ASSERT_EQ(type, MAPI_MAILUSER);
    auto* bob = reinterpret_cast<IMailUser*>(object.Get());
    EXPECT_EQ(GetString(bob, PR_DISPLAY_NAME_W), u"Bob Exchange");
    EXPECT_EQ(GetString(bob, PR_ADDRTYPE_W), u"EX");
    EXPECT_EQ(GetString(bob, PR_SMTP_ADDRESS_W), u"bob@example.com");
    EXPECT_EQ(EntryIdOf(bob), bobId);
    EXPECT_EQ(SetOne(bob, UnicodeValue(PR_DISPLAY_NAME_W, u"x")), MAPI_E_NO_ACCESS);

    Ref<IUnknown> annaObject;
    ASSERT_EQ(Open(annaId, annaObject, type), S_OK);
    EXPECT_FALSE(HasProp(reinterpret_cast<IMailUser*>(annaObject.Get()), PR_SMTP_ADDRESS_W));

    ASSERT_EQ(Open(teamId, object, type), S_OK);
    ASSERT_EQ(type, MAPI_DISTLIST);
    auto* team = reinterpret_cast<IDistList*>(object.Get());
    Ref<IMAPITable> members;
    ASSERT_EQ(team->GetContentsTable(MAPI_UNICODE, members.Out()), S_OK);
    const TableRows rows = ReadRows(members.Get(), {PR_DISPLAY_NAME_W});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::u16string(rows[1].lpProps[0].Value.lpszW), u"Bob Exchange");

    mapisvc::EntryId gone = annId;
    gone[gone.size() - 5] ^= 1;
    EXPECT_EQ(Open(gone, object, type), MAPI_E_INVALID_ENTRYID);
}

TEST_F(AddressBookTest, OneOffIdentifiersFollowThePublishedLayout)
{
    ULONG cb = 0;
    MapiBuffer<ENTRYID> id;
    ASSERT_EQ(book->CreateOneOff(reinterpret_cast<LPTSTR>(const_cast<char*>("Unknown")),
                                 reinterpret_cast<LPTSTR>(const_cast<char*>("UNKNOWN")),
                                 reinterpret_cast<LPTSTR>(const_cast<char*>("Unknown")), 0, &cb, id.Out()),
              S_OK);
    const BYTE expected[48] = {0x00, 0x00, 0x00, 0x00, 0x81, 0x2b, 0x1f, 0xa4, 0xbe, 0xa3, 0x10, 0x19,
                               0x9d, 0x6e, 0x00, 0xdd, 0x01, 0x0f, 0x54, 0x02, 0x00, 0x00, 0x00, 0x00,
                               0x55, 0x6e, 0x6b, 0x6e, 0x6f, 0x77, 0x6e, 0x00, 0x55, 0x4e, 0x4b, 0x4e,
                               0x4f, 0x57, 0x4e, 0x00, 0x55, 0x6e, 0x6b, 0x6e, 0x6f, 0x77, 0x6e, 0x00};
    ASSERT_EQ(cb, sizeof(expected));
    EXPECT_EQ(std::memcmp(id.Get(), expected, sizeof(expected)), 0);

    ASSERT_EQ(book->CreateOneOff(const_cast<LPWSTR>(u"Unknown"), const_cast<LPWSTR>(u"UNKNOWN"),
                                 const_cast<LPWSTR>(u"Unknown"), MAPI_UNICODE, &cb, id.Out()),
              S_OK);
    EXPECT_EQ(cb, 72u);
    EXPECT_EQ(reinterpret_cast<const BYTE*>(id.Get())[23], 0x80);

    // A one-off opens as a mail user with its own fields.
    const auto* bytes = reinterpret_cast<const BYTE*>(id.Get());
    Ref<IUnknown> object;
    ULONG type = 0;
    ASSERT_EQ(Open(mapisvc::EntryId(bytes, bytes + cb), object, type), S_OK);
    EXPECT_EQ(type, MAPI_MAILUSER);
    EXPECT_EQ(GetString(reinterpret_cast<IMailUser*>(object.Get()), PR_ADDRTYPE_W), u"UNKNOWN");
}

TEST_F(AddressBookTest, ResolveNameTurnsAddressesIntoOneOffsAndNamesIntoEntries)
{
    MapiBuffer<ADRLIST> list;
    ASSERT_EQ(MAPIAllocateBuffer(CbNewADRLIST(2), reinterpret_cast<LPVOID*>(list.Out())), S_OK);
    list->cEntries = 2;
    for (ULONG i = 0; i < 2; ++i)
    {
        LPSPropValue values = nullptr;
        ASSERT_EQ(MAPIAllocateBuffer(3 * sizeof(SPropValue), reinterpret_cast<LPVOID*>(&values)), S_OK);
        list->aEntries[i] = {0, i == 0 ? 3u : 1u, values};
    }
    list->aEntries[0].rgPropVals[0] = UnicodeValue(PR_DISPLAY_NAME_W, u"Carl");
    list->aEntries[0].rgPropVals[1] = UnicodeValue(PR_ADDRTYPE_W, u"SMTP");
    list->aEntries[0].rgPropVals[2] = UnicodeValue(PR_EMAIL_ADDRESS_W, u"carl@example.com");
    list->aEntries[1].rgPropVals[0] = UnicodeValue(PR_DISPLAY_NAME_W, u"bob exchange");
    ASSERT_EQ(book->ResolveName(0, MAPI_UNICODE, nullptr, list.Get()), S_OK);

    const ADRENTRY& carl = list->aEntries[0];
    const SPropValue* carlId = PpropFindProp(carl.rgPropVals, carl.cValues, PR_ENTRYID);
    ASSERT_NE(carlId, nullptr);
    EXPECT_EQ(carlId->Value.bin.lpb[4], 0x81); // MAPI_ONE_OFF_UID
    const ADRENTRY& bob = list->aEntries[1];
    const SPropValue* bobEntry = PpropFindProp(bob.rgPropVals, bob.cValues, PR_ENTRYID);
    ASSERT_NE(bobEntry, nullptr);
    EXPECT_EQ(ToEntryId(bobEntry->Value.bin), bobId);
    const SPropValue* type = PpropFindProp(bob.rgPropVals, bob.cValues, PR_ADDRTYPE_W);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(std::u16string(type->Value.lpszW), u"EX");
    for (ULONG i = 0; i < 2; ++i)
        MAPIFreeBuffer(list->aEntries[i].rgPropVals);
}

TEST_F(AddressBookTest, ResolveNameReportsAmbiguousAndUnknownNames)
{
    auto resolve = [&](const char16_t* name)
    {
        SPropValue value = UnicodeValue(PR_DISPLAY_NAME_W, name);
        LPSPropValue values = nullptr;
        EXPECT_EQ(MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&values)), S_OK);
        *values = value;
        LPADRLIST list = nullptr;
        EXPECT_EQ(MAPIAllocateBuffer(CbNewADRLIST(1), reinterpret_cast<LPVOID*>(&list)), S_OK);
        list->cEntries = 1;
        list->aEntries[0] = {0, 1, values};
        const HRESULT hr = book->ResolveName(0, MAPI_UNICODE, nullptr, list);
        FreePadrlist(list);
        return hr;
    };
    EXPECT_EQ(resolve(u"Ann"), MAPI_E_AMBIGUOUS_RECIP); // Ann Smith and Anna Jones
    EXPECT_EQ(resolve(u"Nobody"), MAPI_E_NOT_FOUND);
    EXPECT_EQ(resolve(u"ann smith"), S_OK);
}

TEST_F(AddressBookTest, AddressGoesThroughTheHandlerOrIsCancelled)
{
    LPTSTR titles[] = {reinterpret_cast<LPTSTR>(const_cast<char*>("To"))};
    ULONG types[] = {MAPI_TO};
    ADRPARM parm{};
    parm.ulFlags = DIALOG_MODAL | AB_RESOLVE;
    parm.lpszCaption = reinterpret_cast<LPTSTR>(const_cast<char*>("Pick"));
    parm.cDestFields = 1;
    parm.lppszDestTitles = titles;
    parm.lpulDestComps = types;
    ULONG_PTR window = 0;
    LPADRLIST list = nullptr;
    EXPECT_EQ(book->Address(&window, &parm, &list), MAPI_E_USER_CANCEL);
    EXPECT_EQ(list, nullptr);

    mapisvc::AddressDialog seen;
    mapisvc::SetAddressDialogHandler(
        [&](const mapisvc::AddressDialog& dialog, std::vector<mapisvc::AddressChoice>& chosen)
        {
            seen = dialog;
            chosen.push_back({annId, MAPI_CC});
            return S_OK;
        });
    ASSERT_EQ(book->Address(&window, &parm, &list), S_OK);
    EXPECT_EQ(seen.caption, u"Pick");
    EXPECT_EQ(seen.destinationTitles, std::vector<std::u16string>{u"To"});
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->cEntries, 1u);
    const ADRENTRY& entry = list->aEntries[0];
    const SPropValue* address = PpropFindProp(entry.rgPropVals, entry.cValues, PR_EMAIL_ADDRESS_A);
    ASSERT_NE(address, nullptr);
    EXPECT_STREQ(address->Value.lpszA, "ann@example.com");
    EXPECT_EQ(PpropFindProp(entry.rgPropVals, entry.cValues, PR_RECIPIENT_TYPE)->Value.l, MAPI_CC);
    FreePadrlist(list);
}

TEST_F(AddressBookTest, IdentityIsTheProfilesMailUser)
{
    ULONG cb = 0;
    MapiBuffer<ENTRYID> id;
    EXPECT_EQ(Session()->QueryIdentity(&cb, id.Out()), MAPI_E_NOT_FOUND);
    ASSERT_EQ(mapisvc::SetIdentity(profile, annId), S_OK);
    EXPECT_EQ(mapisvc::SetIdentity(profile, teamId), MAPI_E_INVALID_ENTRYID);
    ASSERT_EQ(Session()->QueryIdentity(&cb, id.Out()), S_OK);
    const auto* bytes = reinterpret_cast<const BYTE*>(id.Get());
    EXPECT_EQ(mapisvc::EntryId(bytes, bytes + cb), annId);
    Ref<IUnknown> user;
    ULONG type = 0;
    ASSERT_EQ(Session()->OpenEntry(cb, id.Get(), nullptr, 0, &type, user.Out()), S_OK);
    EXPECT_EQ(GetString(reinterpret_cast<IMailUser*>(user.Get()), PR_SMTP_ADDRESS_W), u"ann@example.com");
}
} // namespace
