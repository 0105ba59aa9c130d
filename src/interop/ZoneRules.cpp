#include "interop/ZoneRules.h"

#include "interop/ContentLine.h"
#include "interop/InteropText.h"
#include "items/RecurrenceCalendar.h"
#include "items/TimeZoneRegistry.h"

#include <mapipim/MAPIEx.h>

#include <unicode/timezone.h>

#include <cstdio>
#include <cstdlib>

namespace mapipim::interop
{
namespace
{
// Rules before this year start here: older years hold nothing a calendar shows, and readers expand a zone from its
// first observance on.
constexpr int kFirstRuleYear = 1970;

std::string OffsetText(LONG nBiasMinutes)
{
    const LONG nOffset = -nBiasMinutes; // UTC = local + bias
    char text[16]; // "+HHMM" for the registry's zones; room for any bias besides
    snprintf(text, sizeof text, "%c%02ld%02ld", nOffset < 0 ? '-' : '+', std::labs(nOffset) / 60,
             std::labs(nOffset) % 60);
    return text;
}

bool HasDaylightTime(const TziValue& tzi)
{
    return tzi.stStandardDate.wMonth >= 1 && tzi.stStandardDate.wMonth <= 12 && tzi.stDaylightDate.wMonth >= 1 &&
           tzi.stDaylightDate.wMonth <= 12;
}

// The day of a Windows transition in a year: the wDay-th (5 the last) wDayOfWeek of wMonth.
int TransitionDay(const SYSTEMTIME& rule, int nYear)
{
    if (rule.wYear != 0)
        return rule.wDay; // an absolute date
    const int nDays = DaysInMonth(nYear, rule.wMonth);
    const int nFirstWeekday = WeekdayOf(DayNumberOf(CivilDate{nYear, rule.wMonth, 1}));
    int nDay = 1 + (rule.wDayOfWeek + 7 - nFirstWeekday) % 7 + 7 * (rule.wDay - 1);
    while (nDay > nDays)
        nDay -= 7;
    return nDay;
}

std::string ByDay(const SYSTEMTIME& rule)
{
    static const char* const kDays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    if (rule.wYear != 0)
        return "BYMONTHDAY=" + std::to_string(rule.wDay);
    const int nWeek = rule.wDay >= 5 ? -1 : rule.wDay;
    return "BYDAY=" + std::to_string(nWeek) + kDays[rule.wDayOfWeek % 7];
}

void AppendObservance(std::string& out, const char* kind, const SYSTEMTIME& rule, int nYear, int nUntilYear,
                      LONG nFromBias, LONG nToBias)
{
    char start[48]; // room for any 16-bit fields, though a valid rule needs 15 characters
    snprintf(start, sizeof start, "%04d%02u%02dT%02u%02u%02u", nYear, rule.wMonth, TransitionDay(rule, nYear),
             rule.wHour, rule.wMinute, rule.wSecond);
    std::string rrule = "FREQ=YEARLY;BYMONTH=" + std::to_string(rule.wMonth) + ";" + ByDay(rule);
    if (nUntilYear != 0)
        rrule += ";UNTIL=" + std::to_string(nUntilYear) + "1231T235959Z";
    AppendFolded(out, std::string("BEGIN:") + kind);
    AppendFolded(out, std::string("DTSTART:") + start);
    AppendFolded(out, "RRULE:" + rrule);
    AppendFolded(out, "TZOFFSETFROM:" + OffsetText(nFromBias));
    AppendFolded(out, "TZOFFSETTO:" + OffsetText(nToBias));
    AppendFolded(out, std::string("END:") + kind);
}

// The observances of one rule in force from nYear through nLastYear (0: from then on).
void AppendRule(std::string& out, const TziValue& tzi, int nYear, int nLastYear, LONG nPreviousBias)
{
    const LONG nStandard = tzi.nBias + tzi.nStandardBias;
    const LONG nDaylight = tzi.nBias + tzi.nDaylightBias;
    if (!HasDaylightTime(tzi))
    {
        char start[32];
        snprintf(start, sizeof start, "%04d0101T000000", nYear);
        AppendFolded(out, "BEGIN:STANDARD");
        AppendFolded(out, std::string("DTSTART:") + start);
        AppendFolded(out, "TZOFFSETFROM:" + OffsetText(nPreviousBias));
        AppendFolded(out, "TZOFFSETTO:" + OffsetText(nStandard));
        AppendFolded(out, "END:STANDARD");
        return;
    }
    AppendObservance(out, "DAYLIGHT", tzi.stDaylightDate, nYear, nLastYear, nStandard, nDaylight);
    AppendObservance(out, "STANDARD", tzi.stStandardDate, nYear, nLastYear, nDaylight, nStandard);
}

icu::UnicodeString IcuOf(const CString& text)
{
    return icu::UnicodeString::fromUTF8(Utf8Of(text));
}

bool RegistryKnows(const CString& strKey)
{
    TziValue tzi;
    return !strKey.IsEmpty() && ReadZoneTzi(strKey, tzi);
}

CString KeyOfIanaId(std::string_view name)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString key;
    icu::TimeZone::getWindowsID(icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), name.size())), key,
                                status);
    if (U_FAILURE(status) || key.isEmpty())
        return CString();
    std::string utf8;
    key.toUTF8String(utf8);
    return TextOf(utf8);
}
} // namespace

std::string VTimezoneOfKey(const CString& strKey)
{
    TziValue zoneRule;
    if (strKey.IsEmpty() || !ReadZoneTzi(strKey, zoneRule))
        return std::string();
    std::vector<YearRule> years = ReadDynamicRules(strKey);
    if (years.empty())
        years.push_back(YearRule{static_cast<WORD>(kFirstRuleYear), zoneRule});
    std::string out;
    AppendFolded(out, "BEGIN:VTIMEZONE");
    AppendFolded(out, "TZID:" + EscapeText(Utf8Of(strKey)));
    const std::string iana = IanaIdOfKey(strKey);
    if (!iana.empty())
        AppendFolded(out, "X-LIC-LOCATION:" + iana);
    LONG nPreviousBias = years.front().tzi.nBias + years.front().tzi.nStandardBias;
    for (size_t i = 0; i < years.size(); ++i)
    {
        const int nYear = i == 0 && years[i].wYear < kFirstRuleYear ? kFirstRuleYear : years[i].wYear;
        const int nLast = i + 1 < years.size() ? years[i + 1].wYear - 1 : 0;
        if (nLast != 0 && nLast < nYear)
            continue; // a range that ends before the first year written
        AppendRule(out, years[i].tzi, nYear, nLast, nPreviousBias);
        nPreviousBias = years[i].tzi.nBias + years[i].tzi.nStandardBias;
    }
    AppendFolded(out, "END:VTIMEZONE");
    return out;
}

std::string IanaIdOfKey(const CString& strKey)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString iana;
    icu::TimeZone::getIDForWindowsID(IcuOf(strKey), "001", iana, status);
    std::string utf8;
    if (U_SUCCESS(status))
        iana.toUTF8String(utf8);
    return utf8;
}

CString KeyOfTzid(std::string_view tzid, std::string_view location)
{
    const CString strTzid = TextOf(tzid);
    if (RegistryKnows(strTzid))
        return strTzid;
    if (!location.empty())
    {
        const CString strKey = KeyOfIanaId(location);
        if (!strKey.IsEmpty())
            return strKey;
    }
    // An IANA name, bare or behind a vendor's prefix: try each tail that begins after a "/".
    for (size_t from = 0; from < tzid.size();)
    {
        const CString strKey = KeyOfIanaId(tzid.substr(from));
        if (!strKey.IsEmpty())
            return strKey;
        const size_t slash = tzid.find('/', from);
        if (slash == std::string_view::npos)
            break;
        from = slash + 1;
    }
    return CString();
}

CString MachineZoneKey()
{
    CString strKey;
    GetLocalTimeZoneKeyName(strKey);
    return strKey;
}
} // namespace mapipim::interop
