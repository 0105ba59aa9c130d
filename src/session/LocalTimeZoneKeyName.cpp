// GetLocalTimeZoneKeyName: which key under the registry's Time Zones names the machine's zone. The system names
// the key itself where it can. Otherwise the key is found by its "Std" text, which matches the zone's standard name
// only where neither is localised or an indirect resource string: on most systems set to another language than
// English it matches nothing, which is why the system's own answer comes first.
#include <mapipim/MAPIEx.h>

#include "platform/platform.h"
#include "session/Scoped.h"

using mapipim::ScopedKey;

namespace
{
const WCHAR szTimeZonesKey[] = _T("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
const DWORD cchKeyName = 255;
const DWORD cbStandardName = 1024;
const int nMaxZoneName = sizeof(TIME_ZONE_INFORMATION::StandardName) / sizeof(WCHAR);

// The length of a text that may fill its array without a terminator.
int BoundedLength(const WCHAR* pszText, int nMax)
{
    int nLength = 0;
    while (nLength < nMax && pszText[nLength])
        ++nLength;
    return nLength;
}

// The "Std" text of one zone key, or empty text when it has none.
CString ReadStandardName(HKEY hZones, LPCWSTR szKeyName)
{
    ScopedKey zone;
    if (RegOpenKeyExW(hZones, szKeyName, 0, KEY_READ, &zone.Receive()) != ERROR_SUCCESS)
        return CString();
    // One character more than the value may fill, so that a value stored without terminator still ends.
    WCHAR szStandardName[cbStandardName / sizeof(WCHAR) + 1] = {};
    DWORD dwType = 0;
    DWORD cbData = cbStandardName;
    if (RegQueryValueExW(zone.Get(), _T("Std"), NULL, &dwType, reinterpret_cast<LPBYTE>(szStandardName), &cbData) !=
            ERROR_SUCCESS ||
        dwType != REG_SZ)
        return CString();
    return CString(szStandardName);
}

// The key name the system gives with the zone; empty where it gives none.
CString SystemKeyName()
{
    DYNAMIC_TIME_ZONE_INFORMATION dtzi = {};
    if (GetDynamicTimeZoneInformation(&dtzi) == TIME_ZONE_ID_INVALID)
        return CString();
    const int nMaxKeyName = sizeof(dtzi.TimeZoneKeyName) / sizeof(WCHAR);
    return CString(dtzi.TimeZoneKeyName, BoundedLength(dtzi.TimeZoneKeyName, nMaxKeyName));
}
} // namespace

int GetLocalTimeZoneKeyName(CString& strName)
{
    strName = SystemKeyName();
    if (!strName.IsEmpty())
        return 1;
    TIME_ZONE_INFORMATION tzi = {};
    GetTimeZoneInformation(&tzi);
    const CString strMachineZone(tzi.StandardName, BoundedLength(tzi.StandardName, nMaxZoneName));

    ScopedKey zones;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, szTimeZonesKey, 0, KEY_READ, &zones.Receive()) != ERROR_SUCCESS)
        return 0;
    WCHAR szKeyName[cchKeyName + 1] = {};
    for (DWORD dwIndex = 0; RegEnumKeyW(zones.Get(), dwIndex, szKeyName, cchKeyName) == ERROR_SUCCESS; ++dwIndex)
    {
        const CString strStandardName = ReadStandardName(zones.Get(), szKeyName);
        if (!strStandardName.IsEmpty() && strStandardName.Compare(strMachineZone) == 0)
        {
            strName = szKeyName;
            return 1;
        }
    }
    return 0;
}
