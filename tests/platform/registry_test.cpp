#include "platform/platform.h"

#include "support/ScopedEnvironment.h"
#include "support/TransitionChecks.h"
#include "platform/win32/RegistryHandles.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
const WCHAR kTimeZones[] = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

struct Tzi
{
    LONG Bias;
    LONG StandardBias;
    LONG DaylightBias;
    SYSTEMTIME StandardDate;
    SYSTEMTIME DaylightDate;
};
static_assert(sizeof(Tzi) == 44, "REG_TZI_FORMAT is 44 bytes");

// An open key that is closed at the end of the test.
class Key
{
public:
    Key(HKEY root, const std::u16string& path) { m_result = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &m_key); }
    ~Key()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    LONG Result() const { return m_result; }
    HKEY Get() const { return m_key; }

    std::u16string String(const char16_t* name) const
    {
        WCHAR text[512] = {};
        DWORD size = sizeof(text);
        DWORD type = 0;
        if (RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return u"(missing)";
        return text;
    }

    DWORD Dword(const char16_t* name) const
    {
        DWORD value = 0xDEADBEEF;
        DWORD size = sizeof(value);
        DWORD type = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size));
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
        return value;
    }

    Tzi Rule(const char16_t* name) const
    {
        Tzi tzi{};
        DWORD size = sizeof(tzi);
        DWORD type = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&tzi), &size));
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
        EXPECT_EQ(44u, size);
        return tzi;
    }

private:
    HKEY m_key = nullptr;
    LONG m_result = ERROR_SUCCESS;
};

std::u16string ZonePath(const std::u16string& zone)
{
    return std::u16string(kTimeZones) + u"\\" + zone;
}

std::vector<std::u16string> ZoneKeys()
{
    Key zones(HKEY_LOCAL_MACHINE, kTimeZones);
    std::vector<std::u16string> names;
    WCHAR name[256];
    for (DWORD index = 0; RegEnumKeyW(zones.Get(), index, name, 255) == ERROR_SUCCESS; ++index)
        names.push_back(name);
    return names;
}

// The library's lookup: the subkey whose "Std" equals the machine zone's standard name.
std::u16string MachineZoneKey()
{
    TIME_ZONE_INFORMATION tzi{};
    GetTimeZoneInformation(&tzi);
    for (const std::u16string& name : ZoneKeys())
        if (Key(HKEY_LOCAL_MACHINE, ZonePath(name)).String(u"Std") == tzi.StandardName)
            return name;
    return u"(none)";
}

size_t OpenKeys()
{
    return mapipim::win32::RegistryHandles::Instance().OpenCount();
}
} // namespace

TEST(RegistryTimeZones, EnumeratesEveryWindowsZoneInOrder)
{
    const std::vector<std::u16string> names = ZoneKeys();
    EXPECT_GT(names.size(), 100u);
    for (const char16_t* expected :
         {u"Tokyo Standard Time", u"W. Europe Standard Time", u"Pacific Standard Time", u"India Standard Time", u"UTC"})
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), expected));

    Key zones(HKEY_LOCAL_MACHINE, kTimeZones);
    WCHAR name[256];
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyW(zones.Get(), static_cast<DWORD>(names.size()), name, 255));
    WCHAR small[4];
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyW(zones.Get(), 0, small, 4));
}

TEST(RegistryTimeZones, EveryZoneHasStdFittingTheZoneNameAndA44ByteTzi)
{
    for (const std::u16string& name : ZoneKeys())
    {
        Key zone(HKEY_LOCAL_MACHINE, ZonePath(name));
        ASSERT_EQ(ERROR_SUCCESS, zone.Result());
        const std::u16string std = zone.String(u"Std");
        EXPECT_EQ(name, std);
        EXPECT_LT(std.size(), 32u);
        const Tzi tzi = zone.Rule(u"TZI");
        EXPECT_EQ(tzi.DaylightDate.wMonth == 0, tzi.StandardDate.wMonth == 0);
    }
}

TEST(RegistryTimeZones, KnownZoneRules)
{
    const Tzi tokyo = Key(HKEY_LOCAL_MACHINE, ZonePath(u"Tokyo Standard Time")).Rule(u"TZI");
    EXPECT_EQ(-540, tokyo.Bias);
    EXPECT_EQ(0, tokyo.DaylightDate.wMonth);
    EXPECT_EQ(0, tokyo.StandardDate.wMonth);

    EXPECT_EQ(-330, Key(HKEY_LOCAL_MACHINE, ZonePath(u"India Standard Time")).Rule(u"TZI").Bias);

    const Tzi europe = Key(HKEY_LOCAL_MACHINE, ZonePath(u"W. Europe Standard Time")).Rule(u"TZI");
    EXPECT_EQ(-60, europe.Bias);
    EXPECT_EQ(0, europe.StandardBias);
    EXPECT_EQ(-60, europe.DaylightBias);
    ExpectTransition(europe.DaylightDate, 3, 0, 5, 2);
    ExpectTransition(europe.StandardDate, 10, 0, 5, 3);

    const Tzi pacific = Key(HKEY_LOCAL_MACHINE, ZonePath(u"Pacific Standard Time")).Rule(u"TZI");
    EXPECT_EQ(480, pacific.Bias);
    EXPECT_EQ(-60, pacific.DaylightBias);
    ExpectTransition(pacific.DaylightDate, 3, 0, 2, 2);
    ExpectTransition(pacific.StandardDate, 11, 0, 1, 2);

    const Tzi sydney = Key(HKEY_LOCAL_MACHINE, ZonePath(u"AUS Eastern Standard Time")).Rule(u"TZI");
    EXPECT_EQ(-600, sydney.Bias);
    ExpectTransition(sydney.DaylightDate, 10, 0, 1, 2);
    ExpectTransition(sydney.StandardDate, 4, 0, 1, 3);
}

TEST(RegistryTimeZones, DynamicDstOfPacificHoldsThe2006Rule)
{
    Key dynamic(HKEY_LOCAL_MACHINE, ZonePath(u"Pacific Standard Time\\Dynamic DST"));
    ASSERT_EQ(ERROR_SUCCESS, dynamic.Result());
    EXPECT_EQ(2006u, dynamic.Dword(u"FirstEntry"));
    EXPECT_EQ(2007u, dynamic.Dword(u"LastEntry"));
    const Tzi rule2006 = dynamic.Rule(u"2006");
    EXPECT_EQ(480, rule2006.Bias);
    ExpectTransition(rule2006.DaylightDate, 4, 0, 1, 2);  // first Sunday of April
    ExpectTransition(rule2006.StandardDate, 10, 0, 5, 2); // last Sunday of October
    const Tzi rule2007 = dynamic.Rule(u"2007");
    ExpectTransition(rule2007.DaylightDate, 3, 0, 2, 2);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(dynamic.Get(), u"2005", nullptr, nullptr, nullptr, nullptr));
}

TEST(RegistryTimeZones, DynamicDstFollowsAbolishedDaylightTime)
{
    // Brazil ended daylight time in February 2019 and has not begun it since.
    Key dynamic(HKEY_LOCAL_MACHINE, ZonePath(u"E. South America Standard Time\\Dynamic DST"));
    ASSERT_EQ(ERROR_SUCCESS, dynamic.Result());
    EXPECT_LE(dynamic.Dword(u"FirstEntry"), 2018u);
    EXPECT_EQ(2020u, dynamic.Dword(u"LastEntry"));
    const Tzi rule2019 = dynamic.Rule(u"2019");
    EXPECT_EQ(180, rule2019.Bias);
    ExpectTransition(rule2019.DaylightDate, 1, 2, 1, 0); // the year begins in daylight time (a Tuesday)
    ExpectTransition(rule2019.StandardDate, 2, 0, 3, 0); // third Sunday of February, midnight
    const Tzi rule2020 = dynamic.Rule(u"2020");
    EXPECT_EQ(0, rule2020.DaylightDate.wMonth);
    EXPECT_EQ(-60, rule2020.DaylightBias);
}

TEST(RegistryTimeZones, DynamicDstWritesMovesOfTheStandardOffsetAsDaylightTime)
{
    // Moscow moved from UTC+3 (with summer time) to UTC+4 in March 2011 and back to UTC+3 in October 2014.
    Key dynamic(HKEY_LOCAL_MACHINE, ZonePath(u"Russian Standard Time\\Dynamic DST"));
    ASSERT_EQ(ERROR_SUCCESS, dynamic.Result());
    const Tzi rule2011 = dynamic.Rule(u"2011");
    EXPECT_EQ(-180, rule2011.Bias);
    EXPECT_EQ(-60, rule2011.DaylightBias);
    ExpectTransition(rule2011.DaylightDate, 3, 0, 5, 2);       // last Sunday of March
    ExpectTransition(rule2011.StandardDate, 12, 6, 5, 23, 59); // to the end of the year
    EXPECT_EQ(-240, dynamic.Rule(u"2012").Bias);
    const Tzi rule2014 = dynamic.Rule(u"2014");
    EXPECT_EQ(-180, rule2014.Bias);
    ExpectTransition(rule2014.DaylightDate, 1, 3, 1, 0);  // from the start of the year
    ExpectTransition(rule2014.StandardDate, 10, 0, 5, 2); // to 26 October 02:00
}

TEST(RegistryTimeZones, ZoneWithUnchangedRuleHasNoDynamicDst)
{
    Key dynamic(HKEY_LOCAL_MACHINE, ZonePath(u"W. Europe Standard Time\\Dynamic DST"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, dynamic.Result());
    EXPECT_EQ(nullptr, dynamic.Get());
    Key zone(HKEY_LOCAL_MACHINE, ZonePath(u"W. Europe Standard Time"));
    WCHAR name[64];
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyW(zone.Get(), 0, name, 64));
}

TEST(RegistryTimeZones, MachineZoneKeyIsFoundByItsStandardName)
{
    {
        ScopedTz tz("Europe/Berlin");
        EXPECT_EQ(u"W. Europe Standard Time", MachineZoneKey());
    }
    {
        ScopedTz tz("Asia/Kolkata");
        EXPECT_EQ(u"India Standard Time", MachineZoneKey());
    }
    {
        ScopedTz tz("America/Los_Angeles");
        EXPECT_EQ(u"Pacific Standard Time", MachineZoneKey());
    }
}

TEST(RegistryValues, NamesAreCaseInsensitive)
{
    Key zone(HKEY_LOCAL_MACHINE, u"software\\MICROSOFT\\windows nt\\currentversion\\TIME ZONES\\tokyo standard time");
    ASSERT_EQ(ERROR_SUCCESS, zone.Result());
    EXPECT_EQ(u"Tokyo Standard Time", zone.String(u"STD"));
    EXPECT_EQ(u"Tokyo Daylight Time", zone.String(u"dlt"));
    EXPECT_NE(std::u16string::npos, zone.String(u"Display").find(u"(UTC+09:00)"));
}

TEST(RegistryValues, SizeQueriesAndShortBuffers)
{
    Key zone(HKEY_LOCAL_MACHINE, ZonePath(u"Tokyo Standard Time"));
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(zone.Get(), u"Std", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ((std::char_traits<char16_t>::length(u"Tokyo Standard Time") + 1) * 2, size);

    BYTE small[8];
    size = sizeof(small);
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(zone.Get(), u"Std", nullptr, nullptr, small, &size));
    EXPECT_EQ(40u, size);

    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(zone.Get(), u"TZI", nullptr, &type, nullptr, &size));
    EXPECT_EQ(44u, size);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(zone.Get(), u"Std", nullptr, nullptr, small, nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(zone.Get(), u"NoSuchValue", nullptr, nullptr, nullptr, &size));
}

TEST(RegistryKeys, MissingKeysAndWriteAccess)
{
    Key missing(HKEY_LOCAL_MACHINE, ZonePath(u"Atlantis Standard Time"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, missing.Result());
    EXPECT_EQ(nullptr, missing.Get());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Key(HKEY_CURRENT_USER, u"Software\\Nothing").Result());

    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTimeZones, 0, KEY_ALL_ACCESS, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTimeZones, 0, KEY_READ, nullptr));
}

TEST(RegistryKeys, HandlesAreClosedOnceAndRootsNeedNoClosing)
{
    const size_t before = OpenKeys();
    HKEY zones = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTimeZones, 0, KEY_READ, &zones));
    HKEY tokyo = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(zones, u"Tokyo Standard Time", 0, KEY_READ, &tokyo));
    EXPECT_EQ(before + 2, OpenKeys());
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(zones));
    // A subkey stays usable after its parent is closed, as on Windows.
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(tokyo, u"Std", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(tokyo));
    EXPECT_EQ(before, OpenKeys());

    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(tokyo));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExW(tokyo, u"Std", nullptr, nullptr, nullptr, &size));
    WCHAR name[8];
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegEnumKeyW(tokyo, 0, name, 8));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
}

TEST(RegistryInternational, FirstDayOfWeekFromTheLocale)
{
    ScopedEnv unset("MAPIPIM_FIRST_DAY", nullptr);
    const icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("de_DE"), status);
    EXPECT_EQ(u"0", Key(HKEY_CURRENT_USER, u"Control Panel\\International").String(u"iFirstDayOfWeek"));
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    EXPECT_EQ(u"6", Key(HKEY_CURRENT_USER, u"Control Panel\\International").String(u"iFirstDayOfWeek"));
    icu::Locale::setDefault(icu::Locale("ar_EG"), status);
    EXPECT_EQ(u"5", Key(HKEY_CURRENT_USER, u"Control Panel\\International").String(u"iFirstDayOfWeek"));
    icu::Locale::setDefault(previous, status);
}

TEST(RegistryInternational, FirstDayOfWeekOverriddenByEnvironment)
{
    Key international(HKEY_CURRENT_USER, u"Control Panel\\International");
    {
        ScopedEnv overridden("MAPIPIM_FIRST_DAY", "3");
        // The library reads it into four bytes: one digit and its terminator.
        WCHAR digit[2] = {};
        DWORD size = sizeof(digit);
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(international.Get(), u"iFirstDayOfWeek", nullptr, nullptr,
                                                  reinterpret_cast<BYTE*>(digit), &size));
        EXPECT_EQ(4u, size);
        EXPECT_EQ(u'3', digit[0]);
    }
    {
        ScopedEnv empty("MAPIPIM_FIRST_DAY", "");
        EXPECT_EQ(u"(missing)", international.String(u"iFirstDayOfWeek"));
    }
}
