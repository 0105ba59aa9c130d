// Contacts of an imported data file read through the interface object, as a host reads them: the ANSI (code
// page 932) and the Unicode copy of the same Japanese contact give the same values.
#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include "support/DataFileSamples.h"
#include "support/ServiceFixture.h"

using namespace datafiletest;

namespace
{
class ImportedContactsTest : public ServiceTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ImportedContactsTest, ReadTheValuesAPersonSees)
{
    const auto file = Sample(GetParam());
    if (!file)
        GTEST_SKIP() << "sample absent";
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::ImportOptions options;
    options.storeName = u"Imported";
    mapisvc::ImportResult result;
    ASSERT_EQ(mapisvc::ImportDataFile(profile, file->string(), options, result), S_OK) << result.reason;

    CMAPIInterface::SetYield(0);
    CMAPIInterface mapi;
    CArray<COutlookStore*, COutlookStore*> stores;
    ASSERT_TRUE(mapi.GetStoreFolder(stores, 0x20, _T("Imported")));
    ASSERT_EQ(stores.GetSize(), 1);
    ASSERT_EQ(stores[0]->arrFolders.GetSize(), 1);
    COutlookFolder* contacts = stores[0]->arrFolders[0];
    EXPECT_EQ(std::u16string(contacts->strName.GetString()), u"連絡先 (Contact dedicated)");
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> records;
    ASSERT_TRUE(mapi.GetContact(contacts, records, 0x7));
    ASSERT_EQ(records.GetSize(), 1);
    const CMAPIContactInfo& contact = *records[0];
    EXPECT_EQ(std::u16string(contact.strFullName.GetString()), u"Mr. イグザンプル ドット コム 殿");
    EXPECT_EQ(std::u16string(contact.strCompany.GetString()), u"My work company");
    EXPECT_EQ(std::u16string(contact.strEmail1.GetString()), u"test@example.com");
    for (int i = 0; i < records.GetSize(); ++i)
        delete records[i];
    for (int i = 0; i < stores.GetSize(); ++i)
        delete stores[i];
    CMAPIInterface::SetYield(1);
}

INSTANTIATE_TEST_SUITE_P(Japanese, ImportedContactsTest,
                         ::testing::Values("contact_ja_cp932_ansi.pst", "contact_ja_unicode.pst"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.index == 0 ? "Cp932Ansi" : "Unicode"); });
} // namespace
