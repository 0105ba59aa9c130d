// A single read learns who its item is (entry identifier and store) with the batch of its fields when the item
// lies in the store the session met last, which saves a call per read. An item of another store is still read as
// that store's item, and a batch that cannot tell the store falls back to the reads of an ordinary open.
#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
CMAPIContactInfo Contact(LPCWSTR szName, LPCWSTR szEmail, LPCWSTR szCity)
{
    CMAPIContactInfo info;
    info.strFirstName = szName;
    info.strEmail1 = szEmail;
    info.strEmailDispaly1 = szName;
    info.strBizCity = szCity;
    return info;
}

void MapNamesOfItsOwn(IMAPISession* pSession, const mapisvc::EntryId& store)
{
    Ref<IMsgStore> opened = OpenStore(pSession, store);
    ASSERT_TRUE(opened);
    MAPINAMEID names[5];
    LPMAPINAMEID pointers[5];
    for (int i = 0; i < 5; ++i)
    {
        names[i] = {const_cast<LPGUID>(&PS_PUBLIC_STRINGS), MNID_ID, {}};
        names[i].Kind.lID = 0x9100 + i;
        pointers[i] = &names[i];
    }
    LPSPropTagArray pTags = nullptr;
    ASSERT_EQ(S_OK, opened->GetIDsFromNames(5, pointers, MAPI_CREATE, &pTags));
    MAPIFreeBuffer(pTags);
}

class SingleReadIdentityTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        CMAPIInterface::SetYield(0);
        m_first = AddStore(u"First");
        // A store that maps names as they come, after names of its own: a contact's named properties get other ids
        // there than in the first store.
        mapisvc::StoreOptions options;
        options.displayName = u"Second";
        options.wellKnownNames = false;
        m_second = AddStore(options);
        m_firstContacts = FolderRecord(m_first, AddFolder(m_first, nullptr, u"Friends", u"IPF.Contact"), _T("Friends"));
        m_secondContacts = FolderRecord(m_second, AddFolder(m_second, nullptr, u"People", u"IPF.Contact"), _T("People"));
        MapNamesOfItsOwn(Session().GetSession(), m_second);
        m_interface = std::make_unique<CMAPIInterface>();
    }

    void TearDown() override
    {
        m_interface.reset();
        SessionTest::TearDown();
    }

    CMAPIContactInfo Written(COutlookFolder& folder, CMAPIContactInfo info)
    {
        EXPECT_TRUE(m_interface->CreateContact(&folder, &info));
        return info;
    }

    CMAPIContactInfo Read(const CMAPIContactInfo& written)
    {
        CMAPIContactInfo read;
        CopySBinary(read.sbEntryID, written.sbEntryID);
        EXPECT_TRUE(m_interface->GetContact(&read, 0x7));
        return read;
    }

    static void ExpectSameContact(const CMAPIContactInfo& written, const CMAPIContactInfo& read)
    {
        EXPECT_EQ(written.strEntryID, read.strEntryID);
        EXPECT_EQ(written.strFirstName, read.strFirstName);
        EXPECT_EQ(written.strEmail1, read.strEmail1);
        EXPECT_EQ(written.strEmailDispaly1, read.strEmailDispaly1);
        EXPECT_EQ(written.strBizCity, read.strBizCity);
    }

    mapisvc::EntryId m_first;
    mapisvc::EntryId m_second;
    COutlookFolder m_firstContacts;
    COutlookFolder m_secondContacts;
    std::unique_ptr<CMAPIInterface> m_interface;
};
} // namespace

TEST_F(SingleReadIdentityTest, AReadInTheStoreMetLastTakesOneGetProps)
{
    const CMAPIContactInfo written = Written(m_firstContacts, Contact(_T("Ada"), _T("ada@example.com"), _T("Lyon")));
    // The first read of these fields in the store makes their tags; the item is identified on its own then.
    Read(written);
    mapisvc::SetCallLogEnabled(true);
    mapisvc::ClearCallLog();
    const CMAPIContactInfo read = Read(written);

    const std::vector<mapisvc::CallRecord> reads = CallsOf("IMessage", "GetProps");
    ASSERT_EQ(1u, reads.size());
    EXPECT_TRUE(HasTag(reads[0], PR_ENTRYID));
    EXPECT_TRUE(HasTag(reads[0], PR_STORE_RECORD_KEY));
    ExpectSameContact(written, read);
}

TEST_F(SingleReadIdentityTest, AnItemOfAnotherStoreIsReadWithThatStoresNames)
{
    const CMAPIContactInfo first = Written(m_firstContacts, Contact(_T("Ada"), _T("ada@example.com"), _T("Lyon")));
    const CMAPIContactInfo second = Written(m_secondContacts, Contact(_T("Bo"), _T("bo@example.com"), _T("Oslo")));
    // Each read follows a read in the other store, both ways round.
    for (int nRound = 0; nRound < 2; ++nRound)
    {
        ExpectSameContact(first, Read(first));
        ExpectSameContact(second, Read(second));
    }
}

TEST_F(SingleReadIdentityTest, WhenTheBatchCannotTellTheStoreTheItemIdentifiesItself)
{
    const CMAPIContactInfo written = Written(m_firstContacts, Contact(_T("Ada"), _T("ada@example.com"), _T("Lyon")));
    const CMAPIContactInfo unfaulted = Read(written);
    mapisvc::Fault fault = FailCall("IMessage", "GetProps");
    fault.propTag = PR_STORE_RECORD_KEY;
    ScopedFault storeKey(fault);

    ExpectSameContact(written, Read(written));
    ExpectSameContact(unfaulted, Read(written));
}
