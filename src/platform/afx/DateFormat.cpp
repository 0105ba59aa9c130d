#include "platform/afx/DateFormat.h"

#include <cstring>

namespace mapipim
{
namespace
{
const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void AppendAscii(WideString& out, const char* pszText, size_t nLength)
{
    for (size_t i = 0; i < nLength && pszText[i] != 0; ++i)
        out.push_back(static_cast<WCHAR>(pszText[i]));
}

void AppendName(WideString& out, const char* pszName, bool bAbbreviated)
{
    AppendAscii(out, pszName, bAbbreviated ? 3 : std::strlen(pszName));
}

void AppendNumber(WideString& out, int nValue, int nDigits, bool bNoPadding)
{
    WCHAR digits[12];
    int nCount = 0;
    do
    {
        digits[nCount++] = static_cast<WCHAR>('0' + nValue % 10);
        nValue /= 10;
    } while (nValue > 0 && nCount < 12);
    for (int i = nCount; !bNoPadding && i < nDigits; ++i)
        out.push_back('0');
    while (nCount > 0)
        out.push_back(digits[--nCount]);
}

// Week of the year, weeks starting on nFirstDay (0 Sunday, 1 Monday); days before the first such day are week 0.
int WeekOfYear(const oledate::Fields& fields, int nFirstDay)
{
    const int nDaysSinceWeekStart = (fields.nDayOfWeek - nFirstDay + 7) % 7;
    return (fields.nDayOfYear - 1 + 7 - nDaysSinceWeekStart) / 7;
}

// Writes the expansion of one code; false for a code this formatter does not know.
bool AppendCode(WideString& out, WCHAR code, bool bAlternate, const oledate::Fields& fields)
{
    const int nHour12 = fields.nHour % 12 == 0 ? 12 : fields.nHour % 12;
    switch (code)
    {
    case 'a':
    case 'A':
        AppendName(out, kDayNames[fields.nDayOfWeek], code == 'a');
        return true;
    case 'b':
    case 'B':
        AppendName(out, kMonthNames[fields.nMonth - 1], code == 'b');
        return true;
    case 'c':
        AppendDateFormatted(out, bAlternate ? _T("%A, %B %#d, %Y %H:%M:%S") : _T("%m/%d/%y %H:%M:%S"), fields);
        return true;
    case 'x':
        AppendDateFormatted(out, bAlternate ? _T("%A, %B %#d, %Y") : _T("%m/%d/%y"), fields);
        return true;
    case 'X':
        AppendDateFormatted(out, _T("%H:%M:%S"), fields);
        return true;
    case 'd':
        AppendNumber(out, fields.nDay, 2, bAlternate);
        return true;
    case 'H':
        AppendNumber(out, fields.nHour, 2, bAlternate);
        return true;
    case 'I':
        AppendNumber(out, nHour12, 2, bAlternate);
        return true;
    case 'j':
        AppendNumber(out, fields.nDayOfYear, 3, bAlternate);
        return true;
    case 'm':
        AppendNumber(out, fields.nMonth, 2, bAlternate);
        return true;
    case 'M':
        AppendNumber(out, fields.nMinute, 2, bAlternate);
        return true;
    case 'S':
        AppendNumber(out, fields.nSecond, 2, bAlternate);
        return true;
    case 'p':
        AppendAscii(out, fields.nHour < 12 ? "AM" : "PM", 2);
        return true;
    case 'U':
    case 'W':
        AppendNumber(out, WeekOfYear(fields, code == 'U' ? 0 : 1), 2, bAlternate);
        return true;
    case 'w':
        AppendNumber(out, fields.nDayOfWeek, 1, bAlternate);
        return true;
    case 'y':
        AppendNumber(out, fields.nYear % 100, 2, bAlternate);
        return true;
    case 'Y':
        AppendNumber(out, fields.nYear, 1, bAlternate);
        return true;
    case '%':
        out.push_back('%');
        return true;
    default:
        return false;
    }
}
} // namespace

void AppendDateFormatted(WideString& out, LPCWSTR pszFormat, const oledate::Fields& fields)
{
    for (const WCHAR* p = pszFormat; p != nullptr && *p != 0; ++p)
    {
        if (*p != '%' || p[1] == 0)
        {
            out.push_back(*p);
            continue;
        }
        const WCHAR* pCode = p + 1;
        const bool bAlternate = *pCode == '#' && pCode[1] != 0;
        if (bAlternate)
            ++pCode;
        if (!AppendCode(out, *pCode, bAlternate, fields))
            out.append(p, pCode + 1);
        p = pCode;
    }
}
} // namespace mapipim
