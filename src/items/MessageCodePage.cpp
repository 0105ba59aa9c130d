#include "items/MessageCodePage.h"

#include <mapipim/MAPIItem.h>

namespace mapipim
{
bool IsUsableCodePage(UINT nCodePage)
{
    WCHAR probe = 0;
    return nCodePage != 0 && MultiByteToWideChar(nCodePage, 0, "a", 1, &probe, 1) == 1;
}

UINT GetInternetCodePage(CMAPIItem& item)
{
    const LONG nCodePage = item.GetPropertyLong(PR_INTERNET_CPID, 0);
    return nCodePage > 0 && IsUsableCodePage(static_cast<UINT>(nCodePage)) ? static_cast<UINT>(nCodePage) : 0;
}

UINT GetMessageCodePage(CMAPIItem& item)
{
    const UINT nCodePage = GetInternetCodePage(item);
    return nCodePage ? nCodePage : CP_ACP;
}

bool CanHoldText(LPCWSTR szText, int cchText, UINT nCodePage)
{
    if (cchText <= 0)
        return true;
    const UINT nResolved = nCodePage == CP_ACP ? GetACP() : nCodePage;
    if (nResolved == CP_UTF8)
        return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, szText, cchText, nullptr, 0, nullptr, nullptr) > 0;
    BOOL bUsedDefault = FALSE;
    const int cb = WideCharToMultiByte(nResolved, WC_NO_BEST_FIT_CHARS, szText, cchText, nullptr, 0, nullptr,
                                       &bUsedDefault);
    return cb > 0 && !bUsedDefault;
}
} // namespace mapipim
