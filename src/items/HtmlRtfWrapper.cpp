#include "items/HtmlRtfWrapper.h"

namespace mapipim
{
namespace
{
void AppendHex(CString& strRtf, unsigned char byte)
{
    static const WCHAR kDigits[] = _T("0123456789abcdef");
    strRtf += _T("\\'");
    strRtf.AppendChar(kDigits[byte >> 4]);
    strRtf.AppendChar(kDigits[byte & 0xF]);
}

void AppendUnicode(CString& strRtf, WCHAR ch)
{
    CString strWord;
    strWord.Format(_T("\\u%d?"), ch > 0x7FFF ? static_cast<int>(ch) - 65536 : static_cast<int>(ch));
    strRtf += strWord;
}

// Characters beyond ASCII: the code page's bytes when it holds the character (a surrogate pair never does).
void AppendEncoded(CString& strRtf, WCHAR ch, UINT nCodePage)
{
    char bytes[8];
    BOOL bUsedDefault = FALSE;
    const bool bSurrogate = ch >= 0xD800 && ch < 0xE000;
    const int cb = bSurrogate ? 0
                              : WideCharToMultiByte(nCodePage, WC_NO_BEST_FIT_CHARS, &ch, 1, bytes, sizeof(bytes),
                                                    nullptr, &bUsedDefault);
    if (cb <= 0 || bUsedDefault)
    {
        AppendUnicode(strRtf, ch);
        return;
    }
    for (int i = 0; i < cb; ++i)
        AppendHex(strRtf, static_cast<unsigned char>(bytes[i]));
}
} // namespace

CString GetWrapperCodePageText()
{
    WCHAR szCodePage[12] = _T("1252");
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, szCodePage, 12);
    return CString(szCodePage);
}

CString WrapHtmlInRtf(LPCWSTR szHtml)
{
    const CString strCodePage = GetWrapperCodePageText();
    UINT nCodePage = 0;
    for (int i = 0; i < strCodePage.GetLength() && strCodePage[i] >= _T('0') && strCodePage[i] <= _T('9'); ++i)
        nCodePage = nCodePage * 10 + (strCodePage[i] - _T('0'));
    CString strRtf;
    strRtf.Format(_T("{\\rtf1\\ansi\\ansicpg%s\\fromhtml1 {\\*\\htmltag1 "), static_cast<LPCWSTR>(strCodePage));
    for (const WCHAR* p = szHtml; *p; ++p)
    {
        const WCHAR ch = *p;
        if (ch == _T('\r') && p[1] == _T('\n'))
        {
            strRtf += _T("\\par ");
            ++p;
        }
        else if (ch == _T('\r') || ch == _T('\n'))
            AppendUnicode(strRtf, ch);
        else if (ch == _T('\\') || ch == _T('{') || ch == _T('}'))
        {
            strRtf.AppendChar(_T('\\'));
            strRtf.AppendChar(ch);
        }
        else if (ch < 0x80)
            strRtf.AppendChar(ch);
        else
            AppendEncoded(strRtf, ch, nCodePage);
    }
    strRtf += _T(" }}");
    return strRtf;
}
} // namespace mapipim
