#include "platform/win32/PosixTimeZone.h"

#include <unicode/simpletz.h>

#include <cctype>
#include <optional>

namespace mapipim::win32
{
namespace
{
constexpr int32_t kMillisecondsPerHour = 3'600'000;
constexpr int32_t kMillisecondsPerDay = 24 * kMillisecondsPerHour;
constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// When daylight time begins or ends, in ICU's terms: a weekday of a week (-1 = the last) of a month, or, with
// dayOfWeek 0, a fixed day of the month.
struct RuleDate
{
    int8_t month = 0; // 0-based
    int8_t week = 0;
    int8_t dayOfWeek = 0;
    int32_t time = 2 * kMillisecondsPerHour;
};

class PosixTzReader
{
public:
    explicit PosixTzReader(const std::string& text) : m_text(text) {}

    bool AtEnd() const { return m_at == m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    bool Take(char expected)
    {
        if (Peek() != expected)
            return false;
        ++m_at;
        return true;
    }

    // An abbreviation: three or more letters, or anything between '<' and '>'.
    std::optional<std::string> Name()
    {
        const size_t start = m_at;
        if (Take('<'))
        {
            while (!AtEnd() && Peek() != '>')
                ++m_at;
            if (!Take('>') || m_at - start < 5)
                return std::nullopt;
            return m_text.substr(start + 1, m_at - start - 2);
        }
        while (std::isalpha(static_cast<unsigned char>(Peek())))
            ++m_at;
        if (m_at - start < 3)
            return std::nullopt;
        return m_text.substr(start, m_at - start);
    }

    // [+-]hh[:mm[:ss]] in milliseconds.
    std::optional<int32_t> Time()
    {
        const bool negative = Peek() == '-';
        if (negative || Peek() == '+')
            ++m_at;
        int32_t total = 0;
        int32_t unit = kMillisecondsPerHour;
        for (int part = 0; part < 3 && (part == 0 || Take(':')); ++part, unit /= 60)
        {
            const std::optional<int> value = Number();
            if (!value || *value > (part == 0 ? 167 : 59))
                return std::nullopt;
            total += *value * unit;
        }
        return negative ? -total : total;
    }

    std::optional<RuleDate> Date()
    {
        RuleDate date;
        if (Take('M'))
        {
            const std::optional<int> month = Number();
            const std::optional<int> week = Take('.') ? Number() : std::nullopt;
            const std::optional<int> weekday = Take('.') ? Number() : std::nullopt;
            if (!month || !week || !weekday || *month < 1 || *month > 12 || *week < 1 || *week > 5 || *weekday > 6)
                return std::nullopt;
            date.month = static_cast<int8_t>(*month - 1);
            date.week = static_cast<int8_t>(*week == 5 ? -1 : *week);
            date.dayOfWeek = static_cast<int8_t>(*weekday + 1);
        }
        else
        {
            // Jn counts 1-365 without February 29th; a bare n counts 0-365 and is taken the same way.
            const bool julian = Take('J');
            const std::optional<int> number = Number();
            if (!number || *number > 365)
                return std::nullopt;
            const int dayOfYear = julian ? *number - 1 : *number;
            int month = 0;
            while (month < 11 && dayOfYear >= kDaysBeforeMonth[month + 1])
                ++month;
            date.month = static_cast<int8_t>(month);
            date.week = static_cast<int8_t>(dayOfYear - kDaysBeforeMonth[month] + 1);
        }
        if (Take('/'))
        {
            const std::optional<int32_t> time = Time();
            if (!time || *time < 0 || *time > kMillisecondsPerDay)
                return std::nullopt;
            date.time = *time;
        }
        return date;
    }

private:
    std::optional<int> Number()
    {
        const size_t start = m_at;
        int value = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek())) && m_at - start < 4)
            value = value * 10 + (m_text[m_at++] - '0');
        return m_at > start ? std::optional<int>(value) : std::nullopt;
    }

    const std::string& m_text;
    size_t m_at = 0;
};

std::u16string Utf16(const std::string& text)
{
    return std::u16string(text.begin(), text.end()); // abbreviations are ASCII
}
} // namespace

// std offset [dst [offset] [,start[/time],end[/time]]]; offsets count west of Greenwich, so CET-1 is UTC+1.
std::optional<PosixTimeZone> ParsePosixTimeZone(const std::string& rule)
{
    PosixTzReader reader(rule);
    const std::optional<std::string> standardName = reader.Name();
    const std::optional<int32_t> standardWest = standardName ? reader.Time() : std::nullopt;
    if (!standardWest)
        return std::nullopt;
    const icu::UnicodeString id = icu::UnicodeString::fromUTF8(rule);
    if (reader.AtEnd())
        return PosixTimeZone{std::make_unique<icu::SimpleTimeZone>(-*standardWest, id), Utf16(*standardName),
                             Utf16(*standardName)};

    const std::optional<std::string> daylightName = reader.Name();
    if (!daylightName)
        return std::nullopt;
    int32_t daylightWest = *standardWest - kMillisecondsPerHour;
    if (!reader.AtEnd() && reader.Peek() != ',')
    {
        const std::optional<int32_t> offset = reader.Time();
        if (!offset)
            return std::nullopt;
        daylightWest = *offset;
    }
    // Without dates the C library falls back to the United States' rule.
    std::optional<RuleDate> start = RuleDate{2, 2, 1};
    std::optional<RuleDate> end = RuleDate{10, 1, 1};
    if (reader.Take(','))
    {
        start = reader.Date();
        end = reader.Take(',') ? reader.Date() : std::nullopt;
    }
    if (!start || !end || !reader.AtEnd() || daylightWest == *standardWest)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    auto zone = std::make_unique<icu::SimpleTimeZone>(
        -*standardWest, id, start->month, start->week, start->dayOfWeek, start->time, icu::SimpleTimeZone::WALL_TIME,
        end->month, end->week, end->dayOfWeek, end->time, icu::SimpleTimeZone::WALL_TIME, *standardWest - daylightWest,
        status);
    if (U_FAILURE(status))
        return std::nullopt;
    return PosixTimeZone{std::move(zone), Utf16(*standardName), Utf16(*daylightName)};
}
} // namespace mapipim::win32
