#include "items/TimeZoneRegistry.h"

#include "session/Scoped.h"

namespace mapipim
{
namespace
{
const WCHAR kTimeZonesKey[] = _T("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\");
const WCHAR kDynamicDst[] = _T("\\Dynamic DST");
constexpr DWORD kLastRuleYear = 0xFFFF; // a rule's year is 16 bits wide

bool OpenKey(const CString& strPath, ScopedKey& key)
{
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, strPath, 0, KEY_READ, &key.Receive()) == ERROR_SUCCESS;
}

bool ReadTziValue(HKEY hKey, LPCWSTR pszValueName, TziValue& tzi)
{
    BYTE bytes[kTziBytes] = {};
    DWORD cb = sizeof(bytes);
    if (RegQueryValueExW(hKey, pszValueName, NULL, NULL, bytes, &cb) != ERROR_SUCCESS || cb != kTziBytes)
        return false;
    BlobReader reader(bytes, kTziBytes);
    ReadTzi(reader, tzi);
    return true;
}

DWORD ReadDWordValue(HKEY hKey, LPCWSTR pszValueName)
{
    DWORD dwValue = 0;
    DWORD cb = sizeof(dwValue);
    if (RegQueryValueExW(hKey, pszValueName, NULL, NULL, reinterpret_cast<LPBYTE>(&dwValue), &cb) != ERROR_SUCCESS ||
        cb != sizeof(dwValue))
        return 0;
    return dwValue;
}
} // namespace

bool ReadZoneTzi(LPCWSTR pszKeyName, TziValue& tzi)
{
    ScopedKey key;
    if (!OpenKey(CString(kTimeZonesKey) + pszKeyName, key))
        return false;
    return ReadTziValue(key.Get(), _T("TZI"), tzi);
}

std::vector<YearRule> ReadDynamicRules(LPCWSTR pszKeyName)
{
    std::vector<YearRule> rules;
    ScopedKey key;
    if (!OpenKey(CString(kTimeZonesKey) + pszKeyName + kDynamicDst, key))
        return rules;
    const DWORD dwFirst = ReadDWordValue(key.Get(), _T("FirstEntry"));
    DWORD dwLast = ReadDWordValue(key.Get(), _T("LastEntry"));
    if (dwLast > kLastRuleYear)
        dwLast = kLastRuleYear; // no year past this fits a rule, and a damaged value must not loop for ever
    for (DWORD dwYear = dwFirst; dwYear <= dwLast; ++dwYear)
    {
        CString strYear;
        strYear.Format(_T("%u"), dwYear);
        YearRule rule;
        rule.wYear = static_cast<WORD>(dwYear);
        if (ReadTziValue(key.Get(), strYear, rule.tzi))
            rules.push_back(rule);
    }
    return rules;
}
} // namespace mapipim
