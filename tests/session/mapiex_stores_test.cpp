// CMAPIEx's store members: choosing a store from the stores table by default flag or by part of its name, opening
// it by entry identifier, the flags remembered for folder openings, the switch to ANSI-only mode, the store's
// capabilities and state, and the trace lines of failed openings.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <memory>

namespace
{
class MAPIExStoresTest : public SessionTest
{
protected:
    std::u16string OpenStoreName() { return GetString(Session().GetMessageStore(), PR_DISPLAY_NAME_W); }

    // The flags of the last call of this method in the call log.
    static ULONG LastCallFlags(const char* szInterface, const char* szMethod)
    {
        const std::vector<mapisvc::CallRecord> calls = CallsOf(szInterface, szMethod);
        return calls.empty() ? 0xFFFFFFFF : calls.back().flags;
    }
};

} // namespace

TEST_F(MAPIExStoresTest, WithoutSessionNothingOpens)
{
    CMAPIEx mapi;
    mapisvc::EntryId store = AddStore(u"Mailbox");
    SBinary entryID = AsSBinary(store);
    mapipim::TraceCapture trace;
    EXPECT_FALSE(mapi.OpenMessageStore());
    EXPECT_FALSE(mapi.OpenMessageStore(entryID));
    EXPECT_EQ(mapi.GetMessageStore(), nullptr);
    EXPECT_EQ(mapi.GetMessageStoreSupport(), 0u);
    EXPECT_EQ(mapi.GetMessageStoreState(), 0);
    EXPECT_TRUE(trace.GetLines().empty());
}

TEST_F(MAPIExStoresTest, NullNameOpensTheDefaultStore)
{
    AddStore(u"Personal Archive");
    mapisvc::StoreOptions mailbox;
    mailbox.displayName = u"Mailbox";
    mailbox.isDefault = true;
    AddStore(mailbox);

    ASSERT_TRUE(Session().OpenMessageStore());
    EXPECT_EQ(OpenStoreName(), u"Mailbox");
}

TEST_F(MAPIExStoresTest, NameChoosesTheFirstStoreContainingItCaseSensitively)
{
    AddStore(u"Mailbox");
    AddStore(u"Personal Archive");
    AddStore(u"Archive 2009");

    ASSERT_TRUE(Session().OpenMessageStore(_T("Archive")));
    EXPECT_EQ(OpenStoreName(), u"Personal Archive");
    ASSERT_TRUE(Session().OpenMessageStore(_T("2009")));
    EXPECT_EQ(OpenStoreName(), u"Archive 2009");

    mapipim::TraceCapture trace;
    EXPECT_FALSE(Session().OpenMessageStore(_T("archive")));
    EXPECT_FALSE(Session().OpenMessageStore(_T("Personal Archives")));
    EXPECT_TRUE(trace.GetLines().empty());
}

TEST_F(MAPIExStoresTest, NoDefaultStoreMeansNothingToOpen)
{
    mapisvc::EntryId store = AddStore(u"Mailbox");
    mapisvc::StoreOptions notDefault;
    notDefault.displayName = u"Mailbox";
    ASSERT_EQ(mapisvc::UpdateStore(store, notDefault), S_OK);

    EXPECT_FALSE(Session().OpenMessageStore());
    EXPECT_EQ(Session().GetMessageStore(), nullptr);
    EXPECT_TRUE(Session().OpenMessageStore(_T("Mail")));
}

TEST_F(MAPIExStoresTest, EntryIdentifierOpensThatStoreAndKeepsTheFlagsForFolders)
{
    AddStore(u"Mailbox");
    mapisvc::EntryId archive = AddStore(u"Personal Archive");
    SBinary entryID = AsSBinary(archive);

    ASSERT_TRUE(Session().OpenMessageStore(entryID, MAPI_BEST_ACCESS));
    EXPECT_EQ(OpenStoreName(), u"Personal Archive");
    // The store itself is always opened without a dialog and with the best access.
    EXPECT_EQ(LastCallFlags("IMAPISession", "OpenMsgStore"), static_cast<ULONG>(MDB_NO_DIALOG | MAPI_BEST_ACCESS));

    std::unique_ptr<CMAPIFolder> root(Session().OpenRootFolder(FALSE));
    ASSERT_TRUE(root);
    EXPECT_EQ(LastCallFlags("IMsgStore", "OpenEntry"), static_cast<ULONG>(MAPI_BEST_ACCESS));
}

TEST_F(MAPIExStoresTest, FailedOpeningTracesTheIdentifierAndLeavesNoStore)
{
    AddStore(u"Mailbox");
    ASSERT_TRUE(Session().OpenMessageStore());
    BYTE bogus[] = {0x01, 0xAB, 0x7F};
    SBinary entryID = {sizeof(bogus), bogus};

    mapipim::TraceCapture trace;
    EXPECT_FALSE(Session().OpenMessageStore(entryID));
    EXPECT_EQ(Session().GetMessageStore(), nullptr);
    EXPECT_EQ(trace.GetLines(), std::vector<CString>{_T("[MAPI] OpenMessageStore - OpenMsgStore failed : 01AB7F")});
}

TEST_F(MAPIExStoresTest, FailingStoresTableIsTracedWithNameAndFlags)
{
    AddStore(u"Mailbox");
    Session();
    mapipim::TraceCapture trace;

    const ULONG ulTableFault = mapisvc::InjectFault(FailCall("IMAPISession", "GetMsgStoresTable"));
    EXPECT_FALSE(Session().OpenMessageStore(_T("Mail"), 0x11));
    mapisvc::RemoveFault(ulTableFault);
    mapisvc::InjectFault(FailCall("IMAPITable", "SetColumns"));
    EXPECT_FALSE(Session().OpenMessageStore(_T("Box"), 0x10));

    const std::vector<CString> expected = {_T("[MAPI] Failed : OpenMessageStore - GetMsgStoresTable : Mail, 17"),
                                           _T("[MAPI] Failed : OpenMessageStore - SetColumns : Box, 16")};
    EXPECT_EQ(trace.GetLines(), expected);
}

TEST_F(MAPIExStoresTest, AnsiOnlyStoreSwitchesTheProcessForGood)
{
    mapisvc::EntryId mailbox = AddStore(u"Mailbox");
    mapisvc::EntryId legacy = AddAnsiStore(u"Legacy");
    SBinary mailboxID = AsSBinary(mailbox);
    SBinary legacyID = AsSBinary(legacy);

    ASSERT_TRUE(Session().OpenMessageStore(mailboxID));
    EXPECT_EQ(static_cast<ULONG>(CMAPIEx::m_nMAPICode), MAPI_UNICODE);
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 0);

    mapipim::TraceCapture trace;
    ASSERT_TRUE(Session().OpenMessageStore(legacyID));
    EXPECT_EQ(CMAPIEx::m_nMAPICode, 0);
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 1);
    EXPECT_TRUE(trace.GetLines().empty());

    ASSERT_TRUE(Session().OpenMessageStore(mailboxID));
    EXPECT_EQ(CMAPIEx::m_nMAPICode, 0);
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 1);
}

TEST_F(MAPIExStoresTest, SupportMaskAndStateOfTheOpenStore)
{
    mapisvc::StoreOptions options;
    options.displayName = u"Mailbox";
    options.supportMask = STORE_UNICODE_OK | STORE_NOTIFY_OK | STORE_MODIFY_OK;
    options.state = 0x00000042;
    AddStore(options);
    ASSERT_TRUE(Session().OpenMessageStore());

    EXPECT_EQ(Session().GetMessageStoreSupport(),
              static_cast<ULONG>(STORE_UNICODE_OK | STORE_NOTIFY_OK | STORE_MODIFY_OK));
    EXPECT_EQ(Session().GetMessageStoreState(), 0x42);

    mapisvc::Fault unreadable = FailCall("IMsgStore", "GetProps");
    unreadable.result = MAPI_W_ERRORS_RETURNED;
    mapisvc::InjectFault(unreadable);
    EXPECT_EQ(Session().GetMessageStoreSupport(), 0u);
    EXPECT_EQ(Session().GetMessageStoreState(), 0);
}
