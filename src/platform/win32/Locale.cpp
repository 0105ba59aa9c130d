// The one locale value the library asks for: the system's default ANSI code page, as decimal text.
#include "platform/platform.h"

#include <string>

int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    if (cchData < 0 || (cchData > 0 && !lpLCData))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((Locale != LOCALE_SYSTEM_DEFAULT && Locale != LOCALE_USER_DEFAULT) || LCType != LOCALE_IDEFAULTANSICODEPAGE)
    {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::string text = std::to_string(GetACP());
    const int cch = static_cast<int>(text.size()) + 1;
    if (cchData == 0)
        return cch;
    if (cchData < cch)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (size_t i = 0; i < text.size(); ++i)
        lpLCData[i] = static_cast<WCHAR>(text[i]);
    lpLCData[text.size()] = 0;
    return cch;
}
