#include "platform/afx/OleDate.h"

#include <cmath>

namespace mapipim
{
namespace oledate
{
namespace
{
// 1899-12-30, the OLE epoch, counted from 1970-01-01.
constexpr long long kEpochFromUnix = -25569;
constexpr int kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long nYear, int nMonth, int nDay)
{
    nYear -= nMonth <= 2;
    const long long nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
    const long long nYearOfEra = nYear - nEra * 400;
    const long long nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    const long long nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

void CivilFromDays(long long nDays, Fields& fields)
{
    nDays += 719468;
    const long long nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const long long nDayOfEra = nDays - nEra * 146097;
    const long long nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const long long nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const long long nShiftedMonth = (5 * nDayOfYear + 2) / 153;
    fields.nDay = static_cast<int>(nDayOfYear - (153 * nShiftedMonth + 2) / 5 + 1);
    fields.nMonth = static_cast<int>(nShiftedMonth < 10 ? nShiftedMonth + 3 : nShiftedMonth - 9);
    fields.nYear = static_cast<int>(nYearOfEra + nEra * 400 + (fields.nMonth <= 2));
}
} // namespace

double ToContinuous(double date)
{
    if (date >= 0)
        return date;
    const double whole = std::ceil(date);
    return whole - (date - whole);
}

double FromContinuous(double value)
{
    if (value >= 0)
        return value;
    const double whole = std::floor(value);
    return whole + (whole - value);
}

bool IsLeapYear(int nYear)
{
    return nYear % 4 == 0 && (nYear % 100 != 0 || nYear % 400 == 0);
}

int DaysInMonth(int nYear, int nMonth)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return kDays[nMonth - 1] + (nMonth == 2 && IsLeapYear(nYear) ? 1 : 0);
}

bool Split(double date, Fields& fields)
{
    const double value = ToContinuous(date);
    if (!(value >= kFirstDay && value < kLastDay + 1))
        return false;
    long long nDays = static_cast<long long>(std::floor(value));
    long long nSeconds = std::llround((value - static_cast<double>(nDays)) * kSecondsPerDay);
    if (nSeconds >= kSecondsPerDay)
    {
        ++nDays;
        nSeconds -= kSecondsPerDay;
    }
    if (nDays > static_cast<long long>(kLastDay))
        return false;
    const long long nUnixDays = nDays + kEpochFromUnix;
    CivilFromDays(nUnixDays, fields);
    fields.nHour = static_cast<int>(nSeconds / 3600);
    fields.nMinute = static_cast<int>(nSeconds / 60 % 60);
    fields.nSecond = static_cast<int>(nSeconds % 60);
    fields.nDayOfWeek = static_cast<int>(((nUnixDays % 7) + 7 + 4) % 7); // 1970-01-01 was a Thursday
    fields.nDayOfYear = static_cast<int>(nUnixDays - DaysFromCivil(fields.nYear, 1, 1) + 1);
    return true;
}

bool Join(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, double& date)
{
    if (nYear < 100 || nYear > 9999 || nDay < 1 || nDay > DaysInMonth(nYear, nMonth))
        return false;
    if (nHour < 0 || nHour > 23 || nMinute < 0 || nMinute > 59 || nSecond < 0 || nSecond > 59)
        return false;
    const double days = static_cast<double>(DaysFromCivil(nYear, nMonth, nDay) - kEpochFromUnix);
    const double time = (nHour * 3600.0 + nMinute * 60.0 + nSecond) / kSecondsPerDay;
    date = days >= 0 ? days + time : days - time;
    return true;
}
} // namespace oledate
} // namespace mapipim
