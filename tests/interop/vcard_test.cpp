// The vCard reader and writer on their own: every field of a contact through a card and back, the TYPEs each
// telephone slot is written with, cards other applications write, and cards that must fail alone.
#include "interop/ContentLine.h"
#include "interop/VCardContact.h"

#include "support/AfxPrinters.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

using namespace mapipim::interop;

namespace
{
CString U(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

typedef CString CMAPIContactInfo::*TextMember;

// Every text field the card carries, each with a value of its own (commas, semicolons, line breaks and text
// beyond Latin-1 among them).
const TextMember kCarried[] = {
    &CMAPIContactInfo::strFullName, &CMAPIContactInfo::strLastName, &CMAPIContactInfo::strFirstName,
    &CMAPIContactInfo::strMiddleName, &CMAPIContactInfo::strNamePrefix, &CMAPIContactInfo::strGeneration,
    &CMAPIContactInfo::strCompany, &CMAPIContactInfo::strDepartment, &CMAPIContactInfo::strTitle,
    &CMAPIContactInfo::strJob, &CMAPIContactInfo::strNickName, &CMAPIContactInfo::strEmail1,
    &CMAPIContactInfo::strEmailDispaly1, &CMAPIContactInfo::strEmail2, &CMAPIContactInfo::strEmailDispaly2,
    &CMAPIContactInfo::strEmail3, &CMAPIContactInfo::strEmailDispaly3, &CMAPIContactInfo::strBizHomePage,
    &CMAPIContactInfo::strHomePage, &CMAPIContactInfo::strIMAddress, &CMAPIContactInfo::strMemo,
    &CMAPIContactInfo::strNumberBase, &CMAPIContactInfo::strNumberHome1, &CMAPIContactInfo::strNumberHome2,
    &CMAPIContactInfo::strNumberHomeFax, &CMAPIContactInfo::strNumberCellphone,
    &CMAPIContactInfo::strNumberRadioTelephony, &CMAPIContactInfo::strNumberBeeper,
    &CMAPIContactInfo::strNumberCompany, &CMAPIContactInfo::strNumberBiz1, &CMAPIContactInfo::strNumberBiz2,
    &CMAPIContactInfo::strNumberBizFax, &CMAPIContactInfo::strNumberAssistant, &CMAPIContactInfo::strNumberCallback,
    &CMAPIContactInfo::strNumberCarphone, &CMAPIContactInfo::strNumberOther, &CMAPIContactInfo::strNumberOtherFax,
    &CMAPIContactInfo::strNumberISDN, &CMAPIContactInfo::strNumberTelex, &CMAPIContactInfo::strNumberTTYTDD,
    &CMAPIContactInfo::strHomePostalCode, &CMAPIContactInfo::strHomeState, &CMAPIContactInfo::strHomeCity,
    &CMAPIContactInfo::strHomeStreet, &CMAPIContactInfo::strHomeCountry, &CMAPIContactInfo::strBizPostalCode,
    &CMAPIContactInfo::strBizState, &CMAPIContactInfo::strBizCity, &CMAPIContactInfo::strBizStreet,
    &CMAPIContactInfo::strBizCountry, &CMAPIContactInfo::strOtherPostalCode, &CMAPIContactInfo::strOtherState,
    &CMAPIContactInfo::strOtherCity, &CMAPIContactInfo::strOtherStreet, &CMAPIContactInfo::strOtherCountry,
    &CMAPIContactInfo::strOffice, &CMAPIContactInfo::strManagerName, &CMAPIContactInfo::strAssistantName,
    &CMAPIContactInfo::strSpouseName, &CMAPIContactInfo::strInternetAddress,
};

CMAPIContactInfo FullContact()
{
    CMAPIContactInfo contact;
    int n = 0;
    for (TextMember member : kCarried)
        (contact.*member).Format(_T("v%d; \xD55C\xAE00, \x0416"), ++n);
    contact.strMemo = U("Line one\r\nline two; with, punctuation \\ and \xF0\x9F\x98\x80");
    contact.strEmail1 = _T("one@example.org");
    contact.tmBirthday = MakeSystemTime(1970, 2, 28);
    contact.tmAnniversary = MakeSystemTime(2001, 12, 31, 18, 45, 10);
    return contact;
}

ReadCard ReadOne(const std::string& text)
{
    std::vector<ReadCard> cards = ReadVCards(text);
    EXPECT_EQ(1u, cards.size());
    return cards.empty() ? ReadCard() : cards[0];
}

TEST(VCardTest, EveryFieldRoundTrips)
{
    const CMAPIContactInfo contact = FullContact();
    Picture picture{"image/png", {0x89, 'P', 'N', 'G', 0, 1, 2, 0xFF}};
    const ReadCard card = ReadOne(WriteVCard(contact, picture));
    ASSERT_EQ("", card.error);
    for (TextMember member : kCarried)
        EXPECT_EQ(contact.*member, card.contact.*member);
    EXPECT_EQ(1970, card.contact.tmBirthday.wYear);
    EXPECT_EQ(2, card.contact.tmBirthday.wMonth);
    EXPECT_EQ(28, card.contact.tmBirthday.wDay);
    EXPECT_EQ(2001, card.contact.tmAnniversary.wYear);
    EXPECT_EQ(31, card.contact.tmAnniversary.wDay);
    EXPECT_EQ(18, card.contact.tmAnniversary.wHour);
    EXPECT_EQ(10, card.contact.tmAnniversary.wSecond);
    EXPECT_EQ(picture.mediaType, card.picture.mediaType);
    EXPECT_EQ(picture.bytes, card.picture.bytes);
}

TEST(VCardTest, EmptyFieldsAreLeftOutAndTheCardIsVersion4)
{
    CMAPIContactInfo contact;
    contact.strFullName = _T("Only Name");
    const std::string text = WriteVCard(contact, Picture());
    EXPECT_EQ(0u, text.find("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    EXPECT_EQ(std::string::npos, text.find("TEL"));
    EXPECT_EQ(std::string::npos, text.find("ADR"));
    EXPECT_EQ(std::string::npos, text.find("BDAY"));
    EXPECT_EQ(std::string::npos, text.find("PHOTO"));
}

TEST(VCardTest, EachTelephoneSlotHasTypesOfItsOwn)
{
    CMAPIContactInfo contact;
    contact.strNumberBiz1 = _T("1");
    contact.strNumberBiz2 = _T("2");
    contact.strNumberHomeFax = _T("3");
    contact.strNumberCellphone = _T("4");
    contact.strNumberBeeper = _T("5");
    const std::string text = WriteVCard(contact, Picture());
    EXPECT_NE(std::string::npos, text.find("TEL;TYPE=\"work,voice\":1\r\n"));
    EXPECT_NE(std::string::npos, text.find("TEL;TYPE=\"work,voice,x-second\":2\r\n"));
    EXPECT_NE(std::string::npos, text.find("TEL;TYPE=\"home,fax\":3\r\n"));
    EXPECT_NE(std::string::npos, text.find("TEL;TYPE=\"cell,voice\":4\r\n"));
    EXPECT_NE(std::string::npos, text.find("TEL;TYPE=\"pager\":5\r\n"));
}

TEST(VCardTest, ReadsWhatOtherApplicationsWrite)
{
    const ReadCard card = ReadOne("BEGIN:VCARD\r\n"
                                  "VERSION:3.0\r\n"
                                  "N:Doe;Jane;;Dr.;\r\n"
                                  "FN:Dr. Jane Doe\r\n"
                                  "TEL;TYPE=WORK:+1 111\r\n"
                                  "TEL;TYPE=WORK:+1 222\r\n"
                                  "TEL;TYPE=WORK:+1 333\r\n"
                                  "TEL;TYPE=CELL:+1 444\r\n"
                                  "TEL;VALUE=uri;TYPE=home:tel:+1-555\r\n"
                                  "TEL;TYPE=fax:+1 666\r\n"
                                  "item1.EMAIL;TYPE=INTERNET:a@example.org\r\n"
                                  "EMAIL:b@example.org\r\n"
                                  "ADR;TYPE=WORK:;;1 Main St;Springfield;IL;62701;USA\r\n"
                                  "ORG:Acme\r\n"
                                  "BDAY:1980-04-05\r\n"
                                  "X-UNKNOWN:kept out\r\n"
                                  "END:VCARD\r\n");
    ASSERT_EQ("", card.error);
    const CMAPIContactInfo& c = card.contact;
    EXPECT_EQ(CString(_T("Doe")), c.strLastName);
    EXPECT_EQ(CString(_T("Dr.")), c.strNamePrefix);
    EXPECT_EQ(CString(_T("+1 111")), c.strNumberBiz1);
    EXPECT_EQ(CString(_T("+1 222")), c.strNumberBiz2);
    EXPECT_EQ(CString(_T("+1 333")), c.strNumberOther); // both business slots taken
    EXPECT_EQ(CString(_T("+1 444")), c.strNumberCellphone);
    EXPECT_EQ(CString(_T("+1-555")), c.strNumberHome1);
    EXPECT_EQ(CString(_T("+1 666")), c.strNumberOtherFax);
    EXPECT_EQ(CString(_T("a@example.org")), c.strEmail1);
    EXPECT_EQ(CString(_T("b@example.org")), c.strEmail2);
    EXPECT_EQ(CString(_T("Springfield")), c.strBizCity);
    EXPECT_EQ(CString(_T("USA")), c.strBizCountry);
    EXPECT_EQ(CString(_T("Acme")), c.strCompany);
    EXPECT_EQ(1980, c.tmBirthday.wYear);
    EXPECT_EQ(5, c.tmBirthday.wDay);
}

TEST(VCardTest, ABrokenCardFailsAloneWithItsLine)
{
    const std::string text = "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:First\r\nEND:VCARD\r\n"          // 1-4
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Broken\r\n"                     // 5-7, never closed
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nFN;CHARSET=latin1:X\r\nEND:VCARD\r\n" // 8-11
                             "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Old\r\nEND:VCARD\r\n"           // 12-15
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\xC3\x28\r\nEND:VCARD\r\n"      // 16-19
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nBDAY:tomorrow\r\nEND:VCARD\r\n"    // 20-23
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nPHOTO:http://x/y.jpg\r\nEND:VCARD\r\n" // 24-27
                             "BEGIN:VCARD\r\nFN:No version\r\nEND:VCARD\r\n"                   // 28-30
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Last\r\nEND:VCARD";             // 31-34
    const std::vector<ReadCard> cards = ReadVCards(text);
    ASSERT_EQ(9u, cards.size());
    EXPECT_EQ("", cards[0].error);
    EXPECT_EQ(CString(_T("First")), cards[0].contact.strFullName);
    const int expectedLines[] = {5, 10, 13, 18, 22, 26, 28};
    for (int i = 0; i < 7; ++i)
    {
        const ReadCard& card = cards[i + 1];
        EXPECT_EQ(0u, card.error.find("line " + std::to_string(expectedLines[i]) + ":"))
            << "card " << i + 1 << ": " << card.error;
    }
    EXPECT_EQ("", cards[8].error);
    EXPECT_EQ(CString(_T("Last")), cards[8].contact.strFullName);
}

TEST(VCardTest, AHugePictureFailsItsCardOnly)
{
    std::string text = "BEGIN:VCARD\r\nVERSION:4.0\r\nPHOTO:data:image/jpeg;base64,";
    text.append(10u << 20, 'A');
    text += "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:After\r\nEND:VCARD\r\n";
    const std::vector<ReadCard> cards = ReadVCards(text);
    ASSERT_EQ(2u, cards.size());
    EXPECT_NE(std::string::npos, cards[0].error.find("longer than"));
    EXPECT_EQ("", cards[1].error);
}

TEST(VCardTest, TextOutsideCardsIsReported)
{
    const std::vector<ReadCard> cards = ReadVCards("hello:world\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nEND:VCARD\r\n");
    ASSERT_EQ(2u, cards.size());
    EXPECT_EQ(0u, cards[0].error.find("line 1:"));
    EXPECT_EQ("", cards[1].error);
}
} // namespace
