// Local time to UTC and back: through the machine's zone with its daylight-saving rules, or by an explicit zone's
// bias alone.
#include <mapipim/TimeConversion.h>
#include <mapipim/MAPITimeZone.h>

namespace
{
enum class Direction
{
    ToUtc,
    ToLocal
};

const WORD kInvalidField = 0xFFFF;

// UTC = local + bias: a span of the bias's hours and minutes, each truncated toward zero (-330 gives -5 h -30 min).
COleDateTime ShiftByBias(const COleDateTime& dt, LONG nBias, Direction direction)
{
    const COleDateTimeSpan bias(0, static_cast<int>(nBias / 60), static_cast<int>(nBias % 60), 0);
    return direction == Direction::ToUtc ? dt + bias : dt - bias;
}

// The machine's conversion, daylight saving included. Windows converts no time before 1601; there, and wherever
// else it declines, the machine's standard bias is the best offset known.
COleDateTime ConvertInMachineZone(const COleDateTime& dt, Direction direction)
{
    SYSTEMTIME tmIn = {};
    SYSTEMTIME tmOut = {};
    dt.GetAsSystemTime(tmIn);
    const BOOL bConverted = direction == Direction::ToUtc ? TzSpecificLocalTimeToSystemTime(NULL, &tmIn, &tmOut)
                                                          : SystemTimeToTzSpecificLocalTime(NULL, &tmIn, &tmOut);
    if (bConverted)
        return COleDateTime(tmOut);
    TIME_ZONE_INFORMATION tzi = {};
    GetTimeZoneInformation(&tzi);
    return ShiftByBias(dt, tzi.Bias, direction);
}

COleDateTime Convert(const SYSTEMTIME& tmIn, const CMAPITimeZone* pTimeZone, Direction direction)
{
    const COleDateTime dt(tmIn); // milliseconds and the day of the week play no part
    if (dt.GetStatus() != COleDateTime::valid)
        return dt;
    return pTimeZone ? ShiftByBias(dt, pTimeZone->nBias, direction) : ConvertInMachineZone(dt, direction);
}

// Every field the conversion writes except the milliseconds, whose rule differs between the two directions.
void StoreConverted(const COleDateTime& dt, SYSTEMTIME& tmOut)
{
    if (dt.GetStatus() != COleDateTime::valid)
    {
        tmOut.wYear = tmOut.wMonth = tmOut.wDay = kInvalidField;
        tmOut.wHour = tmOut.wMinute = tmOut.wSecond = kInvalidField;
        tmOut.wDayOfWeek = kInvalidField;
        return;
    }
    tmOut.wYear = static_cast<WORD>(dt.GetYear());
    tmOut.wMonth = static_cast<WORD>(dt.GetMonth());
    tmOut.wDay = static_cast<WORD>(dt.GetDay());
    tmOut.wHour = static_cast<WORD>(dt.GetHour());
    tmOut.wMinute = static_cast<WORD>(dt.GetMinute());
    tmOut.wSecond = static_cast<WORD>(dt.GetSecond());
    tmOut.wDayOfWeek = static_cast<WORD>(dt.GetDayOfWeek() - 1);
}
} // namespace

void GetLocalTimeToSystemTime(SYSTEMTIME& tmLocal, SYSTEMTIME& tmUTC, CMAPITimeZone* pTimeZone)
{
    const WORD wMilliseconds = tmLocal.wMilliseconds; // read first: both references may name one structure
    StoreConverted(Convert(tmLocal, pTimeZone, Direction::ToUtc), tmUTC);
    tmUTC.wMilliseconds = wMilliseconds;
}

void GetSystemTimeToLocalTime(SYSTEMTIME& tmUTC, SYSTEMTIME& tmLocal, CMAPITimeZone* pTimeZone)
{
    StoreConverted(Convert(tmUTC, pTimeZone, Direction::ToLocal), tmLocal);
}
