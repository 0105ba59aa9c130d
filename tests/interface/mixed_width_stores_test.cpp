// A profile with a Unicode store and an ANSI-only store: once the ANSI-only store is opened the process switches to
// ANSI-only mode as always, yet every object keeps reading and writing its strings in its own store's form, so no
// text is lost in the store that can hold it. Both orders of opening.
#include <mapipim/mapipim.h>

#include "support/AfxPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/SessionFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
const char16_t kWideName[] = u"Zo\u00EB \uAE40";   // "Zoë 김": the second word has no ANSI form
const char16_t kAnsiName[] = u"Zo\u00EB ?";        // what code page 1252 keeps of it
const char16_t kWideFolder[] = u"Kontakte \uAE40"; // a Unicode store's folder name beyond the code page

CMAPIContactInfo NamedContact(const char16_t* szName)
{
    CMAPIContactInfo info;
    info.strFirstName = szName;
    info.strCompany = szName;
    info.strMemo = szName;
    return info;
}

// GetParam(): the ANSI-only store is opened before anything is written to the Unicode one.
class MixedWidthStoresTest : public SessionTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        CMAPIInterface::SetYield(0);
        m_modern = AddStore(u"Modern");
        m_legacy = AddAnsiStore(u"Legacy");
        m_modernRecord =
            FolderRecord(m_modern, AddFolder(m_modern, nullptr, kWideFolder, u"IPF.Contact"), _T("Kontakte"));
        m_legacyRecord = FolderRecord(m_legacy, AddFolder(m_legacy, nullptr, u"People", u"IPF.Contact"), _T("People"));
        m_interface = std::make_unique<CMAPIInterface>();
    }

    void TearDown() override
    {
        m_interface.reset();
        SessionTest::TearDown();
    }

    // Writes a contact into the ANSI-only store, which switches the process to ANSI-only mode.
    void WriteToLegacy()
    {
        CMAPIContactInfo info = NamedContact(kWideName);
        ASSERT_TRUE(m_interface->CreateContact(&m_legacyRecord, &info));
        m_legacyContact = info;
        EXPECT_EQ(1, CMAPIEx::m_bOnlyANSIOnUnicode);
        EXPECT_EQ(0, CMAPIEx::m_nMAPICode);
    }

    CMAPIContactInfo ReadBack(const SBinary& entryID)
    {
        CMAPIContactInfo read;
        CopySBinary(read.sbEntryID, entryID);
        EXPECT_TRUE(m_interface->GetContact(&read, 0x7));
        return read;
    }

    mapisvc::EntryId m_modern;
    mapisvc::EntryId m_legacy;
    COutlookFolder m_modernRecord;
    COutlookFolder m_legacyRecord;
    std::unique_ptr<CMAPIInterface> m_interface;
    CMAPIContactInfo m_legacyContact;
};
} // namespace

TEST_P(MixedWidthStoresTest, EachStoreKeepsTheTextItCanHold)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    const bool bAnsiFirst = GetParam();
    if (bAnsiFirst)
        WriteToLegacy();
    CMAPIContactInfo first = NamedContact(kWideName);
    ASSERT_TRUE(m_interface->CreateContact(&m_modernRecord, &first));
    if (!bAnsiFirst)
        WriteToLegacy();

    // Written before or after the switch, read after it: the Unicode store's text is whole.
    CMAPIContactInfo read = ReadBack(first.sbEntryID);
    EXPECT_EQ(CString(kWideName), read.strFirstName);
    EXPECT_EQ(CString(kWideName), read.strCompany);
    EXPECT_EQ(CString(kWideName), read.strMemo);
    EXPECT_EQ(CString(kWideName), read.strFullName);

    // A list in ANSI-only mode, and a record written back from it, keep it whole too.
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> arrContacts;
    ASSERT_TRUE(m_interface->GetContact(&m_modernRecord, arrContacts, 0x7));
    ASSERT_EQ(1, arrContacts.GetSize());
    EXPECT_EQ(CString(kWideName), arrContacts[0]->strCompany);
    ASSERT_TRUE(m_interface->ModifyContact(&m_modernRecord, arrContacts[0]));
    EXPECT_EQ(CString(kWideName), ReadBack(first.sbEntryID).strCompany);
    delete arrContacts[0];

    // The ANSI-only store holds what its code page can.
    CMAPIContactInfo legacy = ReadBack(m_legacyContact.sbEntryID);
    EXPECT_EQ(CString(kAnsiName), legacy.strFirstName);
    EXPECT_EQ(CString(kAnsiName), legacy.strMemo);
    EXPECT_EQ(1, CMAPIEx::m_bOnlyANSIOnUnicode) << "the process-wide switch is as it always was";
}

TEST_P(MixedWidthStoresTest, DiscoveryShowsTheUnicodeStoresFolderNamesWhole)
{
    if (GetParam())
        WriteToLegacy();
    CArray<COutlookStore*, COutlookStore*> arrStores;
    ASSERT_TRUE(m_interface->GetStoreFolder(arrStores, 0x20, nullptr));
    EXPECT_EQ(1, CMAPIEx::m_bOnlyANSIOnUnicode);
    bool bFound = false;
    for (INT_PTR i = 0; i < arrStores.GetSize(); ++i)
    {
        for (INT_PTR j = 0; j < arrStores[i]->arrFolders.GetSize(); ++j)
            bFound = bFound || arrStores[i]->arrFolders[j]->strName == CString(kWideFolder);
        delete arrStores[i];
    }
    EXPECT_TRUE(bFound);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, MixedWidthStoresTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return info.param ? "AnsiOnlyStoreFirst" : "UnicodeStoreFirst"; });
