// The plain-text body against the real service: chunked reads and the one write, in a Unicode and an ANSI-only
// store, and a double-byte character across the 2048-byte chunk border.
#include "support/ScopedEnvironment.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

namespace
{
// Text of n characters that differs along its length, so that a lost or repeated chunk shows.
CString LongText(int nLength)
{
    CString strText;
    for (int i = 0; i < nLength; ++i)
        strText.AppendChar(static_cast<WCHAR>(i % 61 == 60 ? _T('\n') : _T('a') + (i * 7 + i / 26) % 26));
    return strText;
}

class BodyTest : public ItemServiceTest, public ::testing::WithParamInterface<bool>
{
protected:
    // A message in the Inbox, or in an ANSI-only store with the process in ANSI-only mode.
    mapisvc::EntryId NewBodyMessage() { return GetParam() ? NewAnsiOnlyMessage() : NewMessage(); }

    CString WriteAndReadBack(const CString& strBody)
    {
        const mapisvc::EntryId id = NewBodyMessage();
        CMAPIItem writer;
        EXPECT_TRUE(OpenItem(writer, id));
        EXPECT_TRUE(writer.SetBody(strBody));
        EXPECT_TRUE(writer.Save(TRUE));
        CMAPIItem reader;
        EXPECT_TRUE(OpenItem(reader, id));
        CString strRead(_T("stale"));
        EXPECT_TRUE(reader.GetBody(strRead));
        return strRead;
    }
};

TEST_P(BodyTest, BodiesAroundTheChunkSizeReadBackExactly)
{
    for (int nLength : {0, 1, 2047, 2048, 2049, 4096, 100000})
    {
        const CString strBody = LongText(nLength);
        EXPECT_EQ(strBody, WriteAndReadBack(strBody)) << nLength << " characters";
    }
}

TEST_P(BodyTest, ReadsInChunksUntilAShortOne)
{
    CMAPIInterface::SetYield(1);
    const mapisvc::EntryId id = NewBodyMessage();
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, id));
    ASSERT_TRUE(item.SetBody(LongText(2048)));
    mapisvc::ClearCallLog();
    CString strBody;
    ASSERT_TRUE(item.GetBody(strBody));
    // 2048 characters fill the first chunk (UTF-16) or exactly one chunk (8-bit, 2048 bytes): an empty read ends.
    EXPECT_EQ(2u, CallsOf("", "Read").size());
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.SetBody(LongText(5000)));
    ASSERT_TRUE(item.GetBody(strBody));
    EXPECT_EQ(3u, CallsOf("", "Read").size());
    EXPECT_EQ(LongText(5000), strBody);

    // No pause owed: the stream moves in one large piece.
    CMAPIInterface::SetYield(0);
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.GetBody(strBody));
    EXPECT_EQ(1u, CallsOf("", "Read").size());
    EXPECT_EQ(LongText(5000), strBody);
}

TEST_P(BodyTest, NonAsciiTextInTheStoreCodePage)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    const CString strBody(_T("Caf\u00E9 \u00FCber \u20AC 5\r\nzweite Zeile"));
    EXPECT_EQ(strBody, WriteAndReadBack(strBody));
}

INSTANTIATE_TEST_SUITE_P(Stores, BodyTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return info.param ? "AnsiOnly" : "Unicode"; });

class AnsiBodyTest : public BodyTest
{
};

// Code page 949 writes each Hangul syllable as two bytes; the byte at 2047 is the lead byte of a syllable whose
// trail byte opens the second chunk.
TEST_P(AnsiBodyTest, DoubleByteCharacterAcrossTheChunkBorderReadsBack)
{
    ScopedEnv acp("MAPIPIM_ACP", "949");
    CString strBody = CString(_T('x'), 2047);
    for (int i = 0; i < 3000; ++i)
        strBody.AppendChar(static_cast<WCHAR>(0xAC00 + i % 400));
    strBody += _T(" end");
    EXPECT_EQ(strBody, WriteAndReadBack(strBody));
}

INSTANTIATE_TEST_SUITE_P(Stores, AnsiBodyTest, ::testing::Values(true),
                         [](const ::testing::TestParamInfo<bool>&) { return "AnsiOnly"; });

class BodyAccessTest : public ItemServiceTest
{
};

TEST_F(BodyAccessTest, ClosedItemOrCancelledOrNullTextFails)
{
    CMAPIItem item;
    CString strBody(_T("kept"));
    EXPECT_FALSE(item.GetBody(strBody));
    EXPECT_FALSE(item.SetBody(_T("x")));
    EXPECT_EQ(CString(_T("kept")), strBody);

    ASSERT_TRUE(OpenItem(item, NewMessage()));
    EXPECT_FALSE(item.SetBody(nullptr));
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.SetBody(_T("x")));
    EXPECT_FALSE(item.GetBody(strBody));
    EXPECT_EQ(CString(_T("kept")), strBody);
}

TEST_F(BodyAccessTest, MissingBodyFails)
{
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    CString strBody;
    EXPECT_FALSE(item.GetBody(strBody));
}

TEST_F(BodyAccessTest, CancelFlagOtherThanOneStartsButReadsNothing)
{
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    ASSERT_TRUE(item.SetBody(_T("text")));
    CMAPIInterface::SetCancel(2);
    mapisvc::ClearCallLog();
    CString strBody(_T("old"));
    EXPECT_FALSE(item.GetBody(strBody));
    EXPECT_TRUE(strBody.IsEmpty());
    EXPECT_EQ(0u, CallsOf("", "Read").size());
    EXPECT_EQ(1u, CallsOf("", "OpenProperty").size());
}

TEST_F(BodyAccessTest, CancelBetweenChunksKeepsThePartialText)
{
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    const CString strBody = LongText(2048 * 400);
    ASSERT_TRUE(item.SetBody(strBody));
    // With the pause on, 400 chunks take at least 400 ms: the flag set after a few reads stops the rest.
    CMAPIInterface::SetYield(1);
    mapisvc::ClearCallLog();
    CString strRead;
    BOOL bRead = TRUE;
    {
        CancelWhenCalled canceller("Read", 3);
        bRead = item.GetBody(strRead);
    }
    EXPECT_FALSE(bRead);
    EXPECT_GT(strRead.GetLength(), 0);
    EXPECT_LT(strRead.GetLength(), strBody.GetLength());
    EXPECT_EQ(0, strRead.GetLength() % 2048);
    EXPECT_EQ(strBody.Left(strRead.GetLength()), strRead);
}

TEST_F(BodyAccessTest, FailuresOfTheStoreAreFailures)
{
    CMAPIInterface::SetYield(1); // the chunks of the default pause: the second read is the second chunk
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    ASSERT_TRUE(item.SetBody(LongText(5000)));

    mapisvc::Fault readFault;
    readFault.interfaceName = "ISequentialStream";
    readFault.method = "Read";
    readFault.nthCall = 2;
    const ULONG ulRead = mapisvc::InjectFault(readFault);
    CString strBody;
    EXPECT_FALSE(item.GetBody(strBody));
    mapisvc::RemoveFault(ulRead);

    mapisvc::Fault writeFault;
    writeFault.interfaceName = "ISequentialStream";
    writeFault.method = "Write";
    const ULONG ulWrite = mapisvc::InjectFault(writeFault);
    EXPECT_FALSE(item.SetBody(_T("lost")));
    mapisvc::RemoveFault(ulWrite);

    mapisvc::Fault openFault;
    openFault.method = "OpenProperty";
    mapisvc::InjectFault(openFault);
    EXPECT_FALSE(item.SetBody(_T("lost")));
    EXPECT_FALSE(item.GetBody(strBody));
}
} // namespace
