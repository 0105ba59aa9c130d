// E-mail, contact and memo records: defaults and field-by-field copies.
#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/MAPIMemoInfo.h>

#include "RecordTestSupport.h"
#include "support/ContactSamples.h"

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
    pSource->tmSendTime = MakeSystemTime(2024, 2, 29, 10, 0);
    pSource->tmRcvTime = MakeSystemTime(2024, 2, 29, 10, 1);

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
        EXPECT_TRUE(SameTime(pEmail->tmSendTime, MakeSystemTime(2024, 2, 29, 10, 0)));
        EXPECT_TRUE(SameTime(pEmail->tmRcvTime, MakeSystemTime(2024, 2, 29, 10, 1)));
    }
}

// ---- Contact: every text field filled and compared alike, through the list of member pointers.

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
    for (size_t i = 0; i < kContactTextFieldCount; ++i)
        (*pContact).*kContactTextFields[i] = ContactValue(i);
    pContact->tmBirthday = MakeSystemTime(1980, 7, 14);
    pContact->tmAnniversary = MakeSystemTime(2005, 6, 1);
    pContact->nSensitivity = 2;
    return pContact;
}

void ExpectFullContact(const CMAPIContactInfo& contact)
{
    EXPECT_EQ(GetBytes(contact.sbEntryID), (Bytes{0x10, 0x20}));
    EXPECT_EQ(contact.strEntryID, _T("1020"));
    for (size_t i = 0; i < kContactTextFieldCount; ++i)
        EXPECT_EQ(contact.*kContactTextFields[i], ContactValue(i)) << "field " << i;
    EXPECT_TRUE(SameTime(contact.tmBirthday, MakeSystemTime(1980, 7, 14)));
    EXPECT_TRUE(SameTime(contact.tmAnniversary, MakeSystemTime(2005, 6, 1)));
    EXPECT_EQ(contact.nSensitivity, 2);
}

TEST(ContactInfoTest, HasSixtySevenFieldsAllEmptyByDefault)
{
    EXPECT_EQ(kContactTextFieldCount + 3, 67u); // plus two times and the sensitivity
    CMAPIContactInfo contact;
    for (ContactTextField text : kContactTextFields)
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
