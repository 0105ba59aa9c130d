#include "DateText.h"

#include <cstdio>
#include <regex>

namespace cli
{
namespace
{
// SYSTEMTIME's own range of years.
const int kFirstYear = 1601;
const int kLastYear = 30827;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Sunday = 0, as SYSTEMTIME counts (Sakamoto's method).
int DayOfWeek(int year, int month, int day)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

int Number(const std::ssub_match& match)
{
    return match.matched ? std::stoi(match.str()) : 0;
}
} // namespace

bool ParseDateText(const std::string& text, SYSTEMTIME& time)
{
    time = SYSTEMTIME();
    if (text.empty())
        return true;
    static const std::regex pattern(R"((\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?)?)");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return false;
    const int year = Number(match[1]), month = Number(match[2]), day = Number(match[3]);
    const int hour = Number(match[4]), minute = Number(match[5]), second = Number(match[6]);
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>(DayOfWeek(year, month, day));
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return true;
}

std::string DateTimeText(const SYSTEMTIME& time)
{
    if (time.wYear == 0)
        return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

std::string DateText(const SYSTEMTIME& time)
{
    const std::string text = DateTimeText(time);
    const std::string midnight = "T00:00:00";
    if (text.size() > midnight.size() && text.compare(text.size() - midnight.size(), midnight.size(), midnight) == 0)
        return text.substr(0, text.size() - midnight.size());
    return text;
}

std::string DayText(const SYSTEMTIME& time)
{
    return DateTimeText(time).substr(0, 10);
}
} // namespace cli
