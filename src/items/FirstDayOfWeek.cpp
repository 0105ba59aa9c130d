// The first day of the week from HKEY_CURRENT_USER\Control Panel\International "iFirstDayOfWeek", a Windows day
// digit counted from Monday = 0.
#include "items/FirstDayOfWeek.h"

#include "platform/platform.h"
#include "session/Scoped.h"

using mapipim::ScopedKey;

int GetFirstDayOfWeek()
{
    ScopedKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, _T("Control Panel\\International"), 0, KEY_READ, &key.Receive()) !=
        ERROR_SUCCESS)
        return 0;
    WCHAR szDigit[2] = {0, 0}; // one digit and its terminator: a longer value is not a day digit
    DWORD cbDigit = sizeof(szDigit);
    if (RegQueryValueExW(key.Get(), _T("iFirstDayOfWeek"), NULL, NULL, reinterpret_cast<LPBYTE>(szDigit), &cbDigit) !=
        ERROR_SUCCESS)
        return 0;
    if (szDigit[0] < _T('0') || szDigit[0] > _T('9'))
        return 0;
    const int nFromSunday = szDigit[0] - _T('0') + 1; // Monday = 0 becomes 1; Sunday = 6 becomes 7, i.e. 0
    return nFromSunday <= 6 ? nFromSunday : 0;
}
