// The check of a time-zone rule's transition date, as TIME_ZONE_INFORMATION and the registry's TZI values hold it.
#pragma once

#include "platform/platform.h"

#include <gtest/gtest.h>

// The transition form: the week-th (5 = last) weekday dayOfWeek of month, at hour:minute; no year.
inline void ExpectTransition(const SYSTEMTIME& date, WORD month, WORD dayOfWeek, WORD week, WORD hour, WORD minute = 0)
{
    EXPECT_EQ(0, date.wYear);
    EXPECT_EQ(month, date.wMonth);
    EXPECT_EQ(dayOfWeek, date.wDayOfWeek);
    EXPECT_EQ(week, date.wDay);
    EXPECT_EQ(hour, date.wHour);
    EXPECT_EQ(minute, date.wMinute);
}
