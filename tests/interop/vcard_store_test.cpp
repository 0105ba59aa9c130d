// Contacts through .vcf files and back into the store, through the interface object: every field the card
// carries, the picture, single contacts by entry identifier, and files whose broken cards fail one by one. ical.js
// reads every exported file.
#include "InteropStoreTest.h"
#include "Oracle.h"

#include "support/ContactServiceTest.h"

using namespace interoptest;
using namespace itemtest;

namespace
{
typedef CString CMAPIContactInfo::*TextMember;

// The fields a card carries and the store keeps as written (the full, file-as and initials are derived).
const TextMember kStored[] = {
    &CMAPIContactInfo::strLastName, &CMAPIContactInfo::strFirstName, &CMAPIContactInfo::strMiddleName,
    &CMAPIContactInfo::strNamePrefix, &CMAPIContactInfo::strGeneration, &CMAPIContactInfo::strCompany,
    &CMAPIContactInfo::strDepartment, &CMAPIContactInfo::strTitle, &CMAPIContactInfo::strJob,
    &CMAPIContactInfo::strNickName, &CMAPIContactInfo::strEmail1, &CMAPIContactInfo::strEmailDispaly1,
    &CMAPIContactInfo::strEmail2, &CMAPIContactInfo::strEmailDispaly2, &CMAPIContactInfo::strEmail3,
    &CMAPIContactInfo::strEmailDispaly3, &CMAPIContactInfo::strBizHomePage, &CMAPIContactInfo::strHomePage,
    &CMAPIContactInfo::strIMAddress, &CMAPIContactInfo::strMemo, &CMAPIContactInfo::strNumberBase,
    &CMAPIContactInfo::strNumberHome1, &CMAPIContactInfo::strNumberHome2, &CMAPIContactInfo::strNumberHomeFax,
    &CMAPIContactInfo::strNumberCellphone, &CMAPIContactInfo::strNumberRadioTelephony,
    &CMAPIContactInfo::strNumberBeeper, &CMAPIContactInfo::strNumberCompany, &CMAPIContactInfo::strNumberBiz1,
    &CMAPIContactInfo::strNumberBiz2, &CMAPIContactInfo::strNumberBizFax, &CMAPIContactInfo::strNumberAssistant,
    &CMAPIContactInfo::strNumberCallback, &CMAPIContactInfo::strNumberCarphone, &CMAPIContactInfo::strNumberOther,
    &CMAPIContactInfo::strNumberOtherFax, &CMAPIContactInfo::strNumberISDN, &CMAPIContactInfo::strNumberTelex,
    &CMAPIContactInfo::strNumberTTYTDD, &CMAPIContactInfo::strHomePostalCode, &CMAPIContactInfo::strHomeState,
    &CMAPIContactInfo::strHomeCity, &CMAPIContactInfo::strHomeStreet, &CMAPIContactInfo::strHomeCountry,
    &CMAPIContactInfo::strBizPostalCode, &CMAPIContactInfo::strBizState, &CMAPIContactInfo::strBizCity,
    &CMAPIContactInfo::strBizStreet, &CMAPIContactInfo::strBizCountry, &CMAPIContactInfo::strOtherPostalCode,
    &CMAPIContactInfo::strOtherState, &CMAPIContactInfo::strOtherCity, &CMAPIContactInfo::strOtherStreet,
    &CMAPIContactInfo::strOtherCountry, &CMAPIContactInfo::strOffice, &CMAPIContactInfo::strManagerName,
    &CMAPIContactInfo::strAssistantName, &CMAPIContactInfo::strSpouseName, &CMAPIContactInfo::strInternetAddress,
    &CMAPIContactInfo::strFullName,
};

class VCardStoreTest : public InteropStoreTest
{
};

TEST_F(VCardStoreTest, EveryFieldAndThePictureRoundTrip)
{
    const std::filesystem::path picture = FilesDir() + "/face.jpg";
    contacttest::WriteJpeg(picture, 64, 48);
    CMAPIContactInfo contact = contacttest::MakeFullContact(picture, {});
    contact.strAttachFile.Empty();
    ASSERT_TRUE(Host().CreateContact(&Contacts(), &contact));
    const auto before = ContactList();
    ASSERT_EQ(1u, before.size());
    ASSERT_FALSE(before[0]->strPicturePath.IsEmpty());

    const std::string path = FilePath("contacts.vcf");
    CInteropReport report;
    ASSERT_TRUE(Host().ExportVCard(&Contacts(), Wide(path), &report));
    EXPECT_EQ(1, report.nDone);
    const std::string text = ReadText(path);
    EXPECT_NE(std::string::npos, text.find("PHOTO:data:image/jpeg;base64,/9j/"));
    DeleteAll();
    ASSERT_TRUE(Host().ImportVCard(&Contacts(), Wide(path), &report));
    EXPECT_EQ(1, report.nDone);
    const auto after = ContactList();
    ASSERT_EQ(1u, after.size());
    for (TextMember member : kStored)
        EXPECT_EQ((*before[0]).*member, (*after[0]).*member);
    EXPECT_TRUE(SameTime(before[0]->tmBirthday, after[0]->tmBirthday)) << TimeText(after[0]->tmBirthday);
    EXPECT_TRUE(SameTime(before[0]->tmAnniversary, after[0]->tmAnniversary)) << TimeText(after[0]->tmAnniversary);
    EXPECT_FALSE(after[0]->strPicturePath.IsEmpty()) << "the picture came back";

    if (!OracleAvailable())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    const nlohmann::json oracle = OracleRead(path);
    ASSERT_EQ(1u, oracle.size());
    EXPECT_EQ(before[0]->strFullName.ToUtf8(), oracle[0]["fn"].get<std::string>());
    EXPECT_EQ(3u, oracle[0]["email"].size());
    EXPECT_EQ(before[0]->strEmail1.ToUtf8(), oracle[0]["email"][0].get<std::string>());
    EXPECT_EQ(19u, oracle[0]["tel"].size());
    EXPECT_EQ(3u, oracle[0]["adr"].size());
    std::string memo = before[0]->strMemo.ToUtf8();
    for (size_t at; (at = memo.find("\r\n")) != std::string::npos;)
        memo.erase(at, 1);
    EXPECT_EQ(memo, oracle[0]["note"].get<std::string>());
    EXPECT_EQ(0u, oracle[0]["photo"].get<std::string>().find("data:image/jpeg;base64,"));
}

TEST_F(VCardStoreTest, OneContactExportsByItsEntryIdentifier)
{
    CMAPIContactInfo one, two;
    one.strFirstName = _T("One");
    two.strFirstName = _T("Two");
    ASSERT_TRUE(Host().CreateContact(&Contacts(), &one));
    ASSERT_TRUE(Host().CreateContact(&Contacts(), &two));
    const std::string path = FilePath("one.vcf");
    ASSERT_TRUE(Host().ExportVCard(one.sbEntryID, Wide(path)));
    const std::string text = ReadText(path);
    EXPECT_NE(std::string::npos, text.find("N:;One;;;"));
    EXPECT_EQ(std::string::npos, text.find("Two"));
    EXPECT_EQ(std::string::npos, text.find("PHOTO"));
}

TEST_F(VCardStoreTest, BrokenCardsFailOneByOneAndTheOthersImport)
{
    const std::string path = FilePath("broken.vcf");
    WriteText(path, "BEGIN:VCARD\r\nVERSION:4.0\r\nN:First;A;;;\r\nEND:VCARD\r\n"     // 1-4
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Broken;\xFF;;;\r\nEND:VCARD\r\n" // 5-8
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Open;B;;;\r\n"                  // 9-11, never closed
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Last;C;;;\r\nEND:VCARD\r\n");   // 12-15
    CInteropReport report;
    EXPECT_FALSE(Host().ImportVCard(&Contacts(), Wide(path), &report));
    EXPECT_EQ(2, report.nDone);
    EXPECT_EQ(2, report.nSkipped);
    EXPECT_TRUE(Trace().Contains(Wide("[MAPI] ImportVCard - " + path + " skipped : line 7: text that is not UTF-8")));
    EXPECT_TRUE(Trace().Contains(Wide("[MAPI] ImportVCard - " + path +
                                      " skipped : line 9: card not closed by END:VCARD")));
    std::vector<std::string> names;
    for (const auto& contact : ContactList())
        names.push_back(contact->strLastName.ToUtf8());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"First", "Last"}), names);
}
} // namespace
