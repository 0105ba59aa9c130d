// E-mail, contact and memo records: defaults and field-by-field copies.
#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/MAPIMemoInfo.h>

#include "RecordTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace recordtest;

namespace
{
// ---- E-mail

TEST(EmailInfoTest, Defaults)
{
    CMAPIEmailInfo email;
    EXPECT_EQ(email.nForm, 1);
    EXPECT_EQ(email.nImportance, 1);
    EXPECT_EQ(email.nSize, 0);
    EXPECT_EQ(email.nMsgState, 0);
    EXPECT_EQ(email.nSensitivity, 0);
    EXPECT_EQ(email.bRead, 0);
    EXPECT_EQ(email.nAttachCount, 0);
    for (const CString* pText : {&email.strSubject, &email.strContents, &email.strSenderName, &email.strCC,
                                 &email.strBCC, &email.strTo, &email.strLabel, &email.strAttachFile})
        EXPECT_TRUE(pText->IsEmpty());
    EXPECT_TRUE(IsZero(email.tmSendTime));
    EXPECT_TRUE(IsZero(email.tmRcvTime));
}

TEST(EmailInfoTest, CopyEqualsTheSourceFieldByField)
{
    std::unique_ptr<CMAPIEmailInfo> pSource(new CMAPIEmailInfo);
    SetBytes(pSource->sbEntryID, {0xEE});
    pSource->nSize = 2048;
    pSource->nMsgState = 5;
    pSource->strSubject = _T("Subject");
    pSource->strContents = _T("<p>Body</p>");
    pSource->nForm = 2;
    pSource->strSenderName = _T("Ann <ann@example.com>");
    pSource->strCC = _T("cc@example.com");
    pSource->strBCC = _T("bcc@example.com");
    pSource->strTo = _T("a@example.com;b@example.com");
    pSource->strLabel = _T("Red");
    pSource->nImportance = 2;
    pSource->nSensitivity = 3;
    pSource->bRead = 1;
    pSource->nAttachCount = 2;
    pSource->strAttachFile = _T("a.txt;b.txt");
    pSource->tmSendTime = MakeTime(2024, 2, 29, 10, 0);
    pSource->tmRcvTime = MakeTime(2024, 2, 29, 10, 1);

    CMAPIEmailInfo copy(*pSource);
    CMAPIEmailInfo assigned;
    assigned = *pSource;
    pSource.reset();
    for (const CMAPIEmailInfo* pEmail : {&copy, &assigned})
    {
        EXPECT_EQ(GetBytes(pEmail->sbEntryID), (Bytes{0xEE}));
        EXPECT_EQ(pEmail->nSize, 2048);
        EXPECT_EQ(pEmail->nMsgState, 5);
        EXPECT_EQ(pEmail->strSubject, _T("Subject"));
        EXPECT_EQ(pEmail->strContents, _T("<p>Body</p>"));
        EXPECT_EQ(pEmail->nForm, 2);
        EXPECT_EQ(pEmail->strSenderName, _T("Ann <ann@example.com>"));
        EXPECT_EQ(pEmail->strCC, _T("cc@example.com"));
        EXPECT_EQ(pEmail->strBCC, _T("bcc@example.com"));
        EXPECT_EQ(pEmail->strTo, _T("a@example.com;b@example.com"));
        EXPECT_EQ(pEmail->strLabel, _T("Red"));
        EXPECT_EQ(pEmail->nImportance, 2);
        EXPECT_EQ(pEmail->nSensitivity, 3);
        EXPECT_EQ(pEmail->bRead, 1);
        EXPECT_EQ(pEmail->nAttachCount, 2);
        EXPECT_EQ(pEmail->strAttachFile, _T("a.txt;b.txt"));
        EXPECT_TRUE(SameTime(pEmail->tmSendTime, MakeTime(2024, 2, 29, 10, 0)));
        EXPECT_TRUE(SameTime(pEmail->tmRcvTime, MakeTime(2024, 2, 29, 10, 1)));
    }
}

// ---- Contact: every text field, by member pointer, so that each is filled and compared alike.

typedef CString CMAPIContactInfo::*ContactText;

const ContactText kContactTexts[] = {
    &CMAPIContactInfo::strFullName,
    &CMAPIContactInfo::strLastName,
    &CMAPIContactInfo::strFirstName,
    &CMAPIContactInfo::strMiddleName,
    &CMAPIContactInfo::strInitial,
    &CMAPIContactInfo::strCompany,
    &CMAPIContactInfo::strDepartment,
    &CMAPIContactInfo::strTitle,
    &CMAPIContactInfo::strDisplay,
    &CMAPIContactInfo::strEmail1,
    &CMAPIContactInfo::strEmailDispaly1,
    &CMAPIContactInfo::strEmail2,
    &CMAPIContactInfo::strEmailDispaly2,
    &CMAPIContactInfo::strEmail3,
    &CMAPIContactInfo::strEmailDispaly3,
    &CMAPIContactInfo::strBizHomePage,
    &CMAPIContactInfo::strHomePage,
    &CMAPIContactInfo::strIMAddress,
    &CMAPIContactInfo::strMemo,
    &CMAPIContactInfo::strNumberBase,
    &CMAPIContactInfo::strNumberHome1,
    &CMAPIContactInfo::strNumberHome2,
    &CMAPIContactInfo::strNumberHomeFax,
    &CMAPIContactInfo::strNumberCellphone,
    &CMAPIContactInfo::strNumberRadioTelephony,
    &CMAPIContactInfo::strNumberBeeper,
    &CMAPIContactInfo::strNumberCompany,
    &CMAPIContactInfo::strNumberBiz1,
    &CMAPIContactInfo::strNumberBiz2,
    &CMAPIContactInfo::strNumberBizFax,
    &CMAPIContactInfo::strNumberAssistant,
    &CMAPIContactInfo::strNumberCallback,
    &CMAPIContactInfo::strNumberCarphone,
    &CMAPIContactInfo::strNumberOther,
    &CMAPIContactInfo::strNumberOtherFax,
    &CMAPIContactInfo::strNumberISDN,
    &CMAPIContactInfo::strNumberTelex,
    &CMAPIContactInfo::strNumberTTYTDD,
    &CMAPIContactInfo::strHomePostalCode,
    &CMAPIContactInfo::strHomeState,
    &CMAPIContactInfo::strHomeCity,
    &CMAPIContactInfo::strHomeStreet,
    &CMAPIContactInfo::strHomeCountry,
    &CMAPIContactInfo::strBizPostalCode,
    &CMAPIContactInfo::strBizState,
    &CMAPIContactInfo::strBizCity,
    &CMAPIContactInfo::strBizStreet,
    &CMAPIContactInfo::strBizCountry,
    &CMAPIContactInfo::strOtherPostalCode,
    &CMAPIContactInfo::strOtherState,
    &CMAPIContactInfo::strOtherCity,
    &CMAPIContactInfo::strOtherStreet,
    &CMAPIContactInfo::strOtherCountry,
    &CMAPIContactInfo::strOffice,
    &CMAPIContactInfo::strJob,
    &CMAPIContactInfo::strManagerName,
    &CMAPIContactInfo::strAssistantName,
    &CMAPIContactInfo::strNickName,
    &CMAPIContactInfo::strSpouseName,
    &CMAPIContactInfo::strNamePrefix,
    &CMAPIContactInfo::strGeneration,
    &CMAPIContactInfo::strInternetAddress,
    &CMAPIContactInfo::strPicturePath,
    &CMAPIContactInfo::strAttachFile,
};

CString ContactValue(size_t nField)
{
    CString text;
    text.Format(_T("field %d"), int(nField));
    return text;
}

std::unique_ptr<CMAPIContactInfo> MakeFullContact()
{
    std::unique_ptr<CMAPIContactInfo> pContact(new CMAPIContactInfo);
    SetBytes(pContact->sbEntryID, {0x10, 0x20});
    pContact->strEntryID = _T("1020");
    for (size_t i = 0; i < sizeof(kContactTexts) / sizeof(kContactTexts[0]); ++i)
        (*pContact).*kContactTexts[i] = ContactValue(i);
    pContact->tmBirthday = MakeTime(1980, 7, 14);
    pContact->tmAnniversary = MakeTime(2005, 6, 1);
    pContact->nSensitivity = 2;
    return pContact;
}

void ExpectFullContact(const CMAPIContactInfo& contact)
{
    EXPECT_EQ(GetBytes(contact.sbEntryID), (Bytes{0x10, 0x20}));
    EXPECT_EQ(contact.strEntryID, _T("1020"));
    for (size_t i = 0; i < sizeof(kContactTexts) / sizeof(kContactTexts[0]); ++i)
        EXPECT_EQ(contact.*kContactTexts[i], ContactValue(i)) << "field " << i;
    EXPECT_TRUE(SameTime(contact.tmBirthday, MakeTime(1980, 7, 14)));
    EXPECT_TRUE(SameTime(contact.tmAnniversary, MakeTime(2005, 6, 1)));
    EXPECT_EQ(contact.nSensitivity, 2);
}

TEST(ContactInfoTest, HasSixtySevenFieldsAllEmptyByDefault)
{
    EXPECT_EQ(sizeof(kContactTexts) / sizeof(kContactTexts[0]) + 3, 67u); // plus two times and the sensitivity
    CMAPIContactInfo contact;
    for (ContactText text : kContactTexts)
        EXPECT_TRUE((contact.*text).IsEmpty());
    EXPECT_TRUE(IsZero(contact.tmBirthday));
    EXPECT_TRUE(IsZero(contact.tmAnniversary));
    EXPECT_EQ(contact.nSensitivity, 0);
    EXPECT_EQ(contact.sbEntryID.cb, 0u);
}

TEST(ContactInfoTest, CopyAndAssignmentCarryEveryField)
{
    auto pSource = MakeFullContact();
    CMAPIContactInfo copy(*pSource);
    CMAPIContactInfo assigned;
    assigned.strTitle = _T("old title");
    SetBytes(assigned.sbEntryID, {1, 2, 3, 4});
    assigned = *pSource;
    pSource.reset();
    ExpectFullContact(copy);
    ExpectFullContact(assigned);
}

// ---- Memo

TEST(MemoInfoTest, DefaultsAreAYellowNoteOfTwoHundredPixels)
{
    CMAPIMemoInfo memo;
    EXPECT_TRUE(memo.strSubject.IsEmpty());
    EXPECT_TRUE(memo.strContents.IsEmpty());
    EXPECT_TRUE(memo.strLabel.IsEmpty());
    EXPECT_EQ(memo.nNoteColor, 3);
    EXPECT_EQ(memo.nNoteX, 0);
    EXPECT_EQ(memo.nNoteY, 0);
    EXPECT_EQ(memo.nNoteWidth, 200);
    EXPECT_EQ(memo.nNoteHeight, 200);
}

TEST(MemoInfoTest, CopyAndAssignmentCarryEveryField)
{
    std::unique_ptr<CMAPIMemoInfo> pSource(new CMAPIMemoInfo);
    SetBytes(pSource->sbEntryID, {0x42});
    pSource->strSubject = _T("Shopping");
    pSource->strContents = _T("Shopping\r\nmilk");
    pSource->strLabel = _T("Home");
    pSource->nNoteColor = 1;
    pSource->nNoteX = -20;
    pSource->nNoteY = 40;
    pSource->nNoteWidth = 320;
    pSource->nNoteHeight = 240;
    CMAPIMemoInfo copy(*pSource);
    CMAPIMemoInfo assigned;
    assigned = *pSource;
    pSource.reset();
    for (const CMAPIMemoInfo* pMemo : {&copy, &assigned})
    {
        EXPECT_EQ(GetBytes(pMemo->sbEntryID), (Bytes{0x42}));
        EXPECT_EQ(pMemo->strSubject, _T("Shopping"));
        EXPECT_EQ(pMemo->strContents, _T("Shopping\r\nmilk"));
        EXPECT_EQ(pMemo->strLabel, _T("Home"));
        EXPECT_EQ(pMemo->nNoteColor, 1);
        EXPECT_EQ(pMemo->nNoteX, -20);
        EXPECT_EQ(pMemo->nNoteY, 40);
        EXPECT_EQ(pMemo->nNoteWidth, 320);
        EXPECT_EQ(pMemo->nNoteHeight, 240);
    }
}
} // namespace
