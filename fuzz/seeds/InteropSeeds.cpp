// Seeds of the iCalendar and vCard readers: files as the library writes them and as other applications do.
#include "seeds/SeedWriter.h"

#include "interop/VCardContact.h"

namespace
{
const char* const kCalendars[] = {
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTIMEZONE\r\nTZID:W. Europe Standard Time\r\nX-LIC-LOCATION:Europe/Berlin\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nTZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
    "END:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART;TZID=W. Europe Standard Time:20260105T090000\r\n"
    "DTEND;TZID=W. Europe Standard Time:20260105T100000\r\nSUMMARY:Weekly\\, with text\r\n"
    "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR;WKST=MO\r\nEXDATE;TZID=W. Europe Standard Time:20260107T090000\r\n"
    "CATEGORIES:Work\r\nCLASS:PRIVATE\r\nPRIORITY:1\r\nTRANSP:OPAQUE\r\nX-MICROSOFT-CDO-BUSYSTATUS:OOF\r\n"
    "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
    "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260328\r\nDTEND;VALUE=DATE:20260331\r\n"
    "RRULE:FREQ=MONTHLY;BYMONTHDAY=28,29,30,31;BYSETPOS=-1;COUNT=6\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n"
    "DTSTART:20260601T080000Z\r\nDURATION:PT1H\r\nRRULE:FREQ=YEARLY;BYMONTH=6;BYDAY=1MO;UNTIL=20300101T000000Z\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n",
    "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nSUMMARY:Task\r\nDTSTART;VALUE=DATE:20260202\r\nDUE;VALUE=DATE:20260220\r\n"
    "STATUS:IN-PROCESS\r\nPERCENT-COMPLETE:40\r\nRRULE:FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR\r\nBEGIN:VALARM\r\n"
    "TRIGGER;VALUE=DATE-TIME:20260219T073000Z\r\nEND:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n",
    "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:s\r\nDTSTART:20260105T080000Z\r\nDTEND:20260105T090000Z\r\n"
    "SUMMARY:Series\r\nRRULE:FREQ=WEEKLY;COUNT=5\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:s\r\n"
    "RECURRENCE-ID:20260112T080000Z\r\nDTSTART:20260113T100000Z\r\nDTEND:20260113T110000Z\r\nSUMMARY:Moved\r\n"
    "LOCATION:Elsewhere\r\nX-MICROSOFT-CDO-BUSYSTATUS:OOF\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:s\r\n"
    "RECURRENCE-ID;VALUE=DATE:20260119\r\nDTSTART;VALUE=DATE:20260120\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
};
} // namespace

void WriteInteropSeeds(SeedWriter& writer)
{
    int n = 0;
    for (const char* calendar : kCalendars)
        writer.Write("icalendar_reader_fuzzer", "calendar-" + std::to_string(n++), calendar);
    CMAPIContactInfo contact;
    contact.strFirstName = _T("Jos\x00E9");
    contact.strLastName = _T("Garc\x00EDa");
    contact.strEmail1 = _T("jose@example.org");
    contact.strNumberBiz1 = _T("+1 555");
    contact.strNumberHomeFax = _T("+1 556");
    contact.strBizStreet = _T("1 Main St; Suite 2");
    contact.strMemo = _T("Line\r\nanother, line");
    contact.tmBirthday.wYear = 1980;
    contact.tmBirthday.wMonth = 4;
    contact.tmBirthday.wDay = 5;
    writer.Write("vcard_reader_fuzzer", "ours",
                 mapipim::interop::WriteVCard(contact, {"image/png", {0x89, 'P', 'N', 'G', 1, 2, 3}}));
    writer.Write("vcard_reader_fuzzer", "theirs",
                 "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane;;Dr.;\r\nFN:Dr. Jane Doe\r\nitem1.TEL;TYPE=WORK:1\r\n"
                 "TEL;TYPE=CELL:2\r\nADR;TYPE=HOME:;;Street;City;;1234;X\r\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/AA==\r\n"
                 "END:VCARD\r\n");
}
