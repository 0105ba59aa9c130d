#include "items/EmailAddressList.h"

namespace mapipim
{
namespace
{
void TrimSeparators(CString& strText)
{
    strText.TrimLeft(_T(','));
    strText.TrimRight(_T(','));
    strText.TrimLeft(_T(';'));
    strText.TrimRight(_T(';'));
}

bool HoldsAddress(const CString& strElement)
{
    return strElement.Find(_T('@')) >= 0 || strElement.Find(_T('>')) >= 0;
}
} // namespace

void ParseEmailAddress(const CString& strText, CString& strName, CString& strEmail)
{
    strName.Empty();
    strEmail.Empty();
    const int nLt = strText.Find(_T('<'));
    const int nGt = strText.Find(_T('>'));
    if (nLt < 0 || nLt >= nGt)
    {
        if (strText.Find(_T('@')) > 0)
            strEmail = strText;
        else
            strName = strText;
    }
    else
    {
        strName = strText.Left(nLt);
        strEmail = strText.Mid(nLt + 1, nGt - nLt - 1);
    }
    TrimSeparators(strName);
    TrimSeparators(strEmail);
}

CString FormatEmailAddress(const CString& strName, const CString& strEmail)
{
    if (strName.IsEmpty() || strName == strEmail)
        return strEmail;
    CString strText;
    strText.Format(_T("%s<%s>"), static_cast<LPCWSTR>(strName), static_cast<LPCWSTR>(strEmail));
    return strText;
}

std::vector<CString> SplitRecipientList(const CString& strList)
{
    std::vector<CString> elements;
    if (strList.IsEmpty())
        return elements;
    CString strElement;
    bool bQuoted = false;
    int nAngle = 0;
    for (int i = 0; i < strList.GetLength(); ++i)
    {
        const WCHAR ch = strList[i];
        if (ch == _T('"'))
            bQuoted = !bQuoted;
        else if (!bQuoted && ch == _T('<'))
            ++nAngle;
        else if (!bQuoted && ch == _T('>') && nAngle > 0)
            --nAngle;
        const bool bOutside = !bQuoted && nAngle == 0;
        if (bOutside && (ch == _T(';') || (ch == _T(',') && HoldsAddress(strElement))))
        {
            elements.push_back(strElement);
            strElement.Empty();
            continue;
        }
        // The blanks that follow a separator ("a@x, b@y") belong to neither address.
        if (strElement.IsEmpty() && (ch == _T(' ') || ch == _T('\t')) && !elements.empty())
            continue;
        strElement += ch;
    }
    elements.push_back(strElement);
    return elements;
}
} // namespace mapipim
