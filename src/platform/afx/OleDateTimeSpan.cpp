#include "platform/afx/OleDate.h"

namespace
{
// The longest span between two OLE dates, in days.
constexpr double kMaxDaysInSpan = 3615897.0;
constexpr double kHalfSecond = 1.0 / (2.0 * 86400.0);

// The span rounded to the nearest second, then truncated to whole units of the given size.
double WholeUnits(double span, double unitsPerDay)
{
    return static_cast<double>(static_cast<long long>((span + (span < 0 ? -kHalfSecond : kHalfSecond)) * unitsPerDay));
}

COleDateTimeSpan::DateTimeSpanStatus CombinedStatus(const COleDateTimeSpan& left, const COleDateTimeSpan& right)
{
    if (left.GetStatus() == COleDateTimeSpan::null || right.GetStatus() == COleDateTimeSpan::null)
        return COleDateTimeSpan::null;
    if (left.GetStatus() == COleDateTimeSpan::invalid || right.GetStatus() == COleDateTimeSpan::invalid)
        return COleDateTimeSpan::invalid;
    return COleDateTimeSpan::valid;
}
} // namespace

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid)
{
    CheckRange();
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + nHours / 24.0 + nMins / (24.0 * 60.0) + nSecs / (24.0 * 60.0 * 60.0);
    m_status = valid;
    CheckRange();
}

COleDateTimeSpan& COleDateTimeSpan::operator=(double dblSpanSrc)
{
    m_span = dblSpanSrc;
    m_status = valid;
    CheckRange();
    return *this;
}

double COleDateTimeSpan::GetTotalDays() const
{
    return WholeUnits(m_span, 1.0);
}

double COleDateTimeSpan::GetTotalHours() const
{
    return WholeUnits(m_span, 24.0);
}

double COleDateTimeSpan::GetTotalMinutes() const
{
    return WholeUnits(m_span, 24.0 * 60.0);
}

double COleDateTimeSpan::GetTotalSeconds() const
{
    return WholeUnits(m_span, 24.0 * 60.0 * 60.0);
}

LONG COleDateTimeSpan::GetDays() const
{
    return static_cast<LONG>(GetTotalDays());
}

LONG COleDateTimeSpan::GetHours() const
{
    return static_cast<LONG>(static_cast<long long>(GetTotalHours()) % 24);
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return static_cast<LONG>(static_cast<long long>(GetTotalMinutes()) % 60);
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return static_cast<LONG>(static_cast<long long>(GetTotalSeconds()) % 60);
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const
{
    if (m_status != other.m_status)
        return false;
    return m_status == valid ? m_span == other.m_span : m_status == null;
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span < other.m_span;
}

bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span <= other.m_span;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan result(m_span + other.m_span);
    if (CombinedStatus(*this, other) != valid)
        result.m_status = CombinedStatus(*this, other);
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    return *this + -other;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

void COleDateTimeSpan::CheckRange()
{
    if (!(m_span >= -kMaxDaysInSpan && m_span <= kMaxDaysInSpan))
        m_status = invalid;
}
