// Names stored with attachments come from senders: saved into a directory, a name must stay one file in it.
#include "items/AttachmentFileName.h"
#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

using mapipim::GetFileNamePart;
using mapipim::GetSafeAttachmentFileName;

namespace
{
TEST(AttachmentFileName, FileNamePartSplitsAtEitherSeparator)
{
    EXPECT_EQ(CString(_T("x.txt")), GetFileNamePart(_T("C:\\dir\\x.txt")));
    EXPECT_EQ(CString(_T("x.txt")), GetFileNamePart(_T("/home/u/x.txt")));
    EXPECT_EQ(CString(_T("c")), GetFileNamePart(_T("a/b\\c")));
    EXPECT_EQ(CString(_T("plain")), GetFileNamePart(_T("plain")));
    EXPECT_EQ(CString(), GetFileNamePart(_T("dir/")));
    EXPECT_EQ(CString(), GetFileNamePart(nullptr));
}

TEST(AttachmentFileName, OnlyTheLastComponentSurvives)
{
    EXPECT_EQ(CString(_T("x.exe")), GetSafeAttachmentFileName(_T("..\\..\\startup\\x.exe")));
    EXPECT_EQ(CString(_T("x")), GetSafeAttachmentFileName(_T("/etc/x")));
    EXPECT_EQ(CString(_T("x")), GetSafeAttachmentFileName(_T("C:\\x")));
    EXPECT_EQ(CString(_T("passwd")), GetSafeAttachmentFileName(_T("../../etc/passwd")));
}

TEST(AttachmentFileName, NothingUsableBecomesTheDefaultName)
{
    for (LPCWSTR szName : {_T(""), _T("."), _T(".."), _T("..."), _T(". ."), _T("dir\\"), _T("a/.."), _T("..\\")})
        EXPECT_EQ(CString(_T("Attachment.dat")), GetSafeAttachmentFileName(szName)) << CString(szName).ToUtf8();
    EXPECT_EQ(CString(_T("Attachment.dat")), GetSafeAttachmentFileName(nullptr));
}

TEST(AttachmentFileName, RefusedCharactersBecomeUnderscores)
{
    EXPECT_EQ(CString(_T("C_x")), GetSafeAttachmentFileName(_T("C:x")));
    EXPECT_EQ(CString(_T("a_b_c_d_e_f_g")), GetSafeAttachmentFileName(_T("a*b?c\"d<e>f|g")));
    EXPECT_EQ(CString(_T("tab_new_line_")), GetSafeAttachmentFileName(_T("tab\tnew\nline\x7F")));
    EXPECT_EQ(CString(_T("report.final.pdf")), GetSafeAttachmentFileName(_T("report.final.pdf")));
    EXPECT_EQ(CString(_T("\uBCF4\uACE0\uC11C.hwp")), GetSafeAttachmentFileName(_T("\uBCF4\uACE0\uC11C.hwp")));
}

TEST(AttachmentFileName, TrailingDotsAndBlanksAndDeviceNames)
{
    EXPECT_EQ(CString(_T("notes")), GetSafeAttachmentFileName(_T("notes. . ")));
    EXPECT_EQ(CString(_T(".profile")), GetSafeAttachmentFileName(_T(".profile")));
    EXPECT_EQ(CString(_T("_con")), GetSafeAttachmentFileName(_T("con")));
    EXPECT_EQ(CString(_T("_nul.txt")), GetSafeAttachmentFileName(_T("nul.txt")));
    EXPECT_EQ(CString(_T("_COM1 .log")), GetSafeAttachmentFileName(_T("COM1 .log")));
    EXPECT_EQ(CString(_T("console.txt")), GetSafeAttachmentFileName(_T("console.txt")));
}
} // namespace
