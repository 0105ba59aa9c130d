// COleDateTime and COleDateTimeSpan: MFC's OLE date and span, for builds without MFC.
//
// A date is a DATE (days since 1899-12-30 as a double, time of day in the fraction; before 1899-12-30 the fraction
// still counts forward, so -1.25 is 1899-12-29 06:00) with a status. As in MFC:
// - SetDateTime and the SYSTEMTIME constructor accept years 100 to 9999 and in-range fields only (month 0 makes the
//   date invalid); milliseconds and the day of the week are ignored.
// - The getters return -1 (error) for a date that is not valid, so a SYSTEMTIME built from them reads 0xFFFF.
// - Arithmetic on an invalid or null operand gives an invalid or null result; a result outside the years 100 to
//   9999 is invalid.
// - The FILETIME and time_t constructors and GetCurrentTime give local time.
// - GetTotalDays/Hours/Minutes/Seconds of a span are whole units (rounded to the second, then truncated), as in
//   MFC's current releases; the exact fraction is the span's double value (m_span).
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_OLEDATETIME_H
#define MAPIPIM_AFX_OLEDATETIME_H

#include <mapipim/afx/String.h>

#include <ctime>

typedef double DATE;

// The Windows headers define GetCurrentTime as an obsolete alias of GetTickCount; MFC drops it the same way.
#undef GetCurrentTime

class MAPIPIM_API COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTimeSpan() : m_span(0), m_status(valid) {}
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    operator double() const { return m_span; }
    COleDateTimeSpan& operator=(double dblSpanSrc);

    bool operator==(const COleDateTimeSpan& other) const;
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const;
    bool operator>(const COleDateTimeSpan& other) const { return other < *this; }
    bool operator<=(const COleDateTimeSpan& other) const;
    bool operator>=(const COleDateTimeSpan& other) const { return other <= *this; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }

    double m_span;
    DateTimeSpanStatus m_status;

private:
    void CheckRange();
};

class MAPIPIM_API COleDateTime
{
public:
    enum DateTimeStatus
    {
        error = -1,
        valid = 0,
        invalid = 1,
        null = 2
    };

    static COleDateTime GetCurrentTime();

    COleDateTime() : m_dt(0), m_status(valid) {}
    COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) {}
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    COleDateTime(const SYSTEMTIME& systimeSrc);
    COleDateTime(const FILETIME& filetimeSrc);
    COleDateTime(time_t timeSrc);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
    COleDateTime& operator=(const FILETIME& filetimeSrc);
    COleDateTime& operator=(time_t timeSrc);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    // Each returns the new status: 0 (valid) on success.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    // Fills every field (wDayOfWeek 0 = Sunday, wMilliseconds 0); false, leaving it untouched, when not valid.
    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const; // 1 = January 1st

    // strftime-style codes in the "C" locale: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %%, with
    // "#" dropping leading zeros (%#d). An invalid date formats as "Invalid DateTime", a null one as "".
    CString Format(LPCWSTR pszFormat) const;

    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const;
    bool operator>=(const COleDateTime& date) const { return date <= *this; }

    COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
    COleDateTime& operator+=(const COleDateTimeSpan& dateSpan) { return *this = *this + dateSpan; }
    COleDateTime& operator-=(const COleDateTimeSpan& dateSpan) { return *this = *this - dateSpan; }
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    DATE m_dt;
    DateTimeStatus m_status;

private:
    bool SetFromSystemTime(const SYSTEMTIME& local);
    int GetField(WORD SYSTEMTIME::*pField) const;
};

#endif
