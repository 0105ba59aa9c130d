// 8-bit MAPI text in the system's ANSI code page, which Windows takes from the locale: Japanese (932), Cyrillic
// (1251) and Western (1252) text widen to the same characters as the code page defines them.
#include <mapipim/MAPIEx.h>

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct CodePageCase
{
    const char* szLanguage; // the start of LC_ALL
    UINT nCodePage;
    const char* szAnsi;
    const wchar_t* szWide;
};

const CodePageCase cases[] = {{"ja", 932, "\x82\xA0\x93\xFA\x96\x7B 5", L"\u3042\u65E5\u672C 5"},
                              {"ru", 1251, "\xCF\xF0\xE8\xE2\xE5\xF2 5", L"\u041F\u0440\u0438\u0432\u0435\u0442 5"},
                              {"de", 1252,
                               "\x80 Gr\xFC\xDF"
                               "e",
                               L"\u20AC Gr\u00FC\u00DFe"},
                              {"en", 1252, "\x80 5", L"\u20AC 5"}};

const CodePageCase* CaseOfThisRun()
{
    const std::string strLocale = ExpectedLocale();
    for (const CodePageCase& c : cases)
        if (strLocale.rfind(c.szLanguage, 0) == 0)
            return &c;
    return nullptr;
}
} // namespace

TEST(CodePageInLocale, TheLocaleSetsTheAnsiCodePage)
{
    const CodePageCase* pCase = CaseOfThisRun();
    ASSERT_NE(pCase, nullptr) << ExpectedLocale();
    EXPECT_EQ(GetACP(), pCase->nCodePage);
}

TEST(CodePageInLocale, EightBitTextWidensInTheAnsiCodePage)
{
    const CodePageCase* pCase = CaseOfThisRun();
    ASSERT_NE(pCase, nullptr) << ExpectedLocale();
    CString strValue = _T("previous");
    std::string strAnsi(pCase->szAnsi);
    CMAPIEx::GetUnicodeString(strValue, &strAnsi[0]);
    EXPECT_EQ(Wide(strValue), pCase->szWide);

    SPropValue prop = {};
    prop.ulPropTag = PR_SUBJECT_A;
    prop.Value.lpszA = &strAnsi[0];
    strValue = _T("previous");
    CMAPIEx::GetValidStringA(prop, strValue);
    EXPECT_EQ(Wide(strValue), pCase->szWide);
}
