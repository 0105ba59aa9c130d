#include "platform/afx/DateFormat.h"
#include "platform/afx/LocalClock.h"
#include "platform/afx/OleDate.h"

#include <ctime>

namespace
{
using mapipim::oledate::Fields;

// The result of arithmetic on continuous values: invalid outside the years an OLE date covers.
COleDateTime DateFromContinuous(double value)
{
    COleDateTime result(mapipim::oledate::FromContinuous(value));
    Fields fields;
    if (!mapipim::oledate::Split(result.m_dt, fields))
        result.SetStatus(COleDateTime::invalid);
    return result;
}
} // namespace

COleDateTime COleDateTime::GetCurrentTime()
{
    return COleDateTime(std::time(nullptr));
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    *this = systimeSrc;
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc)
{
    *this = filetimeSrc;
}

COleDateTime::COleDateTime(time_t timeSrc)
{
    *this = timeSrc;
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = valid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc)
{
    SetFromSystemTime(systimeSrc);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc)
{
    SYSTEMTIME local;
    if (!mapipim::LocalTimeFromFileTime(filetimeSrc, local) || !SetFromSystemTime(local))
        m_status = invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(time_t timeSrc)
{
    SYSTEMTIME local;
    if (!mapipim::LocalTimeFromTimeT(timeSrc, local) || !SetFromSystemTime(local))
        m_status = invalid;
    return *this;
}

bool COleDateTime::SetFromSystemTime(const SYSTEMTIME& local)
{
    return SetDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond) == valid;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    m_dt = 0;
    m_status = mapipim::oledate::Join(nYear, nMonth, nDay, nHour, nMin, nSec, m_dt) ? valid : invalid;
    return m_status;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay)
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec)
{
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    Fields fields;
    if (m_status != valid || !mapipim::oledate::Split(m_dt, fields))
        return false;
    sysTime.wYear = static_cast<WORD>(fields.nYear);
    sysTime.wMonth = static_cast<WORD>(fields.nMonth);
    sysTime.wDayOfWeek = static_cast<WORD>(fields.nDayOfWeek);
    sysTime.wDay = static_cast<WORD>(fields.nDay);
    sysTime.wHour = static_cast<WORD>(fields.nHour);
    sysTime.wMinute = static_cast<WORD>(fields.nMinute);
    sysTime.wSecond = static_cast<WORD>(fields.nSecond);
    sysTime.wMilliseconds = 0;
    return true;
}

int COleDateTime::GetField(WORD SYSTEMTIME::*pField) const
{
    SYSTEMTIME st;
    return GetAsSystemTime(st) ? static_cast<int>(st.*pField) : static_cast<int>(error);
}

int COleDateTime::GetYear() const
{
    return GetField(&SYSTEMTIME::wYear);
}

int COleDateTime::GetMonth() const
{
    return GetField(&SYSTEMTIME::wMonth);
}

int COleDateTime::GetDay() const
{
    return GetField(&SYSTEMTIME::wDay);
}

int COleDateTime::GetHour() const
{
    return GetField(&SYSTEMTIME::wHour);
}

int COleDateTime::GetMinute() const
{
    return GetField(&SYSTEMTIME::wMinute);
}

int COleDateTime::GetSecond() const
{
    return GetField(&SYSTEMTIME::wSecond);
}

int COleDateTime::GetDayOfWeek() const
{
    const int nDayOfWeek = GetField(&SYSTEMTIME::wDayOfWeek);
    return nDayOfWeek == error ? error : nDayOfWeek + 1;
}

int COleDateTime::GetDayOfYear() const
{
    Fields fields;
    return m_status == valid && mapipim::oledate::Split(m_dt, fields) ? fields.nDayOfYear : static_cast<int>(error);
}

CString COleDateTime::Format(LPCWSTR pszFormat) const
{
    if (m_status == null)
        return CString();
    Fields fields;
    if (m_status != valid || !mapipim::oledate::Split(m_dt, fields))
        return CString(_T("Invalid DateTime"));
    mapipim::WideString text;
    mapipim::AppendDateFormatted(text, pszFormat, fields);
    return CString(text.data(), static_cast<int>(text.size()));
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    if (m_status != date.m_status)
        return false;
    return m_status == valid ? m_dt == date.m_dt : m_status == null;
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid &&
           mapipim::oledate::ToContinuous(m_dt) < mapipim::oledate::ToContinuous(date.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid &&
           mapipim::oledate::ToContinuous(m_dt) <= mapipim::oledate::ToContinuous(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTime result = DateFromContinuous(mapipim::oledate::ToContinuous(m_dt) + dateSpan.m_span);
    if (m_status != valid || dateSpan.GetStatus() != COleDateTimeSpan::valid)
        result.m_status = dateSpan.GetStatus() == COleDateTimeSpan::null || m_status == null ? null : invalid;
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const
{
    return *this + -dateSpan;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan result(mapipim::oledate::ToContinuous(m_dt) - mapipim::oledate::ToContinuous(date.m_dt));
    if (m_status != valid || date.m_status != valid)
        result.SetStatus(m_status == null || date.m_status == null ? COleDateTimeSpan::null
                                                                   : COleDateTimeSpan::invalid);
    return result;
}
