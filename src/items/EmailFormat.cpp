#include "items/EmailFormat.h"

namespace mapipim
{
int FormFromTransportHeaders(const CString& strHeaders, int nFallback)
{
    CString strLower = strHeaders;
    strLower.MakeLower();
    if (strLower.Find(_T("text/plain")) >= 0)
        return kFormText;
    if (strLower.Find(_T("text/html")) >= 0)
        return kFormHTML;
    return nFallback;
}
} // namespace mapipim
