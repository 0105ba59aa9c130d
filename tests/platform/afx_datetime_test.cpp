#include "platform/platform.h"

#include "support/AfxPrinters.h"
#include "support/PosixShims.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace
{
CString Stamp(const COleDateTime& date)
{
    return date.Format(_T("%Y-%m-%d %H:%M:%S"));
}

TEST(COleDateTimeTest, KnownDatesMapToOleValues)
{
    EXPECT_DOUBLE_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_DOUBLE_EQ(COleDateTime(1900, 1, 1, 12, 0, 0).m_dt, 2.5);
    EXPECT_DOUBLE_EQ(COleDateTime(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
    EXPECT_DOUBLE_EQ(COleDateTime(9999, 12, 31, 0, 0, 0).m_dt, 2958465.0);
    EXPECT_DOUBLE_EQ(COleDateTime(100, 1, 1, 0, 0, 0).m_dt, -657434.0);
}

TEST(COleDateTimeTest, NegativeDatesCountTimeForward)
{
    const COleDateTime date(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(date.m_dt, -1.25);
    EXPECT_EQ(Stamp(COleDateTime(-1.25)), _T("1899-12-29 06:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(-1.75)), _T("1899-12-29 18:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(-1.25) + COleDateTimeSpan(0.5)), _T("1899-12-29 18:00:00"));
    EXPECT_DOUBLE_EQ((COleDateTime(-1.25) + COleDateTimeSpan(1, 0, 0, 0)).m_dt, 0.25);
    EXPECT_DOUBLE_EQ((COleDateTime(0.25) - COleDateTimeSpan(1, 12, 0, 0)).m_dt, -2.75);
    EXPECT_TRUE(COleDateTime(-1.75) > COleDateTime(-1.25));
    EXPECT_DOUBLE_EQ((COleDateTime(-1.75) - COleDateTime(-1.25)).m_span, 0.5);
}

TEST(COleDateTimeTest, InvalidFieldsMakeAnInvalidDate)
{
    EXPECT_EQ(COleDateTime(MakeSystemTime(2010, 0, 1)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(SYSTEMTIME{}).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(MakeSystemTime(2010, 13, 1)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(MakeSystemTime(2011, 2, 29)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(MakeSystemTime(2012, 2, 29)).GetStatus(), COleDateTime::valid);
    EXPECT_EQ(COleDateTime(MakeSystemTime(2010, 1, 1, 24)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(MakeSystemTime(99, 1, 1)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2010, 1, 1, 0, 60, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-5, 1, 1, 0, 0, 0).GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTimeTest, InvalidDatesReadAsErrorEverywhere)
{
    const COleDateTime bad(MakeSystemTime(2010, 0, 1));
    EXPECT_EQ(bad.GetYear(), -1);
    EXPECT_EQ(bad.GetMonth(), -1);
    EXPECT_EQ(bad.GetDayOfWeek(), -1);
    SYSTEMTIME st = MakeSystemTime(1, 2, 3);
    EXPECT_FALSE(bad.GetAsSystemTime(st));
    EXPECT_EQ(st.wYear, 1);
    EXPECT_EQ(static_cast<WORD>(bad.GetYear()), 0xFFFF);
    EXPECT_EQ((bad + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((bad - COleDateTime(2000, 1, 1, 0, 0, 0)).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(bad.Format(_T("%Y")), _T("Invalid DateTime"));
    EXPECT_FALSE(bad == bad);
    COleDateTime nothing;
    nothing.SetStatus(COleDateTime::null);
    EXPECT_EQ(nothing.Format(_T("%Y")), _T(""));
    EXPECT_TRUE(nothing == nothing);
    EXPECT_EQ((nothing + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::null);
}

TEST(COleDateTimeTest, ArithmeticAcrossMonthYearAndLeapDay)
{
    const COleDateTimeSpan oneDay(1, 0, 0, 0);
    EXPECT_EQ(Stamp(COleDateTime(2010, 1, 31, 23, 30, 0) + oneDay), _T("2010-02-01 23:30:00"));
    EXPECT_EQ(Stamp(COleDateTime(2010, 12, 31, 23, 59, 59) + COleDateTimeSpan(0, 0, 0, 1)), _T("2011-01-01 00:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(2012, 2, 28, 12, 0, 0) + oneDay), _T("2012-02-29 12:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(2012, 3, 1, 0, 0, 0) - oneDay), _T("2012-02-29 00:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(2100, 2, 28, 0, 0, 0) + oneDay), _T("2100-03-01 00:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(2000, 2, 28, 0, 0, 0) + oneDay), _T("2000-02-29 00:00:00"));
    COleDateTime date(2010, 1, 1, 8, 0, 0);
    date += COleDateTimeSpan(0, -9, 0, 0);
    EXPECT_EQ(Stamp(date), _T("2009-12-31 23:00:00"));
    date -= COleDateTimeSpan(365, 0, 0, 0);
    EXPECT_EQ(Stamp(date), _T("2008-12-31 23:00:00"));
    EXPECT_EQ((COleDateTime(2012, 3, 1, 0, 0, 0) - COleDateTime(2012, 2, 1, 0, 0, 0)).GetDays(), 29);
}

TEST(COleDateTimeTest, ResultsOutsideTheCoveredYearsAreInvalid)
{
    EXPECT_EQ((COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((COleDateTime(100, 1, 1, 0, 0, 0) - COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(1e300).GetYear(), -1);
}

TEST(COleDateTimeTest, DayOfWeekStartsOnSunday)
{
    EXPECT_EQ(COleDateTime(2010, 1, 3, 0, 0, 0).GetDayOfWeek(), 1); // a Sunday
    EXPECT_EQ(COleDateTime(2010, 1, 1, 0, 0, 0).GetDayOfWeek(), 6); // a Friday
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).GetDayOfWeek(), 7);
    EXPECT_EQ(COleDateTime(1899, 12, 24, 0, 0, 0).GetDayOfWeek(), 1);
    SYSTEMTIME st{};
    ASSERT_TRUE(COleDateTime(2009, 12, 31, 23, 0, 0).GetAsSystemTime(st));
    EXPECT_EQ(st.wDayOfWeek, 4); // Thursday, Sunday = 0
    EXPECT_EQ(st.wMilliseconds, 0);
    EXPECT_EQ(COleDateTime(2012, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
    EXPECT_EQ(COleDateTime(2011, 3, 1, 0, 0, 0).GetDayOfYear(), 60);
}

TEST(COleDateTimeTest, SecondsRoundToTheNearest)
{
    const double oneSecond = 1.0 / 86400.0;
    EXPECT_EQ(COleDateTime(36526.0 + 59.6 * oneSecond).GetSecond(), 0);
    EXPECT_EQ(COleDateTime(36526.0 + 59.6 * oneSecond).GetMinute(), 1);
    EXPECT_EQ(COleDateTime(36526.0 + 10.4 * oneSecond).GetSecond(), 10);
    EXPECT_EQ(Stamp(COleDateTime(36526.0 - 0.4 * oneSecond)), _T("2000-01-01 00:00:00"));
    EXPECT_EQ(Stamp(COleDateTime(36526.0 - 0.6 * oneSecond)), _T("1999-12-31 23:59:59"));
}

TEST(COleDateTimeTest, FormatCodes)
{
    const COleDateTime date(2010, 3, 7, 15, 4, 9);
    EXPECT_EQ(date.Format(_T("%Y-%m-%d %H:%M:%S")), _T("2010-03-07 15:04:09"));
    EXPECT_EQ(date.Format(_T("%y %j %a %A %b %B")), _T("10 066 Sun Sunday Mar March"));
    EXPECT_EQ(date.Format(_T("%I:%M %p|%#d|%#H|%%|%w")), _T("03:04 PM|7|15|%|0"));
    EXPECT_EQ(date.Format(_T("%x %X")), _T("03/07/10 15:04:09"));
    EXPECT_EQ(date.Format(_T("%#x")), _T("Sunday, March 7, 2010"));
    EXPECT_EQ(date.Format(_T("%Q %")), _T("%Q %"));
    EXPECT_EQ(COleDateTime(2010, 1, 1, 0, 5, 0).Format(_T("%I %p %U %W")), _T("12 AM 00 00"));
    EXPECT_EQ(date.Format(nullptr), _T(""));
}

TEST(COleDateTimeTest, ComparisonOperators)
{
    const COleDateTime early(2010, 1, 1, 0, 0, 0);
    const COleDateTime late(2010, 1, 1, 0, 0, 1);
    EXPECT_TRUE(early < late && late > early && early <= early && late >= early && early != late);
    EXPECT_TRUE(early == COleDateTime(2010, 1, 1, 0, 0, 0));
}

TEST(COleDateTimeTest, LocalTimeConstructors)
{
    const time_t now = std::time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    const COleDateTime fromTime(now);
    EXPECT_EQ(fromTime.GetYear(), local.tm_year + 1900);
    EXPECT_EQ(fromTime.GetHour(), local.tm_hour);
    EXPECT_EQ(fromTime.GetMinute(), local.tm_min);

    const unsigned long long ticks = (static_cast<unsigned long long>(now) + 11644473600ULL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    EXPECT_TRUE(COleDateTime(ft) == fromTime);

    const COleDateTimeSpan sinceNow = COleDateTime::GetCurrentTime() - fromTime;
    EXPECT_GE(sinceNow.GetTotalSeconds(), 0);
    EXPECT_LT(sinceNow.GetTotalSeconds(), 60);
}

TEST(COleDateTimeTest, SettersReturnTheStatus)
{
    COleDateTime date;
    EXPECT_EQ(date.SetDate(2010, 2, 30), COleDateTime::invalid);
    EXPECT_EQ(date.SetDate(2010, 2, 28), COleDateTime::valid);
    EXPECT_EQ(date.GetHour(), 0);
    EXPECT_EQ(date.SetTime(13, 14, 15), COleDateTime::valid);
    EXPECT_EQ(Stamp(date), _T("1899-12-30 13:14:15"));
}

TEST(COleDateTimeSpanTest, PartsAndTotals)
{
    const COleDateTimeSpan span(3, 1, 5, 12);
    EXPECT_EQ(span.GetDays(), 3);
    EXPECT_EQ(span.GetHours(), 1);
    EXPECT_EQ(span.GetMinutes(), 5);
    EXPECT_EQ(span.GetSeconds(), 12);
    EXPECT_DOUBLE_EQ(span.GetTotalDays(), 3);
    EXPECT_DOUBLE_EQ(span.GetTotalHours(), 73);
    EXPECT_DOUBLE_EQ(span.GetTotalMinutes(), 4385);
    EXPECT_DOUBLE_EQ(span.GetTotalSeconds(), 263112);
    const COleDateTimeSpan negative(-1, -2, 0, 0);
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -2);
    EXPECT_DOUBLE_EQ(COleDateTimeSpan(0.5).m_span, 0.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(COleDateTimeSpan(0, 12, 0, 0)), 0.5);
}

TEST(COleDateTimeSpanTest, ArithmeticComparisonAndStatus)
{
    COleDateTimeSpan span(1, 0, 0, 0);
    span += COleDateTimeSpan(0, 12, 0, 0);
    EXPECT_DOUBLE_EQ(span.m_span, 1.5);
    span -= COleDateTimeSpan(2, 0, 0, 0);
    EXPECT_DOUBLE_EQ(span.m_span, -0.5);
    EXPECT_DOUBLE_EQ((-span).m_span, 0.5);
    EXPECT_TRUE(span < COleDateTimeSpan(0.0) && COleDateTimeSpan(0.0) > span && span <= span && span >= span);
    EXPECT_TRUE(span == COleDateTimeSpan(-0.5) && span != COleDateTimeSpan(0.5));
    EXPECT_EQ(COleDateTimeSpan(4e6).GetStatus(), COleDateTimeSpan::invalid);
    COleDateTimeSpan invalidSpan(4e6);
    EXPECT_EQ((invalidSpan + span).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_FALSE(invalidSpan < span);
}
} // namespace
