// The e-mail body in its three forms against the real service, in Unicode and ANSI-only stores: sizes around
// the chunk, the chunked reads, both RTF paths (Outlook's module present and absent), the code pages of HTML
// bodies, the HTML-in-RTF wrapper's round trip, cancellation and failures.
#include "support/CallLogQueries.h"
#include "support/ItemFixture.h"
#include "support/ScopedEnvironment.h"

#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIInterface.h>

#include "platform/win32/NativeBodyModule.h"

namespace
{
// Text of n characters that differs along its length, with line breaks, so that a lost chunk shows.
CString LongText(int nLength, WCHAR chFirst = _T('a'))
{
    CString strText;
    for (int i = 0; i < nLength; ++i)
        strText.AppendChar(static_cast<WCHAR>(i % 61 == 60 ? _T('\n') : chFirst + (i * 7 + i / 26) % 26));
    return strText;
}

// HTML of exactly n ASCII characters (n >= 13).
CString HtmlOfLength(int nLength)
{
    return _T("<html>") + LongText(nLength - 13) + _T("</html>");
}

struct StoreKind
{
    bool bAnsiOnly;
    bool bHtmlOk;
};

class EmailBodyTest : public ItemServiceTest
{
protected:
    // A saved message in a store of the kind asked for.
    mapisvc::EntryId NewBodyMessage(const StoreKind& kind)
    {
        if (kind.bHtmlOk && !kind.bAnsiOnly)
            return NewMessage();
        std::u16string profile;
        EXPECT_EQ(S_OK, mapisvc::EnsureDefaultProfile(&profile));
        mapisvc::StoreOptions options;
        options.displayName = kind.bAnsiOnly ? u"ANSI Folders" : u"Other Folders";
        options.unicode = !kind.bAnsiOnly;
        mapisvc::EntryId storeId;
        EXPECT_EQ(S_OK, mapisvc::AddStore(profile, options, &storeId));
        if (!kind.bHtmlOk)
            EXPECT_EQ(S_OK, mapisvc::SetStoreSupport(storeId, STORE_HTML_OK, false));
        m_ansi.store = OpenStore(Session(), storeId);
        m_ansi.folder = OpenFolderByProp(m_ansi.store.Get(), PR_IPM_SUBTREE_ENTRYID);
        if (kind.bAnsiOnly)
            ProcessFlagsGuard::EnterAnsiOnlyMode();
        return NewMessage(m_ansi.folder.Get());
    }

    // Writes with one operation, saves, and reads back with another in a freshly opened item.
    template <class Write, class Read>
    CString RoundTrip(const mapisvc::EntryId& id, Write write, Read read, BOOL* pbRead = nullptr)
    {
        {
            CMAPIEmailItem writer;
            EXPECT_TRUE(OpenItem(writer, id));
            EXPECT_TRUE(write(writer));
            EXPECT_TRUE(writer.Save(TRUE));
        }
        CMAPIEmailItem reader;
        EXPECT_TRUE(OpenItem(reader, id));
        CString strRead(_T("stale"));
        const BOOL bRead = read(reader, strRead);
        if (pbRead)
            *pbRead = bRead;
        else
            EXPECT_TRUE(bRead);
        return strRead;
    }
};

class EmailBodyStoresTest : public EmailBodyTest, public ::testing::WithParamInterface<StoreKind>
{
};

TEST_P(EmailBodyStoresTest, TextBodiesAroundTheChunkReadBack)
{
    for (int nLength : {0, 1, 1023, 1024, 1025, 100000})
    {
        const CString strBody = LongText(nLength);
        const CString strRead = RoundTrip(
            NewBodyMessage(GetParam()), [&](CMAPIEmailItem& item) { return item.SetBodyText(strBody); },
            [](CMAPIEmailItem& item, CString& str) { return item.GetBodyText(str); });
        EXPECT_EQ(strBody, strRead) << nLength;
    }
}

TEST_P(EmailBodyStoresTest, HtmlBodiesAroundTheChunkReadBack)
{
    for (int nLength : {0, 13, 1023, 1024, 1025, 100000})
    {
        const CString strHtml = nLength ? HtmlOfLength(nLength) : CString();
        const CString strRead = RoundTrip(
            NewBodyMessage(GetParam()), [&](CMAPIEmailItem& item) { return item.SetBodyHTML(strHtml); },
            [](CMAPIEmailItem& item, CString& str) { return item.GetBodyHTML(str); });
        EXPECT_EQ(strHtml, strRead) << nLength;
    }
}

TEST_P(EmailBodyStoresTest, RtfBodiesAroundTheChunkReadBackBothWays)
{
    for (bool bModule : {true, false})
    {
        mapisvc::SetNativeBodyModulePresent(bModule);
        for (int nLength : {1023, 1024, 1025, 100000})
        {
            // RTF of its own comes back as it is, from the module or through the decoder that leaves it.
            const CString strRtf = _T("{\\rtf1\\ansi ") + LongText(nLength - 13) + _T("\\par }");
            const CString strRead = RoundTrip(
                NewBodyMessage(GetParam()), [&](CMAPIEmailItem& item) { return item.SetBodyRTF(strRtf); },
                [](CMAPIEmailItem& item, CString& str) { return item.GetBodyRTF(str); });
            EXPECT_EQ(strRtf, strRead) << nLength << (bModule ? " with" : " without") << " the module";
        }
    }
}

TEST_P(EmailBodyStoresTest, HtmlThroughRtfReadsBackTheSameTextBothWays)
{
    const CString strHtml =
        _T("<html><head><style>p.x { color: red; } a:hover {}</style></head>\r\n<body><pre>line one\r\n")
        _T("  line two\r\nC:\\path\\file {x}\r\n\uD55C\uAD6D\uC5B4 \u041F\u0440\u0438\u0432\u0435\u0442 caf\u00E9 ")
        _T("\U0001F600</pre>\nlone LF\rlone CR</body></html>");
    const StoreKind kind = GetParam();
    for (bool bModule : {true, false})
    {
        mapisvc::SetNativeBodyModulePresent(bModule);
        const mapisvc::EntryId id = NewBodyMessage(kind);
        BOOL bRead = FALSE;
        const CString strRead = RoundTrip(
            id, [&](CMAPIEmailItem& item) { return item.SetBodyRTF(strHtml); },
            [](CMAPIEmailItem& item, CString& str) { return item.GetBodyRTF(str); }, &bRead);
        if (kind.bHtmlOk)
        {
            // The store keeps HTML: written as HTML, no RTF at all.
            EXPECT_FALSE(bRead);
            EXPECT_FALSE(HasProp(OpenMessage(Session(), id).Get(), PR_RTF_COMPRESSED));
            EXPECT_EQ(strHtml, RoundTrip(
                                   id, [&](CMAPIEmailItem&) { return TRUE; },
                                   [](CMAPIEmailItem& item, CString& str) { return item.GetBodyHTML(str); }));
            continue;
        }
        EXPECT_TRUE(bRead);
        EXPECT_EQ(strHtml + _T(" "), strRead) << (bModule ? "with" : "without") << " the module";
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, EmailBodyStoresTest,
                         ::testing::Values(StoreKind{false, true}, StoreKind{true, true}, StoreKind{false, false},
                                           StoreKind{true, false}),
                         [](const ::testing::TestParamInfo<StoreKind>& info)
                         {
                             return std::string(info.param.bAnsiOnly ? "AnsiOnly" : "Unicode") +
                                    (info.param.bHtmlOk ? "Html" : "NoHtml");
                         });

TEST_F(EmailBodyTest, HtmlOfExactlyOneChunkNeedsASecondEmptyRead)
{
    CMAPIInterface::SetYield(1);
    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    ASSERT_TRUE(item.SetBodyHTML(HtmlOfLength(1024)));
    mapisvc::ClearCallLog();
    CString strHtml;
    ASSERT_TRUE(item.GetBodyHTML(strHtml));
    EXPECT_EQ(2u, CallsOf("", "Read").size());
    ASSERT_TRUE(item.SetBodyHTML(HtmlOfLength(1023)));
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.GetBodyHTML(strHtml));
    EXPECT_EQ(1u, CallsOf("", "Read").size());
    // Text reads 1024 characters at once.
    ASSERT_TRUE(item.SetBodyText(LongText(2048)));
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.GetBodyText(strHtml));
    EXPECT_EQ(3u, CallsOf("", "Read").size());
}

TEST_F(EmailBodyTest, HtmlReadsInTheMessageCodePageAcrossChunkBorders)
{
    CMAPIInterface::SetYield(1); // chunks of 1024 bytes: the three-byte characters straddle their borders
    CString strHtml = _T("<html>");
    for (int i = 0; i < 1500; ++i)
        strHtml.AppendChar(static_cast<WCHAR>(i % 3 == 0 ? 0x65E5 : i % 3 == 1 ? 0x0416 : _T('x')));
    strHtml += _T("\U0001F600</html>");
    const mapisvc::EntryId id = NewMessage();
    {
        Ref<IMessage> message = OpenMessage(Session(), id);
        ASSERT_EQ(S_OK, SetOne(message.Get(), LongValue(PR_INTERNET_CPID, 65001)));
        ASSERT_EQ(S_OK, message->SaveChanges(0));
    }
    const CString strRead =
        RoundTrip(id, [&](CMAPIEmailItem& item) { return item.SetBodyHTML(strHtml); },
                  [](CMAPIEmailItem& item, CString& str) { return item.GetBodyHTML(str); });
    EXPECT_EQ(strHtml, strRead);
    EXPECT_EQ(65001, GetLong(OpenMessage(Session(), id).Get(), PR_INTERNET_CPID));
}

TEST_F(EmailBodyTest, HtmlWrittenInACodePageThatHoldsIt)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    struct Case
    {
        LONG nMessageCodePage;
        const WCHAR* szHtml;
        LONG nExpectedCodePage; // 0: none written
        std::string bytes;
    };
    const Case cases[] = {
        {1251, _T("<p>\u041F\u0440\u0438</p>"), 1251, "<p>\xCF\xF0\xE8</p>"},
        {0, _T("<p>caf\u00E9</p>"), 0, "<p>caf\xE9</p>"},
        {1251, _T("<p>caf\u00E9</p>"), 1252, "<p>caf\xE9</p>"},
        {0, _T("<p>\uD55C</p>"), 65001, "<p>\xED\x95\x9C</p>"},
        {932, _T("<p>\u65E5\u00E9</p>"), 65001, "<p>\xE6\x97\xA5\xC3\xA9</p>"},
    };
    for (const Case& test : cases)
    {
        const mapisvc::EntryId id = NewMessage();
        if (test.nMessageCodePage)
        {
            Ref<IMessage> message = OpenMessage(Session(), id);
            ASSERT_EQ(S_OK, SetOne(message.Get(), LongValue(PR_INTERNET_CPID, test.nMessageCodePage)));
            ASSERT_EQ(S_OK, message->SaveChanges(0));
        }
        const CString strRead = RoundTrip(
            id, [&](CMAPIEmailItem& item) { return item.SetBodyHTML(test.szHtml); },
            [](CMAPIEmailItem& item, CString& str) { return item.GetBodyHTML(str); });
        EXPECT_EQ(CString(test.szHtml), strRead);
        Ref<IMessage> message = OpenMessage(Session(), id);
        const mapisvc::EntryId bytes = GetBinary(message.Get(), PR_HTML);
        EXPECT_EQ(test.bytes, std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(test.nExpectedCodePage, GetLong(message.Get(), PR_INTERNET_CPID));
    }
}

TEST_F(EmailBodyTest, NativeBodyReadsInTheMessageCodePage)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    const CString strHtml = _T("<html><p>\u65E5\u672C \u041F</p></html>");
    const mapisvc::EntryId id = NewBodyMessage(StoreKind{false, false});
    {
        Ref<IMessage> message = OpenMessage(Session(), id);
        ASSERT_EQ(S_OK, SetOne(message.Get(), LongValue(PR_INTERNET_CPID, 65001)));
        ASSERT_EQ(S_OK, message->SaveChanges(0));
    }
    const CString strRead = RoundTrip(
        id, [&](CMAPIEmailItem& item) { return item.SetBodyRTF(strHtml); },
        [](CMAPIEmailItem& item, CString& str) { return item.GetBodyRTF(str); });
    EXPECT_EQ(strHtml + _T(" "), strRead);
}

TEST_F(EmailBodyTest, ModuleLoadedForTheCallIsFreedAfterwards)
{
    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, NewBodyMessage(StoreKind{false, false})));
    ASSERT_TRUE(item.SetBodyRTF(_T("{\\rtf1 x}")));
    mapisvc::ClearCallLog();
    CString strRtf;
    ASSERT_TRUE(item.GetBodyRTF(strRtf));
    EXPECT_FALSE(mapipim::win32::IsNativeBodyModuleLoaded());
    EXPECT_EQ(1u, CallsOf("MAPI", "WrapCompressedRTFStreamEx").size());
    EXPECT_EQ(0u, CallsOf("MAPI", "WrapCompressedRTFStream").size());
    mapisvc::SetNativeBodyModulePresent(false);
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.GetBodyRTF(strRtf));
    EXPECT_EQ(0u, CallsOf("MAPI", "WrapCompressedRTFStreamEx").size());
    EXPECT_EQ(1u, CallsOf("MAPI", "WrapCompressedRTFStream").size());
}

TEST_F(EmailBodyTest, HtmlOnAStoreWithHtmlGoesToPrHtmlOnly)
{
    const mapisvc::EntryId id = NewMessage();
    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, id));
    ASSERT_TRUE(item.SetBodyRTF(_T("<HTML><body>x</body></HTML>")));
    ASSERT_TRUE(item.Save(TRUE));
    Ref<IMessage> message = OpenMessage(Session(), id);
    EXPECT_TRUE(HasProp(message.Get(), PR_HTML));
    EXPECT_FALSE(HasProp(message.Get(), PR_RTF_COMPRESSED));
}

TEST_F(EmailBodyTest, WrapperDeclaresTheSystemCodePage)
{
    ScopedEnv acp("MAPIPIM_ACP", "1251");
    mapisvc::SetNativeBodyModulePresent(false);
    const mapisvc::EntryId id = NewBodyMessage(StoreKind{false, false});
    const CString strHtml = _T("<html>\u041F</html>");
    const CString strRead = RoundTrip(
        id, [&](CMAPIEmailItem& item) { return item.SetBodyRTF(strHtml); },
        [](CMAPIEmailItem& item, CString& str)
        {
            // The RTF itself, before decoding: read through the older wrapper with the decoder of no effect.
            CString strRaw;
            item.GetBodyRTF(strRaw);
            str = strRaw;
            return TRUE;
        });
    EXPECT_EQ(strHtml + _T(" "), strRead);
    Ref<IMessage> message = OpenMessage(Session(), id);
    Ref<IStream> property;
    ASSERT_EQ(S_OK, message->OpenProperty(PR_RTF_COMPRESSED, &IID_IStream, 0, 0, property.OutUnknown()));
    Ref<IStream> wrapper;
    ASSERT_EQ(S_OK, WrapCompressedRTFStream(property.Get(), 0, wrapper.Out()));
    char buffer[200] = {};
    ULONG cbRead = 0;
    ASSERT_EQ(S_OK, wrapper->Read(buffer, sizeof(buffer), &cbRead));
    EXPECT_EQ("{\\rtf1\\ansi\\ansicpg1251\\fromhtml1 {\\*\\htmltag1 <html>\\'cf</html> }}",
              std::string(buffer, cbRead));
}

TEST_F(EmailBodyTest, EmptyOrMissingAndClosedItems)
{
    CMAPIEmailItem closed;
    CString strText(_T("kept"));
    EXPECT_FALSE(closed.GetBodyText(strText));
    EXPECT_FALSE(closed.GetBodyHTML(strText));
    EXPECT_FALSE(closed.GetBodyRTF(strText));
    EXPECT_FALSE(closed.SetBodyText(_T("x")));
    EXPECT_FALSE(closed.SetBodyHTML(_T("x")));
    EXPECT_FALSE(closed.SetBodyRTF(_T("x")));
    EXPECT_EQ(CString(_T("kept")), strText);

    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, NewMessage()));
    EXPECT_FALSE(item.GetBodyHTML(strText));
    EXPECT_FALSE(item.GetBodyRTF(strText));
    EXPECT_FALSE(item.GetBodyText(strText));
    EXPECT_FALSE(item.SetBodyRTF(_T("")));
    EXPECT_FALSE(item.SetBodyText(nullptr));
    // An empty text replaces a body.
    ASSERT_TRUE(item.SetBodyText(_T("old")));
    ASSERT_TRUE(item.SetBodyText(_T("")));
    ASSERT_TRUE(item.GetBodyText(strText));
    EXPECT_TRUE(strText.IsEmpty());
}

TEST_F(EmailBodyTest, CancelBetweenChunksLeavesTheMessageUnsaved)
{
    const mapisvc::EntryId id = NewMessage();
    const CString strOld = LongText(3000);
    {
        CMAPIEmailItem item;
        ASSERT_TRUE(OpenItem(item, id));
        ASSERT_TRUE(item.SetBodyText(strOld));
        ASSERT_TRUE(item.Save(TRUE));
    }
    CMAPIInterface::SetYield(1);
    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, id));
    mapisvc::ClearCallLog();
    BOOL bWritten = TRUE;
    {
        CancelWhenCalled canceller("Write", 3);
        bWritten = item.SetBodyText(LongText(512 * 400, _T('A')));
    }
    EXPECT_FALSE(bWritten);
    item.Close();
    CMAPIInterface::SetCancel(0);
    CMAPIEmailItem reader;
    ASSERT_TRUE(OpenItem(reader, id));
    CString strRead;
    ASSERT_TRUE(reader.GetBodyText(strRead));
    EXPECT_EQ(strOld, strRead);

    // Reading stops between chunks too, keeping what it read.
    ASSERT_TRUE(reader.SetBodyHTML(HtmlOfLength(1024 * 400)));
    mapisvc::ClearCallLog();
    BOOL bRead = TRUE;
    {
        CancelWhenCalled canceller("Read", 3);
        bRead = reader.GetBodyHTML(strRead);
    }
    EXPECT_FALSE(bRead);
    EXPECT_GT(strRead.GetLength(), 0);
    EXPECT_LT(strRead.GetLength(), 1024 * 400);
}

TEST_F(EmailBodyTest, FailuresOfTheStoreAreFailures)
{
    mapisvc::SetNativeBodyModulePresent(false);
    CMAPIEmailItem item;
    ASSERT_TRUE(OpenItem(item, NewBodyMessage(StoreKind{false, false})));
    {
        ScopedFault fault("IStream", "Commit");
        EXPECT_FALSE(item.SetBodyRTF(_T("{\\rtf1 x}")));
    }
    {
        ScopedFault fault("MAPI", "WrapCompressedRTFStream");
        EXPECT_FALSE(item.SetBodyRTF(_T("{\\rtf1 x}")));
    }
    {
        ScopedFault fault("ISequentialStream", "Write");
        EXPECT_FALSE(item.SetBodyRTF(_T("{\\rtf1 x}")));
        EXPECT_FALSE(item.SetBodyHTML(_T("<p>")));
        EXPECT_FALSE(item.SetBodyText(_T("x")));
    }
    ASSERT_TRUE(item.SetBodyRTF(_T("{\\rtf1 x}")));
    CString strRtf;
    {
        // A wrapper that cannot be made: the property stream is read as it is (and decodes to no text here).
        ScopedFault fault("MAPI", "WrapCompressedRTFStream");
        EXPECT_TRUE(item.GetBodyRTF(strRtf));
    }
    {
        ScopedFault fault("IMAPIProp", "OpenProperty");
        EXPECT_FALSE(item.GetBodyRTF(strRtf));
        EXPECT_FALSE(item.SetBodyRTF(_T("{\\rtf1 y}")));
    }
}

TEST_F(EmailBodyTest, DamagedRtfReadsAsAFailure)
{
    for (bool bModule : {true, false})
    {
        mapisvc::SetNativeBodyModulePresent(bModule);
        const mapisvc::EntryId id = NewMessage();
        {
            Ref<IMessage> message = OpenMessage(Session(), id);
            const std::string damaged = "\x30\0\0\0\x40\0\0\0LZFu\0\0\0\0\x01\x33\x33";
            ASSERT_EQ(S_OK, SetOne(message.Get(), BinaryValue(PR_RTF_COMPRESSED,
                                                              mapisvc::EntryId(damaged.begin(), damaged.end()))));
            ASSERT_EQ(S_OK, message->SaveChanges(0));
        }
        CMAPIEmailItem item;
        ASSERT_TRUE(OpenItem(item, id));
        CString strRtf;
        EXPECT_FALSE(item.GetBodyRTF(strRtf)) << bModule;
    }
}
} // namespace
