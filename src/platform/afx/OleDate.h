// Calendar arithmetic on the OLE date (DATE: days since 1899-12-30 as a double, time of day in the fraction).
//
// Before 1899-12-30 the encoding is not continuous: the whole part counts days back while the fraction still counts
// time forward, so -1.25 is 1899-12-29 06:00. Arithmetic therefore runs on the continuous value
// (ToContinuous/FromContinuous), as OLE Automation does.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
namespace oledate
{
// The years OLE dates cover: 0100-01-01 to 9999-12-31.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;

struct Fields
{
    int nYear;
    int nMonth;
    int nDay;
    int nHour;
    int nMinute;
    int nSecond;
    int nDayOfWeek; // 0 Sunday ... 6 Saturday
    int nDayOfYear; // 1 ... 366
};

double ToContinuous(double date);
double FromContinuous(double value);
// False unless the date lies within the covered years; the time is rounded to the nearest second.
bool Split(double date, Fields& fields);
// False unless every field is in range (year 100 to 9999, hour 0 to 23 ...).
bool Join(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, double& date);
bool IsLeapYear(int nYear);
int DaysInMonth(int nYear, int nMonth);
} // namespace oledate
} // namespace mapipim
