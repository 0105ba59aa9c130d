// Address texts of the e-mail record: one address split into name and address, formatted back, recipient lists
// split into elements (names with commas kept whole), the message state table and the format of transport headers.
#include "items/EmailAddressList.h"
#include "items/EmailFormat.h"
#include "items/EmailMessageState.h"
#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using mapipim::ParseEmailAddress;
using mapipim::SplitRecipientList;

struct Parsed
{
    CString strName;
    CString strEmail;
};

Parsed Parse(LPCWSTR szText)
{
    Parsed parsed;
    parsed.strName = _T("stale");
    parsed.strEmail = _T("stale");
    ParseEmailAddress(szText, parsed.strName, parsed.strEmail);
    return parsed;
}

std::vector<CString> Split(LPCWSTR szList)
{
    return SplitRecipientList(szList);
}

TEST(ParseEmailAddressTest, NameInFrontOfAnAddressInAngleBracketsKeepsItsBlank)
{
    const Parsed parsed = Parse(_T("Maria Lopez <maria@example.com>"));
    EXPECT_EQ(parsed.strName, _T("Maria Lopez "));
    EXPECT_EQ(parsed.strEmail, _T("maria@example.com"));
}

TEST(ParseEmailAddressTest, BareTextIsAnAddressOnlyWithAnAtSignAfterItsFirstCharacter)
{
    EXPECT_EQ(Parse(_T("maria@example.com")).strEmail, _T("maria@example.com"));
    EXPECT_EQ(Parse(_T("maria@example.com")).strName, _T(""));
    EXPECT_EQ(Parse(_T("Just A Name")).strName, _T("Just A Name"));
    EXPECT_EQ(Parse(_T("Just A Name")).strEmail, _T(""));
    EXPECT_EQ(Parse(_T("@example.com")).strName, _T("@example.com"));
    EXPECT_EQ(Parse(_T("")).strEmail, _T(""));
}

TEST(ParseEmailAddressTest, BracketsInTheWrongOrderAreNoAddressPart)
{
    const Parsed parsed = Parse(_T("a>b<c@d"));
    EXPECT_EQ(parsed.strEmail, _T("a>b<c@d"));
    EXPECT_EQ(parsed.strName, _T(""));
    EXPECT_EQ(Parse(_T("Name <a@b")).strEmail, _T("Name <a@b"));
}

TEST(ParseEmailAddressTest, SeparatorsAtEitherEndAreTrimmedButBlanksAreNot)
{
    const Parsed parsed = Parse(_T(",;Name;<,a@b;>"));
    EXPECT_EQ(parsed.strName, _T("Name"));
    EXPECT_EQ(parsed.strEmail, _T("a@b"));
    EXPECT_EQ(Parse(_T(" a@b, ")).strEmail, _T(" a@b, "));
}

TEST(FormatEmailAddressTest, NameAndAddressOrTheBareAddress)
{
    EXPECT_EQ(mapipim::FormatEmailAddress(_T("Maria"), _T("m@x")), _T("Maria<m@x>"));
    EXPECT_EQ(mapipim::FormatEmailAddress(_T(""), _T("m@x")), _T("m@x"));
    EXPECT_EQ(mapipim::FormatEmailAddress(_T("m@x"), _T("m@x")), _T("m@x"));
    EXPECT_EQ(mapipim::FormatEmailAddress(_T("M@X"), _T("m@x")), _T("M@X<m@x>"));
}

TEST(SplitRecipientListTest, SemicolonsAlwaysSeparate)
{
    EXPECT_EQ(Split(_T("a@x;b@y;;c")), (std::vector<CString>{_T("a@x"), _T("b@y"), _T(""), _T("c")}));
    EXPECT_TRUE(Split(_T("")).empty());
    EXPECT_EQ(Split(_T(" lead@x; \tnext@y")), (std::vector<CString>{_T(" lead@x"), _T("next@y")}));
}

TEST(SplitRecipientListTest, ACommaSeparatesOnlyAfterAnAddress)
{
    EXPECT_EQ(Split(_T("a@x, b@y")), (std::vector<CString>{_T("a@x"), _T("b@y")}));
    EXPECT_EQ(Split(_T("Lopez, Maria <maria@example.com>")),
              (std::vector<CString>{_T("Lopez, Maria <maria@example.com>")}));
    EXPECT_EQ(Split(_T("A <a@x>, Lopez, Maria <m@e>")), (std::vector<CString>{_T("A <a@x>"), _T("Lopez, Maria <m@e>")}));
    EXPECT_EQ(Split(_T("Lopez, Maria<maria@example.com>;Ng, Al<al@x>")),
              (std::vector<CString>{_T("Lopez, Maria<maria@example.com>"), _T("Ng, Al<al@x>")}));
}

TEST(SplitRecipientListTest, NothingSeparatesInsideQuotesOrAngleBrackets)
{
    EXPECT_EQ(Split(_T("\"Lopez, Maria\" <maria@example.com>")),
              (std::vector<CString>{_T("\"Lopez, Maria\" <maria@example.com>")}));
    EXPECT_EQ(Split(_T("\"a@x; b\" <c@d>, e@f")), (std::vector<CString>{_T("\"a@x; b\" <c@d>"), _T("e@f")}));
    EXPECT_EQ(Split(_T("Odd <a;b@x>")), (std::vector<CString>{_T("Odd <a;b@x>")}));
}

TEST(SplitRecipientListTest, WhatReadingJoinsSplitsBackIntoTheSameElements)
{
    const std::vector<CString> elements = {_T("Lopez, Maria<maria@example.com>"), _T("plain@example.com"),
                                           _T("\"Ng, Al\"<al@example.com>"), _T("Zoë, Ünal<z@example.com>")};
    CString strJoined;
    for (const CString& strElement : elements)
    {
        if (!strJoined.IsEmpty())
            strJoined += _T(";");
        strJoined += strElement;
    }
    EXPECT_EQ(Split(strJoined), elements);
}

TEST(EmailStateTest, EveryStateWritesItsRowOfTheTable)
{
    using mapipim::EmailStateToMAPI;
    struct Row
    {
        int nMsgState, bRead;
        LONG lFlags, lIcon;
        int bReadAfter;
    } const rows[] = {
        {1, 0, MSGFLAG_READ, 0x105, 1},      {2, 0, MSGFLAG_READ, 0x106, 1},  {3, 0, MSGFLAG_READ, -1, 1},
        {4, 1, 0x0C, -1, 0},                 {5, 1, MSGFLAG_UNSENT, -1, 1},   {5, 0, MSGFLAG_UNSENT, -1, 0},
        {0, 1, MSGFLAG_READ, 0x100, 1},      {9, 1, MSGFLAG_READ, 0x100, 1},  {0, 0, 0x00010002, 0x101, 0},
        {-3, 7, 0x00010002, 0x101, 7},
    };
    for (const Row& row : rows)
    {
        const mapipim::EmailStateForm form = EmailStateToMAPI(row.nMsgState, row.bRead);
        EXPECT_EQ(form.lFlags, row.lFlags) << row.nMsgState << "/" << row.bRead;
        EXPECT_EQ(form.lIcon, row.lIcon) << row.nMsgState << "/" << row.bRead;
        EXPECT_EQ(form.bRead, row.bReadAfter) << row.nMsgState << "/" << row.bRead;
    }
}

TEST(EmailStateTest, FlagsAndIconReadAsTheirState)
{
    using mapipim::EmailStateFromMAPI;
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_SUBMIT | MSGFLAG_UNSENT | MSGFLAG_READ, 0x105), 4);
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_UNSENT, 0x105), 5);
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_READ, -1), 3);
    EXPECT_EQ(EmailStateFromMAPI(0, -1), 0);
    EXPECT_EQ(EmailStateFromMAPI(0, 0x105), 1);
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_READ, 0x106), 2);
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_READ, 0x101), 0);
    EXPECT_EQ(EmailStateFromMAPI(MSGFLAG_READ, 0x100), 0);
}

TEST(EmailFormTest, TransportHeadersNameTheFormatInAnyLetterCase)
{
    EXPECT_EQ(mapipim::FormFromTransportHeaders(_T("Content-Type: TEXT/Plain; charset=utf-8"), 2), 1);
    EXPECT_EQ(mapipim::FormFromTransportHeaders(_T("content-type: Text/HTML"), 7), 2);
    EXPECT_EQ(mapipim::FormFromTransportHeaders(_T("Content-Type: multipart/alternative; a=text/plain"), 2), 1);
    EXPECT_EQ(mapipim::FormFromTransportHeaders(_T("Subject: none"), 2), 2);
}
} // namespace
