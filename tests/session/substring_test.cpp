// Fields of delimited text: extraction by index and counting.
#include <mapipim/SubString.h>

#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

namespace
{
struct Field
{
    CString text;
    BOOL bResult;
};

Field Extract(LPCWSTR szText, int nIndex, LPCWSTR szSeparators)
{
    Field field = {_T("unchanged"), FALSE};
    field.bResult = GetExtractSubString(field.text, szText, nIndex, szSeparators);
    return field;
}

TEST(GetExtractSubStringTest, FieldsAndEmptyFields)
{
    const LPCWSTR szText = _T("a;b;;c");
    EXPECT_EQ(Extract(szText, 0, _T(";")).text, _T("a"));
    EXPECT_TRUE(Extract(szText, 0, _T(";")).bResult);
    EXPECT_EQ(Extract(szText, 1, _T(";")).text, _T("b"));
    EXPECT_TRUE(Extract(szText, 1, _T(";")).bResult);
    // An empty field counts as found because text of a further field follows.
    EXPECT_EQ(Extract(szText, 2, _T(";")).text, _T(""));
    EXPECT_TRUE(Extract(szText, 2, _T(";")).bResult);
    EXPECT_EQ(Extract(szText, 3, _T(";")).text, _T("c"));
    EXPECT_TRUE(Extract(szText, 3, _T(";")).bResult);
    EXPECT_EQ(Extract(szText, 4, _T(";")).text, _T(""));
    EXPECT_FALSE(Extract(szText, 4, _T(";")).bResult);
}

TEST(GetExtractSubStringTest, NegativeIndexOrEmptyTextLeavesTheResultUntouched)
{
    EXPECT_EQ(Extract(_T("a;b"), -1, _T(";")).text, _T("unchanged"));
    EXPECT_FALSE(Extract(_T("a;b"), -1, _T(";")).bResult);
    EXPECT_EQ(Extract(_T(""), 0, _T(";")).text, _T("unchanged"));
    EXPECT_FALSE(Extract(_T(""), 0, _T(";")).bResult);
    EXPECT_EQ(Extract(nullptr, 0, _T(";")).text, _T("unchanged"));
}

TEST(GetExtractSubStringTest, TrailingAndLeadingSeparators)
{
    EXPECT_EQ(Extract(_T("a;"), 1, _T(";")).text, _T(""));
    EXPECT_FALSE(Extract(_T("a;"), 1, _T(";")).bResult);
    EXPECT_EQ(Extract(_T(";a"), 0, _T(";")).text, _T(""));
    EXPECT_TRUE(Extract(_T(";a"), 0, _T(";")).bResult);
    EXPECT_EQ(Extract(_T(";a"), 1, _T(";")).text, _T("a"));
    EXPECT_FALSE(Extract(_T("a;;;"), 1, _T(";")).bResult); // only separators follow
}

TEST(GetExtractSubStringTest, AnySeparatorOfTheSetSeparates)
{
    EXPECT_EQ(Extract(_T("a,b;c"), 2, _T(",;")).text, _T("c"));
    EXPECT_TRUE(Extract(_T("a,b;c"), 2, _T(",;")).bResult);
    EXPECT_EQ(Extract(_T("a,b;c"), 1, _T(",;")).text, _T("b"));
}

TEST(GetExtractSubStringTest, WhiteSpaceIsKept)
{
    EXPECT_EQ(Extract(_T(" one ; two "), 1, _T(";")).text, _T(" two "));
}

TEST(GetExtractSubStringTest, WithoutSeparatorsTheWholeTextIsFieldZero)
{
    EXPECT_EQ(Extract(_T("a;b"), 0, _T("")).text, _T("a;b"));
    EXPECT_TRUE(Extract(_T("a;b"), 0, _T("")).bResult);
    EXPECT_EQ(Extract(_T("a;b"), 1, _T("")).text, _T(""));
    EXPECT_FALSE(Extract(_T("a;b"), 1, _T("")).bResult);
    EXPECT_EQ(Extract(_T("a;b"), 0, nullptr).text, _T("a;b"));
}

TEST(GetCountSubStringTest, CountsEveryFieldIncludingEmptyOnes)
{
    EXPECT_EQ(GetCountSubString(_T("a;b;;c"), _T(";")), 4);
    EXPECT_EQ(GetCountSubString(_T(";"), _T(";")), 2);
    EXPECT_EQ(GetCountSubString(_T("abc"), _T(";")), 1);
    EXPECT_EQ(GetCountSubString(_T("a;b"), _T("")), 1);
    EXPECT_EQ(GetCountSubString(_T("a,b;c"), _T(",;")), 3);
    EXPECT_EQ(GetCountSubString(_T(""), _T(";")), 0);
    EXPECT_EQ(GetCountSubString(nullptr, _T(";")), 0);
}

TEST(GetCountSubStringTest, EveryCountedFieldCanBeExtracted)
{
    const LPCWSTR szText = _T("x;;y;");
    const int nFields = GetCountSubString(szText, _T(";"));
    ASSERT_EQ(nFields, 4);
    EXPECT_EQ(Extract(szText, nFields - 2, _T(";")).text, _T("y"));
    EXPECT_EQ(Extract(szText, nFields, _T(";")).text, _T("")); // one past the last field
}
} // namespace
