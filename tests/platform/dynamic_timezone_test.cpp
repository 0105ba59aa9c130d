// GetDynamicTimeZoneInformation: the machine zone as GetTimeZoneInformation gives it, plus the name of its key
// under the registry's Time Zones.
#include "platform/platform.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
bool SameSystemTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return std::memcmp(&a, &b, sizeof(SYSTEMTIME)) == 0;
}

bool KeyExists(const std::u16string& keyName)
{
    const std::u16string path = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\" + keyName;
    HKEY hKey = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}
} // namespace

TEST(GetDynamicTimeZoneInformation, IsTheZoneOfGetTimeZoneInformationWithItsKey)
{
    const struct
    {
        const char* tz;
        const char16_t* key;
    } cases[] = {{"Europe/Berlin", u"W. Europe Standard Time"},
                 {"America/Los_Angeles", u"Pacific Standard Time"},
                 {"Asia/Tokyo", u"Tokyo Standard Time"},
                 {"Australia/Sydney", u"AUS Eastern Standard Time"}};
    for (const auto& c : cases)
    {
        ScopedTz tz(c.tz);
        TIME_ZONE_INFORMATION tzi = {};
        DYNAMIC_TIME_ZONE_INFORMATION dtzi = {};
        const DWORD dwId = GetTimeZoneInformation(&tzi);
        EXPECT_EQ(GetDynamicTimeZoneInformation(&dtzi), dwId) << c.tz;
        EXPECT_EQ(std::u16string(dtzi.TimeZoneKeyName), c.key) << c.tz;
        EXPECT_TRUE(KeyExists(dtzi.TimeZoneKeyName)) << c.tz;
        EXPECT_EQ(dtzi.Bias, tzi.Bias) << c.tz;
        EXPECT_EQ(dtzi.StandardBias, tzi.StandardBias) << c.tz;
        EXPECT_EQ(dtzi.DaylightBias, tzi.DaylightBias) << c.tz;
        EXPECT_TRUE(SameSystemTime(dtzi.StandardDate, tzi.StandardDate)) << c.tz;
        EXPECT_TRUE(SameSystemTime(dtzi.DaylightDate, tzi.DaylightDate)) << c.tz;
        EXPECT_EQ(std::u16string(dtzi.StandardName), std::u16string(tzi.StandardName)) << c.tz;
        EXPECT_EQ(std::u16string(dtzi.DaylightName), std::u16string(tzi.DaylightName)) << c.tz;
        EXPECT_FALSE(dtzi.DynamicDaylightTimeDisabled) << c.tz;
    }
}

TEST(GetDynamicTimeZoneInformation, PosixRuleHasNoKey)
{
    ScopedTz tz("XST-3XDT,M3.5.0,M10.5.0/3");
    DYNAMIC_TIME_ZONE_INFORMATION dtzi = {};
    std::fill(std::begin(dtzi.TimeZoneKeyName), std::end(dtzi.TimeZoneKeyName), u'x');
    EXPECT_NE(GetDynamicTimeZoneInformation(&dtzi), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(std::u16string(dtzi.TimeZoneKeyName), u"");
    EXPECT_EQ(dtzi.Bias, -180);
}

TEST(GetDynamicTimeZoneInformation, NullPointerIsRefused)
{
    EXPECT_EQ(GetDynamicTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
}
