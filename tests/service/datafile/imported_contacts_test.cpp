// Contacts of an imported data file read through the interface object, as a host reads them: the ANSI (code
// page 932) and the Unicode copy of the same Japanese contact give the same values.
#include "service/datafile/ImportedItemsFixture.h"

using namespace datafiletest;

namespace
{
class ImportedContactsTest : public ImportedItemsTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ImportedContactsTest, ReadTheValuesAPersonSees)
{
    if (!Import(GetParam()))
        GTEST_SKIP() << "sample absent";
    COutlookFolder* contacts = Folder(u"連絡先 (Contact dedicated)");
    ASSERT_NE(contacts, nullptr);
    EXPECT_EQ(contacts->nFolderType, 0x20); // the store's contacts folder
    Records<CMAPIContactInfo> records;
    ASSERT_TRUE(Mapi().GetContact(contacts, records.array, 0x7));
    ASSERT_EQ(records.array.GetSize(), 1);
    const CMAPIContactInfo& contact = *records.array[0];
    EXPECT_EQ(Text(contact.strFullName), u"Mr. イグザンプル ドット コム 殿");
    EXPECT_EQ(Text(contact.strCompany), u"My work company");
    EXPECT_EQ(Text(contact.strEmail1), u"test@example.com");
}

INSTANTIATE_TEST_SUITE_P(Japanese, ImportedContactsTest,
                         ::testing::Values("contact_ja_cp932_ansi.pst", "contact_ja_unicode.pst"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.index == 0 ? "Cp932Ansi" : "Unicode"); });
} // namespace
