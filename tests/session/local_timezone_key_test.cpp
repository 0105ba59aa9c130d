// GetLocalTimeZoneKeyName and the key name every CMAPIEx publishes for the host.
#include <mapipim/MAPIEx.h>

#include "support/AfxPrinters.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

TEST(GetLocalTimeZoneKeyName, FindsTheKeyWhoseStdTextIsTheMachineZonesStandardName)
{
    struct Case
    {
        const char* tz;
        LPCWSTR key;
    };
    const Case cases[] = {{"Europe/Berlin", _T("W. Europe Standard Time")},
                          {"America/Los_Angeles", _T("Pacific Standard Time")},
                          {"Asia/Tokyo", _T("Tokyo Standard Time")},
                          {"Australia/Sydney", _T("AUS Eastern Standard Time")}};
    for (const Case& c : cases)
    {
        ScopedTz tz(c.tz);
        CString strName = _T("previous");
        EXPECT_EQ(GetLocalTimeZoneKeyName(strName), 1) << c.tz;
        EXPECT_EQ(strName, CString(c.key)) << c.tz;
    }
}

TEST(GetLocalTimeZoneKeyName, ConstructorPublishesTheKeyName)
{
    ScopedTz tz("America/Los_Angeles");
    CMAPIEx mapi;
    EXPECT_EQ(CMAPIEx::m_strTMKeyName, CString(_T("Pacific Standard Time")));
    {
        ScopedTz berlin("Europe/Berlin");
        CMAPIEx another;
        EXPECT_EQ(CMAPIEx::m_strTMKeyName, CString(_T("W. Europe Standard Time")));
    }
}

TEST(GetLocalTimeZoneKeyName, ZoneWithoutAKeyGivesZeroAndEmptyName)
{
    // A POSIX rule names its zone by abbreviations that no Windows zone uses as its "Std" text.
    ScopedTz tz("XST-3XDT,M3.5.0,M10.5.0/3");
    CString strName = _T("previous");
    EXPECT_EQ(GetLocalTimeZoneKeyName(strName), 0);
    EXPECT_TRUE(strName.IsEmpty());
}
