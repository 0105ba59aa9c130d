// Appointments, tasks, notes and e-mails of imported data files read through the interface object, as a host reads
// them. Every expected value is what libpff's own tools (pffexport, pypff) show for the file: subjects, local
// times of the UTC values they print, recurrence patterns decoded from the raw blob, note colours and positions from
// the named properties, body formats, recipients and attachment names.
#include "service/datafile/ImportedItemsFixture.h"
#include "support/ScopedEnvironment.h"

#include <cstdio>

using namespace datafiletest;

namespace
{
std::string Minutes(const SYSTEMTIME& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute);
    return text;
}

std::string Day(const SYSTEMTIME& time)
{
    return Minutes(time).substr(0, 10);
}

// The text of an HTML body as a reader sees it: without tags and line breaks.
std::u16string VisibleText(const std::u16string& html)
{
    std::u16string text;
    bool inTag = false;
    for (char16_t c : html)
    {
        if (c == u'<')
            inTag = true;
        else if (c == u'>')
            inTag = false;
        else if (!inTag && c != u'\r' && c != u'\n')
            text += c;
    }
    return text;
}

// ---- Appointments

TEST_F(ImportedItemsTest, AppointmentsReadTheirTimesInTheMachinesZone)
{
    ScopedTz zone("Europe/Paris");
    if (!Import("calendar_recurring_contact_fr_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIScheduleInfo> schedules;
    ASSERT_TRUE(Mapi().GetSchedule(Folder(u"Calendrier"), schedules.array, 0x7));
    ASSERT_EQ(schedules.array.GetSize(), 4);
    // pffexport: start Jul 30, 2019 13:00 UTC, end 13:30 UTC, location "Test place", busy status 2, no reminder.
    const CMAPIScheduleInfo& single = schedules.Subject(u"Rdv 30-07-2019-15-00");
    EXPECT_EQ(Minutes(single.tzStartTime.tmDateTime), "2019-07-30 15:00");
    EXPECT_EQ(Minutes(single.tzEndTime.tmDateTime), "2019-07-30 15:30");
    EXPECT_EQ(Text(single.strLocation), u"Test place");
    EXPECT_EQ(single.nSign, 2);
    EXPECT_FALSE(single.bAlarm);
    EXPECT_FALSE(single.bRecurSet);
    EXPECT_EQ(single.lprcRecurring, nullptr);
    EXPECT_EQ(Minutes(schedules.Subject(u"Rdv test-a 31-07-2019-12-00").tzEndTime.tmDateTime), "2019-07-31 13:00");
}

TEST_F(ImportedItemsTest, AWeeklySeriesWithExceptionsReadsItsPattern)
{
    ScopedTz zone("Europe/Paris");
    if (!Import("calendar_recurring_contact_fr_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIScheduleInfo> schedules;
    ASSERT_TRUE(Mapi().GetSchedule(Folder(u"Calendrier"), schedules.array, 0x7));
    // pffexport: "chaque lundi de 14:00 à 14:30", first Aug 05, 2019 12:00 UTC, a reminder 15 minutes before, and
    // the four changed occurrences as attached appointments. The blob (pypff): weekly every week on Monday, from
    // 2019-08-05 to 2020-01-31, ending on that date, 26 occurrences, one deleted and four modified instances.
    const CMAPIScheduleInfo& weekly = schedules.Subject(u"Rdv loop 01-08-2019-Mon-14-00");
    EXPECT_TRUE(weekly.bRecurSet);
    EXPECT_EQ(Text(weekly.strRecurDisplay), u"chaque lundi de 14:00 à 14:30");
    EXPECT_EQ(Minutes(weekly.tzStartTime.tmDateTime), "2019-08-05 14:00");
    EXPECT_EQ(Minutes(weekly.tzEndTime.tmDateTime), "2019-08-05 14:30");
    EXPECT_TRUE(weekly.bAlarm);
    EXPECT_EQ(weekly.nAlarmMin, 15);
    EXPECT_EQ(weekly.nAttachCount, 4);
    ASSERT_NE(weekly.lprcRecurring, nullptr);
    const CMAPIRecurring& pattern = *weekly.lprcRecurring;
    EXPECT_EQ(pattern.nFrequency, 1);
    EXPECT_EQ(pattern.nPatternType, 1);
    EXPECT_EQ(pattern.nPeriod, 1u);
    EXPECT_EQ(pattern.nDayMask, 0x2u);
    EXPECT_EQ(pattern.nCalendarType, 0);
    EXPECT_EQ(Day(pattern.tmStartDate), "2019-08-05");
    EXPECT_EQ(Day(pattern.tmEndDate), "2020-01-31");
    EXPECT_EQ(pattern.nEndType, 0);
    EXPECT_EQ(pattern.nOccurrenceCount, 26);
}

TEST_F(ImportedItemsTest, AMonthlySeriesOnTheFirstTuesdayReadsItsPattern)
{
    ScopedTz zone("Europe/Paris");
    if (!Import("calendar_recurring_contact_fr_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIScheduleInfo> schedules;
    ASSERT_TRUE(Mapi().GetSchedule(Folder(u"Calendrier"), schedules.array, 0x7));
    // pffexport: "le premier mardi tous les 1 mois de 13:00 à 13:30"; the blob: month-nth, week 1, Tuesday,
    // 6 occurrences from 2019-08-06.
    const CMAPIScheduleInfo& monthly = schedules.Subject(u"Rdv loop 01-08-2019-1Tue-13-00");
    EXPECT_EQ(Text(monthly.strRecurDisplay), u"le premier mardi tous les 1 mois de 13:00 à 13:30");
    EXPECT_EQ(Minutes(monthly.tzStartTime.tmDateTime), "2019-08-06 13:00");
    EXPECT_TRUE(monthly.strLocation.IsEmpty());
    ASSERT_NE(monthly.lprcRecurring, nullptr);
    EXPECT_EQ(monthly.lprcRecurring->nFrequency, 2);
    EXPECT_EQ(monthly.lprcRecurring->nPatternType, 3);
    EXPECT_EQ(monthly.lprcRecurring->nWeekNumber, 1);
    EXPECT_EQ(monthly.lprcRecurring->nDayMask, 0x4u);
    EXPECT_EQ(monthly.lprcRecurring->nOccurrenceCount, 6);
    EXPECT_EQ(Day(monthly.lprcRecurring->tmStartDate), "2019-08-06");
}

TEST_F(ImportedItemsTest, ASeriesWithoutEndReadsItsPattern)
{
    ScopedTz zone("America/Los_Angeles");
    if (!Import("contact_distlist_appointment_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIScheduleInfo> schedules;
    ASSERT_TRUE(Mapi().GetSchedule(Folder(u"Calendar"), schedules.array, 0x7));
    ASSERT_EQ(schedules.array.GetSize(), 1);
    // pffexport: "every Tuesday from 8:00 AM to 8:30 AM", start Aug 02, 2016 15:00 UTC, two changed occurrences
    // attached; the blob: weekly on Tuesday from 2016-08-02, never ending.
    const CMAPIScheduleInfo& weekly = *schedules.array[0];
    EXPECT_EQ(Text(weekly.strSubject), u"Test appointment");
    EXPECT_EQ(Text(weekly.strRecurDisplay), u"every Tuesday from 8:00 AM to 8:30 AM");
    EXPECT_EQ(Minutes(weekly.tzStartTime.tmDateTime), "2016-08-02 08:00");
    EXPECT_EQ(weekly.nAttachCount, 2);
    ASSERT_NE(weekly.lprcRecurring, nullptr);
    EXPECT_EQ(weekly.lprcRecurring->nFrequency, 1);
    EXPECT_EQ(weekly.lprcRecurring->nDayMask, 0x4u);
    EXPECT_EQ(weekly.lprcRecurring->nEndType, 2);
    EXPECT_EQ(Day(weekly.lprcRecurring->tmStartDate), "2016-08-02");
}

// ---- Tasks and notes

TEST_F(ImportedItemsTest, ACompletedTaskReadsItsStatusAndDates)
{
    ScopedTz zone("UTC");
    if (!Import("pim_all_types_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPITodoInfo> todos;
    ASSERT_TRUE(Mapi().GetTodo(Folder(u"Tasks"), todos.array, 0x7));
    ASSERT_EQ(todos.array.GetSize(), 1);
    // pffexport: "Task", status 2, complete, 100 per cent, no reminder; pypff: owner "Unknown", completed on
    // 2021-02-04, no start or due date, normal importance, created Feb 04, 2021 12:01:13 UTC.
    const CMAPITodoInfo& task = *todos.array[0];
    EXPECT_EQ(Text(task.strSubject), u"Task");
    EXPECT_EQ(Text(task.strOwner), u"Unknown");
    EXPECT_EQ(task.nStatus, 2);
    EXPECT_DOUBLE_EQ(task.dCompleteRate, 100.0);
    EXPECT_EQ(Day(task.tmCompleteTime), "2021-02-04");
    EXPECT_EQ(task.tmStartTime.wYear, 0);
    EXPECT_EQ(task.tmEndTime.wYear, 0);
    EXPECT_FALSE(task.bAlarmSet);
    EXPECT_EQ(task.nPriority, 1);
    EXPECT_FALSE(task.bRecurSet);
    EXPECT_EQ(Minutes(task.tmCTime), "2021-02-04 12:01");
}

TEST_F(ImportedItemsTest, StickyNotesReadTheirTextColourAndPlace)
{
    if (!Import("notes_aspose_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIMemoInfo> memos;
    ASSERT_TRUE(Mapi().GetMemo(Folder(u"Notes"), memos.array, 0x7));
    ASSERT_EQ(memos.array.GetSize(), 3);
    // pypff: the three notes say "This is a blue color note"; their colours (the note set's 0x8B00) are 2, 0 and
    // 2, each 500 by 500 pixels at 500, 300.
    const int colours[] = {2, 0, 2};
    for (INT_PTR i = 0; i < 3; ++i)
    {
        const CMAPIMemoInfo& note = *memos.array[i];
        EXPECT_EQ(Text(note.strSubject), u"Blue color note");
        EXPECT_EQ(Text(note.strContents), u"This is a blue color note");
        EXPECT_EQ(note.nNoteColor, colours[i]);
        EXPECT_EQ(note.nNoteWidth, 500);
        EXPECT_EQ(note.nNoteHeight, 500);
        EXPECT_EQ(note.nNoteX, 500);
        EXPECT_EQ(note.nNoteY, 300);
    }
}

// ---- E-mails

TEST_F(ImportedItemsTest, EmailsReadTheirBodyInTheFormatTheyWereWritten)
{
    if (!Import("mail_body_types_tika_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIEmailInfo> emails;
    ASSERT_TRUE(Mapi().GetEmail(Folder(u"tmp"), emails.array, 0x7));
    ASSERT_EQ(emails.array.GetSize(), 4);
    // pffexport writes Message.html for the first two, Message.rtf for the third, and only Message.txt for the
    // fourth; each was forwarded from "original email" by "Allison, Timothy B.".
    const int forms[] = {2, 2, 3, 1};
    for (INT_PTR i = 0; i < 4; ++i)
    {
        const CMAPIEmailInfo& email = *emails.array[i];
        EXPECT_EQ(email.nForm, forms[i]) << i;
        EXPECT_EQ(Text(email.strSenderName), u"Allison, Timothy B.");
        EXPECT_EQ(Text(email.strSubject), i == 0 ? u"original email" : u"FW: original email");
    }
    EXPECT_EQ(Text(emails.array[0]->strContents).rfind(u"<html", 0), 0u);
    EXPECT_NE(VisibleText(Text(emails.array[0]->strContents)).find(u"This is the original email (html)"),
              std::u16string::npos);
    EXPECT_EQ(Text(emails.array[2]->strContents).rfind(u"{\\rtf1", 0), 0u);
    const std::u16string plain = Text(emails.array[3]->strContents);
    EXPECT_EQ(plain.rfind(u"From: Allison, Timothy B. \r\nSent: Wednesday, August 30, 2017 3:26 PM\r\n", 0), 0u);
    EXPECT_NE(plain.find(u"Forwarded plain text"), std::u16string::npos);
}

TEST_F(ImportedItemsTest, AnEmailToTwoHundredPeopleListsEveryOne)
{
    if (!Import("mail_200_recipients_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIEmailInfo> emails;
    const CMAPIEmailInfo* found = OnlyEmailAtTop(emails);
    ASSERT_NE(found, nullptr);
    // pffexport: 200 recipients, all "To", SMTP addresses xmailuser1@xmailserver.test and on, named by them.
    const CMAPIEmailInfo& email = *found;
    EXPECT_EQ(Text(email.strSubject), u"200 recipients");
    EXPECT_EQ(GetCountSubString(email.strTo, _T(";")), 200);
    EXPECT_TRUE(email.strCC.IsEmpty());
    EXPECT_TRUE(email.strBCC.IsEmpty());
    CString first, last;
    ASSERT_TRUE(GetExtractSubString(first, email.strTo, 0, _T(";")));
    ASSERT_TRUE(GetExtractSubString(last, email.strTo, 199, _T(";")));
    EXPECT_EQ(Text(first), u"xmailuser1@xmailserver.test");
    EXPECT_EQ(Text(last), u"xmailuser200@xmailserver.test");
}

TEST_F(ImportedItemsTest, AnAnsiEmailReadsInItsCodePage)
{
    if (!Import("mail_ja_cp932_ansi.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIEmailInfo> emails;
    const CMAPIEmailInfo* found = OnlyEmailAtTop(emails);
    ASSERT_NE(found, nullptr);
    // pffexport -c windows-932: subject "日本語 Non Unicode タイトル", an RTF body that says "日本語 Non Unicode 本文"
    // (HTML wrapped in RTF, so read as HTML), one recipient.
    const CMAPIEmailInfo& email = *found;
    EXPECT_EQ(Text(email.strSubject), u"日本語 Non Unicode タイトル");
    EXPECT_NE(VisibleText(Text(email.strContents)).find(u"日本語 Non Unicode 本文"), std::u16string::npos);
    EXPECT_EQ(Text(email.strTo), u"xmailuser2@xmailserver.test");
}

TEST_F(ImportedItemsTest, AttachmentsKeepTheirJapaneseNames)
{
    if (!Import("mail_ja_attachment_filename_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIEmailInfo> emails;
    const CMAPIEmailInfo* found = OnlyEmailAtTop(emails);
    ASSERT_NE(found, nullptr);
    // pffexport's attachment files: 1_エラー Error を 意味する記号.png, 2_疑問 Help を 意味する記号.png,
    // 3_情報 Information を 意味する記号.png.
    const CMAPIEmailInfo& email = *found;
    EXPECT_EQ(email.nAttachCount, 3);
    EXPECT_EQ(Text(email.strAttachFile),
              u"エラー Error を 意味する記号.png;疑問 Help を 意味する記号.png;情報 Information を 意味する記号.png");
}

TEST_F(ImportedItemsTest, AnEmailWithAttachedMessagesListsThemAsAttachments)
{
    if (!Import("mail_msg_in_msg_in_msg_unicode.pst"))
        GTEST_SKIP() << "sample absent";
    Records<CMAPIEmailInfo> emails;
    const CMAPIEmailInfo* found = OnlyEmailAtTop(emails);
    ASSERT_NE(found, nullptr);
    // pffexport: "I have sub attachments!" holds the message "I have attachments!" and 2_blue.png.
    const CMAPIEmailInfo& email = *found;
    EXPECT_EQ(Text(email.strSubject), u"I have sub attachments!");
    EXPECT_EQ(email.nAttachCount, 2);
    EXPECT_EQ(Mapi().GetAttachmentCount(emails.array[0]->sbEntryID), 2);
    CString names;
    EXPECT_GT(Mapi().GetAttachmentName(emails.array[0]->sbEntryID, names, -1, 1), 0);
    EXPECT_NE(Text(names).find(u"blue.png"), std::u16string::npos);
}
} // namespace
