// The machine zone's key name as Windows serves it: the system names the key, the registry holds its definition,
// and the standard name is localised, so that only the system's own answer finds the key in every language.
#include <mapipim/MAPIEx.h>

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const wchar_t szTimeZones[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";

std::wstring SystemKeyName()
{
    DYNAMIC_TIME_ZONE_INFORMATION dtzi = {};
    if (GetDynamicTimeZoneInformation(&dtzi) == TIME_ZONE_ID_INVALID)
        return std::wstring();
    return dtzi.TimeZoneKeyName;
}

// The "Std" text and the 44-byte "TZI" rule of one zone key.
struct ZoneKey
{
    bool bFound = false;
    std::wstring strStd;
    LONG nBias = 0;
};

ZoneKey ReadZoneKey(const std::wstring& strKeyName)
{
    ZoneKey zone;
    HKEY hKey = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (szTimeZones + strKeyName).c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return zone;
    wchar_t szStd[256] = {};
    DWORD cbStd = sizeof(szStd) - sizeof(wchar_t);
    BYTE tzi[44] = {};
    DWORD cbTzi = sizeof(tzi);
    zone.bFound = RegQueryValueExW(hKey, L"Std", NULL, NULL, reinterpret_cast<BYTE*>(szStd), &cbStd) == ERROR_SUCCESS &&
                  RegQueryValueExW(hKey, L"TZI", NULL, NULL, tzi, &cbTzi) == ERROR_SUCCESS && cbTzi == sizeof(tzi);
    RegCloseKey(hKey);
    zone.strStd = szStd;
    std::memcpy(&zone.nBias, tzi, sizeof(zone.nBias));
    return zone;
}

// Whether any zone key's "Std" text equals the given standard name: the search the library falls back to.
bool AnyStdTextEquals(const std::wstring& strStandardName)
{
    HKEY hZones = NULL;
    std::wstring strZones(szTimeZones);
    strZones.pop_back();
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, strZones.c_str(), 0, KEY_READ, &hZones) != ERROR_SUCCESS)
        return false;
    bool bFound = false;
    wchar_t szKeyName[256] = {};
    for (DWORD i = 0; !bFound && RegEnumKeyW(hZones, i, szKeyName, 256) == ERROR_SUCCESS; ++i)
    {
        const ZoneKey zone = ReadZoneKey(szKeyName);
        bFound = zone.bFound && !zone.strStd.empty() && zone.strStd == strStandardName;
    }
    RegCloseKey(hZones);
    return bFound;
}
} // namespace

TEST(LocalZone, KeyNameIsTheOneTheSystemGives)
{
    const std::wstring strSystemKey = SystemKeyName();
    ASSERT_FALSE(strSystemKey.empty());
    CString strName = _T("previous");
    EXPECT_EQ(GetLocalTimeZoneKeyName(strName), 1);
    EXPECT_EQ(Wide(strName), strSystemKey);
}

TEST(LocalZone, KeyNameNamesARegistryKeyWithTheMachinesBias)
{
    CString strName;
    ASSERT_EQ(GetLocalTimeZoneKeyName(strName), 1);
    const ZoneKey zone = ReadZoneKey(Wide(strName));
    ASSERT_TRUE(zone.bFound) << Narrow(strName);
    TIME_ZONE_INFORMATION tzi = {};
    ASSERT_NE(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(zone.nBias, tzi.Bias);
}

TEST(LocalZone, EverySessionPublishesTheKeyName)
{
    CMAPIEx mapi;
    EXPECT_EQ(Wide(CMAPIEx::m_strTMKeyName), SystemKeyName());
}

// The case the system's answer is there for: in German and Japanese the standard name is no "Std" text at all.
TEST(LocalZoneInLocale, StandardNameMatchesNoStdTextOutsideEnglish)
{
    const std::string strLocale = ExpectedLocale();
    if (strLocale.rfind("en", 0) == 0 || strLocale.empty())
        GTEST_SKIP() << "the English names are the keys' own";
    TIME_ZONE_INFORMATION tzi = {};
    ASSERT_NE(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_INVALID);
    EXPECT_FALSE(AnyStdTextEquals(tzi.StandardName));
    CString strName;
    EXPECT_EQ(GetLocalTimeZoneKeyName(strName), 1);
    EXPECT_FALSE(strName.IsEmpty());
}

TEST(LocalZoneInLocale, TheRunIsInTheLocaleItNames)
{
    const std::string strLocale = ExpectedLocale();
    ASSERT_FALSE(strLocale.empty());
    wchar_t szName[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(GetUserDefaultLocaleName(szName, LOCALE_NAME_MAX_LENGTH), 0);
    // "de_DE.UTF-8" is "de-DE" to Windows.
    EXPECT_EQ(Narrow(CString(szName)).substr(0, 5), strLocale.substr(0, 2) + "-" + strLocale.substr(3, 2));
}
