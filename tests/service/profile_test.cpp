// Profiles, logon and the session's tables.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <algorithm>

namespace
{
class ProfileTest : public ServiceTest
{
};

std::u16string Text(const SPropValue& value)
{
    return PROP_TYPE(value.ulPropTag) == PT_UNICODE ? std::u16string(value.Value.lpszW) : std::u16string();
}

TEST_F(ProfileTest, LogonNeedsInitialisationAndCountsIt)
{
    Ref<IMAPISession> session;
    EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT | MAPI_EXTENDED, session.Out()),
              MAPI_E_NOT_INITIALIZED);
    {
        MapiInit first;
        {
            MapiInit second;
        }
        // One MAPIUninitialize of two leaves MAPI initialised.
        EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT | MAPI_EXTENDED, session.Out()), S_OK);
        session.Reset();
    }
    EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT | MAPI_EXTENDED, session.Out()),
              MAPI_E_NOT_INITIALIZED);
}

TEST_F(ProfileTest, DefaultLogonCreatesTheDefaultProfileWithStandardFolders)
{
    MapiInit init;
    EXPECT_TRUE(mapisvc::ListProfiles().empty());
    Ref<IMAPISession> session = Logon();
    ASSERT_TRUE(session);
    ASSERT_EQ(mapisvc::ListProfiles(), std::vector<std::u16string>{u"Outlook"});
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    ASSERT_TRUE(store);
    EXPECT_NE(GetLong(store.Get(), PR_STORE_SUPPORT_MASK) & STORE_UNICODE_OK, 0);

    Ref<IMAPIFolder> subtree = OpenFolderByProp(store.Get(), PR_IPM_SUBTREE_ENTRYID);
    Ref<IMAPITable> hierarchy;
    ASSERT_EQ(subtree->GetHierarchyTable(MAPI_UNICODE, hierarchy.Out()), S_OK);
    const TableRows rows = ReadRows(hierarchy.Get(), {PR_DISPLAY_NAME_W, PR_CONTAINER_CLASS_W});
    std::vector<std::pair<std::u16string, std::u16string>> folders;
    for (size_t i = 0; i < rows.size(); ++i)
        folders.emplace_back(Text(rows[i].lpProps[0]), Text(rows[i].lpProps[1]));
    const std::vector<std::pair<std::u16string, std::u16string>> expected = {
        {u"Inbox", u"IPF.Note"},         {u"Outbox", u"IPF.Note"}, {u"Sent Items", u"IPF.Note"},
        {u"Deleted Items", u"IPF.Note"}, {u"Drafts", u"IPF.Note"}, {u"Calendar", u"IPF.Appointment"},
        {u"Contacts", u"IPF.Contact"},   {u"Tasks", u"IPF.Task"},  {u"Notes", u"IPF.StickyNote"},
        {u"Journal", u"IPF.Journal"}};
    EXPECT_EQ(folders, expected);

    // A second logon takes the profile that now exists.
    Ref<IMAPISession> again = Logon();
    EXPECT_EQ(mapisvc::ListProfiles().size(), 1u);
}

TEST_F(ProfileTest, ExplicitProfileMustExist)
{
    MapiInit init;
    Ref<IMAPISession> session;
    EXPECT_EQ(
        MAPILogonEx(0, const_cast<LPWSTR>(u"Nobody"), nullptr, MAPI_EXPLICIT_PROFILE | MAPI_UNICODE, session.Out()),
        MAPI_E_LOGON_FAILED);
    ASSERT_EQ(mapisvc::CreateProfile(u"Work"), S_OK);
    // Without MAPI_UNICODE the name is 8-bit text; names compare ignoring case.
    EXPECT_EQ(MAPILogonEx(0, reinterpret_cast<LPWSTR>(const_cast<char*>("WORK")), nullptr, MAPI_EXPLICIT_PROFILE,
                          session.Out()),
              S_OK);
    // Without a name and without MAPI_USE_DEFAULT there is nothing to log on to.
    EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, session.Out()), MAPI_E_LOGON_FAILED);
}
} // namespace
