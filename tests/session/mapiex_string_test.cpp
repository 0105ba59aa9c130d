// The string helpers of CMAPIEx: how MAPI string values become CString text in Unicode and ANSI-only mode.
#include <mapipim/MAPIEx.h>

#include "support/AfxPrinters.h"
#include "support/ProcessFlags.h"

#include <gtest/gtest.h>

namespace
{
// Reaches the protected pointer check.
struct StringHelpers : CMAPIEx
{
    using CMAPIEx::ValidateString;
};

SPropValue UnicodeValue(LPCWSTR lpszW)
{
    SPropValue prop = {};
    prop.ulPropTag = PR_SUBJECT_W;
    prop.Value.lpszW = const_cast<LPWSTR>(lpszW);
    return prop;
}

SPropValue AnsiValue(const char* lpszA)
{
    SPropValue prop = {};
    prop.ulPropTag = PR_SUBJECT_A;
    prop.Value.lpszA = const_cast<char*>(lpszA);
    return prop;
}

class MAPIExStringTest : public testing::Test
{
protected:
    ProcessFlagsGuard m_flags;
    CString m_strValue = _T("previous");
};
} // namespace

TEST_F(MAPIExStringTest, ProcessStartsInUnicodeMode)
{
    EXPECT_EQ(static_cast<ULONG>(CMAPIEx::m_nMAPICode), MAPI_UNICODE);
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 0);
}

TEST_F(MAPIExStringTest, UnicodeModeReadsUtf16)
{
    SPropValue prop = UnicodeValue(_T("Gr\u00FC\u00DFe \u4E16\u754C"));
    CMAPIEx::GetValidString(prop, m_strValue);
    EXPECT_EQ(m_strValue, CString(_T("Gr\u00FC\u00DFe \u4E16\u754C")));
}

TEST_F(MAPIExStringTest, AnsiOnlyModeReadsEightBitTextWhateverTheTag)
{
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    // The tag says PT_UNICODE, but the mode alone decides how the value is read.
    SPropValue prop = AnsiValue("Caf\xE9");
    prop.ulPropTag = PR_SUBJECT_W;
    CMAPIEx::GetValidString(prop, m_strValue);
    EXPECT_EQ(m_strValue, CString(_T("Caf\u00E9")));
}

TEST_F(MAPIExStringTest, NullStringPointerGivesEmptyTextInBothModes)
{
    SPropValue prop = UnicodeValue(nullptr);
    CMAPIEx::GetValidString(prop, m_strValue);
    EXPECT_TRUE(m_strValue.IsEmpty());

    ProcessFlagsGuard::EnterAnsiOnlyMode();
    m_strValue = _T("previous");
    CMAPIEx::GetValidString(prop, m_strValue);
    EXPECT_TRUE(m_strValue.IsEmpty());
}

TEST_F(MAPIExStringTest, ErrorValueGivesEmptyTextNotItsCodeAsPointer)
{
    SPropValue prop = {};
    prop.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(PR_SUBJECT_W));
    prop.Value.err = MAPI_E_NOT_FOUND;
    CMAPIEx::GetValidString(prop, m_strValue);
    EXPECT_TRUE(m_strValue.IsEmpty());
    m_strValue = _T("previous");
    CMAPIEx::GetValidStringA(prop, m_strValue);
    EXPECT_TRUE(m_strValue.IsEmpty());
    m_strValue = _T("previous");
    CMAPIEx::GetValidMVString(prop, m_strValue, 0);
    EXPECT_TRUE(m_strValue.IsEmpty());
}

TEST_F(MAPIExStringTest, GetValidStringAReadsEightBitInUnicodeModeToo)
{
    SPropValue prop = AnsiValue("Stra\xDF"
                                "e");
    CMAPIEx::GetValidStringA(prop, m_strValue);
    EXPECT_EQ(m_strValue, CString(_T("Stra\u00DFe")));

    prop.Value.lpszA = nullptr;
    CMAPIEx::GetValidStringA(prop, m_strValue);
    EXPECT_TRUE(m_strValue.IsEmpty());
}

TEST_F(MAPIExStringTest, MultiValuedEntriesByIndexInEitherMode)
{
    LPWSTR wideValues[] = {const_cast<LPWSTR>(_T("Red")), nullptr, const_cast<LPWSTR>(_T("Blue"))};
    SPropValue prop = {};
    prop.ulPropTag = PROP_TAG(PT_MV_UNICODE, 0x8000);
    prop.Value.MVszW.cValues = 3;
    prop.Value.MVszW.lppszW = wideValues;
    CMAPIEx::GetValidMVString(prop, m_strValue, 2);
    EXPECT_EQ(m_strValue, CString(_T("Blue")));
    CMAPIEx::GetValidMVString(prop, m_strValue, 1);
    EXPECT_TRUE(m_strValue.IsEmpty());
    m_strValue = _T("previous");
    CMAPIEx::GetValidMVString(prop, m_strValue, 3);
    EXPECT_TRUE(m_strValue.IsEmpty()) << "an index past the values reads nothing";

    ProcessFlagsGuard::EnterAnsiOnlyMode();
    LPSTR ansiValues[] = {const_cast<LPSTR>("Gr\xFCn"), const_cast<LPSTR>("Gelb")};
    prop.ulPropTag = PROP_TAG(PT_MV_STRING8, 0x8000);
    prop.Value.MVszA.cValues = 2;
    prop.Value.MVszA.lppszA = ansiValues;
    CMAPIEx::GetValidMVString(prop, m_strValue, 0);
    EXPECT_EQ(m_strValue, CString(_T("Gr\u00FCn")));
}

TEST_F(MAPIExStringTest, GetUnicodeStringWidensFromTheAnsiCodePage)
{
    char szText[] = "\x80 5";
    CMAPIEx::GetUnicodeString(m_strValue, szText);
    EXPECT_EQ(m_strValue, CString(_T("\u20AC 5")));

    CMAPIEx::GetUnicodeString(m_strValue, nullptr);
    EXPECT_TRUE(m_strValue.IsEmpty());
    char szEmpty[] = "";
    m_strValue = _T("previous");
    CMAPIEx::GetUnicodeString(m_strValue, szEmpty);
    EXPECT_TRUE(m_strValue.IsEmpty());
}

TEST_F(MAPIExStringTest, ValidateStringPassesReadableTextAndRefusesNull)
{
    LPCWSTR szText = _T("text");
    EXPECT_EQ(StringHelpers::ValidateString(szText), szText);
    EXPECT_EQ(StringHelpers::ValidateString(nullptr), nullptr);
}
