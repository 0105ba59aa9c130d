// The body properties of messages as one: PR_HTML and PR_BODY_HTML in the message's code page, the text of a
// message written only as HTML or RTF, PR_NATIVE_BODY_INFO, and WrapCompressedRTFStreamEx reached through the
// module stand-ins, as a Windows host reaches it; the store support bits and the locale's code page.
#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/Text.h"
#include "platform/win32/NativeBodyModule.h"

#include "service/RtfExamples.h"
#include "support/CallLogQueries.h"
#include "support/ScopedEnvironment.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
mapisvc::EntryId Bytes(const std::string& text)
{
    return mapisvc::EntryId(text.begin(), text.end());
}

std::string Utf8(const std::u16string& text)
{
    return mapisvc::ToUtf8(text);
}

class MessageBodyTest : public DefaultStoreTest
{
protected:
    Ref<IMessage> NewMessage() { return CreateUnsavedMessage(Inbox()); }

    void PutRtf(IMessage* message, const std::string& rtf)
    {
        ASSERT_EQ(S_OK, SetOne(message, BinaryValue(PR_RTF_COMPRESSED, Bytes(mapisvc::CompressRtf(rtf)))));
    }

    static std::string AsText(const mapisvc::EntryId& bytes) { return std::string(bytes.begin(), bytes.end()); }
};

TEST_F(MessageBodyTest, HtmlBytesReadAsStringInTheMessageCodePage)
{
    Ref<IMessage> message = NewMessage();
    const std::string utf8 = "<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE6\x97\xA5</p>";
    ASSERT_EQ(S_OK, SetOne(message.Get(), BinaryValue(PR_HTML, Bytes(utf8))));
    ASSERT_EQ(S_OK, SetOne(message.Get(), LongValue(PR_INTERNET_CPID, 65001)));
    EXPECT_EQ(utf8, Utf8(GetString(message.Get(), PR_BODY_HTML_W)));
    // Without a code page of its own the bytes are in the ANSI code page.
    Ref<IMessage> ansi = NewMessage();
    ASSERT_EQ(S_OK, SetOne(ansi.Get(), BinaryValue(PR_HTML, Bytes("<p>caf\xE9</p>"))));
    EXPECT_EQ("<p>caf\xC3\xA9</p>", Utf8(GetString(ansi.Get(), PR_BODY_HTML_W)));
}

TEST_F(MessageBodyTest, HtmlStringReadAsBytesKeepsWhatTheCodePageCannotHold)
{
    Ref<IMessage> message = NewMessage();
    ASSERT_EQ(S_OK, SetOne(message.Get(), UnicodeValue(PR_BODY_HTML_W, u"<p>caf\u00E9 \u041F \U0001F600</p>")));
    EXPECT_EQ("<p>caf\xE9 &#1055; &#128512;</p>", AsText(GetBinary(message.Get(), PR_HTML)));
    ASSERT_EQ(S_OK, SetOne(message.Get(), LongValue(PR_INTERNET_CPID, 65001)));
    EXPECT_EQ("<p>caf\xC3\xA9 \xD0\x9F \xF0\x9F\x98\x80</p>", AsText(GetBinary(message.Get(), PR_HTML)));
    // One property: writing one type replaces the other.
    ASSERT_EQ(S_OK, SetOne(message.Get(), BinaryValue(PR_HTML, Bytes("<b>new</b>"))));
    EXPECT_EQ(u"<b>new</b>", GetString(message.Get(), PR_BODY_HTML_W));
}

TEST_F(MessageBodyTest, HtmlStreamOpensInEitherType)
{
    Ref<IMessage> message = NewMessage();
    ASSERT_EQ(S_OK, SetOne(message.Get(), UnicodeValue(PR_BODY_HTML_W, u"<i>x</i>")));
    Ref<IStream> stream;
    ASSERT_EQ(S_OK, message->OpenProperty(PR_HTML, &IID_IStream, 0, 0, stream.OutUnknown()));
    char buffer[32] = {};
    ULONG cbRead = 0;
    ASSERT_EQ(S_OK, stream->Read(buffer, sizeof(buffer), &cbRead));
    EXPECT_EQ("<i>x</i>", std::string(buffer, cbRead));
}

TEST_F(MessageBodyTest, BodyOfAnHtmlOnlyMessageIsItsText)
{
    Ref<IMessage> message = NewMessage();
    ASSERT_EQ(S_OK, SetOne(message.Get(), BinaryValue(PR_HTML, Bytes("<html><head><style>p{}</style></head>"
                                                                     "<body><p>Hello</p><p>World</p></body></html>"))));
    EXPECT_EQ(u"Hello\r\nWorld", GetString(message.Get(), PR_BODY_W));
    EXPECT_EQ(3, GetLong(message.Get(), PR_NATIVE_BODY_INFO));
    // A body the host writes is its own, never replaced.
    ASSERT_EQ(S_OK, SetOne(message.Get(), UnicodeValue(PR_BODY_W, u"mine")));
    EXPECT_EQ(u"mine", GetString(message.Get(), PR_BODY_W));
    EXPECT_EQ(3, GetLong(message.Get(), PR_NATIVE_BODY_INFO));
}

TEST_F(MessageBodyTest, BodyOfAnRtfOnlyMessageIsItsText)
{
    Ref<IMessage> html = NewMessage();
    PutRtf(html.Get(), kEncapsulatedHtmlRtf);
    const std::string text = Utf8(GetString(html.Get(), PR_BODY_W));
    EXPECT_NE(std::string::npos, text.find("Note the line break inside a P tag. This is a bold text")) << text;
    EXPECT_EQ(std::string::npos, text.find("<p")) << text;
    EXPECT_EQ(3, GetLong(html.Get(), PR_NATIVE_BODY_INFO));

    Ref<IMessage> plain = NewMessage();
    PutRtf(plain.Get(), kEncapsulatedTextRtf);
    EXPECT_EQ(u"\u041F\u0440\u0438\u0432\u0435\u0442\r\n\tok\r\n", GetString(plain.Get(), PR_BODY_W));
    EXPECT_EQ(1, GetLong(plain.Get(), PR_NATIVE_BODY_INFO));

    Ref<IMessage> rtf = NewMessage();
    PutRtf(rtf.Get(), "{\\rtf1\\ansi\\pard Native {\\b RTF}\\par}");
    EXPECT_EQ(u"Native RTF\r\n", GetString(rtf.Get(), PR_BODY_W));
    EXPECT_EQ(2, GetLong(rtf.Get(), PR_NATIVE_BODY_INFO));
}

TEST_F(MessageBodyTest, TextOnlyAndBodilessMessages)
{
    Ref<IMessage> text = NewMessage();
    ASSERT_EQ(S_OK, SetOne(text.Get(), UnicodeValue(PR_BODY_W, u"plain")));
    EXPECT_EQ(1, GetLong(text.Get(), PR_NATIVE_BODY_INFO));
    Ref<IMessage> none = NewMessage();
    EXPECT_FALSE(HasProp(none.Get(), PR_BODY_W));
    EXPECT_FALSE(HasProp(none.Get(), PR_NATIVE_BODY_INFO));
    // The store says which form the body has; a caller cannot.
    SPropValue info = LongValue(PR_NATIVE_BODY_INFO, 2);
    MapiBuffer<SPropProblemArray> problems;
    ASSERT_EQ(S_OK, none->SetProps(1, &info, problems.Out()));
    ASSERT_NE(nullptr, problems.Get());
    EXPECT_EQ(MAPI_E_COMPUTED, problems.Get()->aProblem[0].scode);
    EXPECT_FALSE(HasProp(none.Get(), PR_NATIVE_BODY_INFO));
    // A damaged RTF body has no text.
    Ref<IMessage> damaged = NewMessage();
    ASSERT_EQ(S_OK, SetOne(damaged.Get(), BinaryValue(PR_RTF_COMPRESSED, Bytes("garbage bytes here"))));
    EXPECT_FALSE(HasProp(damaged.Get(), PR_BODY_W));
}

class NativeBodyTest : public MessageBodyTest
{
protected:
    // The function as a host finds it: the module taken if loaded, else loaded for the call.
    HRESULT ReadNative(IMessage* message, ULONG ulInCodePage, std::string& body, ULONG& ulStreamFlags)
    {
        HMODULE hModule = LoadLibraryW(u"Msmapi32.dll");
        if (!hModule)
            return MAPI_E_NOT_FOUND;
        auto* pfnWrap = reinterpret_cast<LPWRAPCOMPRESSEDRTFSTREAMEX>(
            reinterpret_cast<void (*)()>(GetProcAddress(hModule, "WrapCompressedRTFStreamEx")));
        HRESULT hr = pfnWrap ? S_OK : MAPI_E_NOT_FOUND;
        Ref<IStream> property;
        Ref<IStream> wrapper;
        if (hr == S_OK)
            hr = message->OpenProperty(PR_RTF_COMPRESSED, &IID_IStream, 0, 0, property.OutUnknown());
        RTF_WCSINFO info = {sizeof(RTF_WCSINFO), MAPI_NATIVE_BODY, ulInCodePage, 0};
        RTF_WCSRETINFO retInfo = {sizeof(RTF_WCSRETINFO), 0};
        if (hr == S_OK)
            hr = pfnWrap(property.Get(), &info, wrapper.Out(), &retInfo);
        ulStreamFlags = retInfo.ulStreamFlags;
        body.clear();
        char chunk[500];
        ULONG cbRead = sizeof(chunk);
        while (hr == S_OK && cbRead == sizeof(chunk))
        {
            hr = wrapper->Read(chunk, sizeof(chunk), &cbRead);
            body.append(chunk, hr == S_OK ? cbRead : 0);
        }
        FreeLibrary(hModule);
        return hr;
    }
};

TEST_F(NativeBodyTest, EncapsulatedHtmlInTheInputCodePage)
{
    Ref<IMessage> message = NewMessage();
    PutRtf(message.Get(), "{\\rtf1\\ansi\\ansicpg1251\\fromhtml1 {\\*\\htmltag64 <p>}\\'cf\\'f0\\'e8 "
                          "\\u26085?\\htmlrtf \\par \\htmlrtf0 {\\*\\htmltag </p>}}");
    std::string body;
    ULONG ulFlags = 0;
    ASSERT_EQ(S_OK, ReadNative(message.Get(), 65001, body, ulFlags));
    EXPECT_EQ(MAPI_NATIVE_BODY_TYPE_HTML, ulFlags);
    EXPECT_EQ("<p>\xD0\x9F\xD1\x80\xD0\xB8 \xE6\x97\xA5</p>", body);
    // In a code page that cannot hold every character, HTML keeps them as references.
    ASSERT_EQ(S_OK, ReadNative(message.Get(), 1251, body, ulFlags));
    EXPECT_EQ("<p>\xCF\xF0\xE8 &#26085;</p>", body);
}

TEST_F(NativeBodyTest, EncapsulatedTextAndRtfOfItsOwn)
{
    Ref<IMessage> text = NewMessage();
    PutRtf(text.Get(), kEncapsulatedTextRtf);
    std::string body;
    ULONG ulFlags = 0;
    ASSERT_EQ(S_OK, ReadNative(text.Get(), 1251, body, ulFlags));
    EXPECT_EQ(MAPI_NATIVE_BODY_TYPE_PLAINTEXT, ulFlags);
    EXPECT_EQ("\xCF\xF0\xE8\xE2\xE5\xF2\r\n\tok\r\n", body);

    Ref<IMessage> rtf = NewMessage();
    const std::string native = "{\\rtf1\\ansi\\pard Native\\par}";
    PutRtf(rtf.Get(), native);
    ASSERT_EQ(S_OK, ReadNative(rtf.Get(), 0, body, ulFlags));
    EXPECT_EQ(MAPI_NATIVE_BODY_TYPE_RTF, ulFlags);
    EXPECT_EQ(native, body);
}

TEST_F(NativeBodyTest, DamagedBodyFailsTheRead)
{
    Ref<IMessage> message = NewMessage();
    ASSERT_EQ(S_OK, SetOne(message.Get(), BinaryValue(PR_RTF_COMPRESSED, Bytes(std::string(20, '\x01')))));
    std::string body;
    ULONG ulFlags = 0;
    EXPECT_EQ(MAPI_E_CORRUPT_DATA, ReadNative(message.Get(), 0, body, ulFlags));
}

TEST_F(NativeBodyTest, BadArguments)
{
    Ref<IMessage> message = NewMessage();
    PutRtf(message.Get(), "{\\rtf1 x}");
    Ref<IStream> property;
    ASSERT_EQ(S_OK, message->OpenProperty(PR_RTF_COMPRESSED, &IID_IStream, 0, 0, property.OutUnknown()));
    HMODULE hModule = LoadLibraryW(u"MSMAPI32");
    ASSERT_NE(nullptr, hModule);
    auto* pfnWrap = reinterpret_cast<LPWRAPCOMPRESSEDRTFSTREAMEX>(
        reinterpret_cast<void (*)()>(GetProcAddress(hModule, "WrapCompressedRTFStreamEx")));
    ASSERT_NE(nullptr, pfnWrap);
    Ref<IStream> wrapper;
    RTF_WCSINFO info = {sizeof(RTF_WCSINFO), MAPI_NATIVE_BODY | MAPI_MODIFY, 0, 0};
    RTF_WCSRETINFO retInfo = {sizeof(RTF_WCSRETINFO), 0};
    EXPECT_EQ(MAPI_E_UNKNOWN_FLAGS, pfnWrap(property.Get(), &info, wrapper.Out(), &retInfo));
    info.ulFlags = MAPI_NATIVE_BODY;
    info.size = 8;
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, pfnWrap(property.Get(), &info, wrapper.Out(), &retInfo));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, pfnWrap(property.Get(), nullptr, wrapper.Out(), &retInfo));
    EXPECT_EQ(nullptr, GetProcAddress(hModule, "WrapCompressedRTFStream"));
    EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), GetLastError());
    EXPECT_TRUE(FreeLibrary(hModule));
}

TEST(NativeBodyModule, LoadedOnlyWhilePresentAndReferenced)
{
    mapisvc::ResetTestingState();
    EXPECT_EQ(nullptr, GetModuleHandleW(u"Msmapi32.dll"));
    EXPECT_EQ(nullptr, LoadLibraryW(u"mapi32.dll"));
    HMODULE hModule = LoadLibraryW(u"msmapi32.DLL");
    ASSERT_NE(nullptr, hModule);
    EXPECT_EQ(hModule, GetModuleHandleW(u"Msmapi32.dll"));
    EXPECT_TRUE(mapipim::win32::IsNativeBodyModuleLoaded());
    EXPECT_TRUE(FreeLibrary(hModule));
    EXPECT_FALSE(FreeLibrary(hModule));
    EXPECT_EQ(nullptr, GetModuleHandleW(u"Msmapi32.dll"));
    EXPECT_EQ(nullptr, GetProcAddress(hModule, "WrapCompressedRTFStreamEx"));

    mapisvc::SetNativeBodyModulePresent(false);
    EXPECT_EQ(nullptr, LoadLibraryW(u"Msmapi32.dll"));
    EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), GetLastError());
    mapisvc::ResetTestingState();
    hModule = LoadLibraryW(u"Msmapi32.dll");
    EXPECT_NE(nullptr, hModule);
    FreeLibrary(hModule);
    EXPECT_FALSE(mapipim::win32::IsNativeBodyModuleLoaded());
}

TEST(Locale, DefaultAnsiCodePageAsText)
{
    ScopedEnv acp("MAPIPIM_ACP", "1251");
    WCHAR buffer[12] = {u'x'};
    EXPECT_EQ(5, GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, 12));
    EXPECT_EQ(std::u16string(u"1251"), std::u16string(reinterpret_cast<const char16_t*>(buffer)));
    EXPECT_EQ(5, GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0));
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, 3));
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, 0x1234, buffer, 12));
}

TEST_F(MessageBodyTest, StoreSupportBitsSetPerStore)
{
    const mapisvc::EntryId store = EntryIdOf(Store());
    const LONG before = GetLong(Store(), PR_STORE_SUPPORT_MASK);
    EXPECT_TRUE(before & STORE_HTML_OK);
    EXPECT_FALSE(before & STORE_UNCOMPRESSED_RTF);
    ASSERT_EQ(S_OK, mapisvc::SetStoreSupport(store, STORE_UNCOMPRESSED_RTF, true));
    ASSERT_EQ(S_OK, mapisvc::SetStoreSupport(store, STORE_HTML_OK, false));
    Ref<IMsgStore> reopened = OpenStore(Session(), store);
    const LONG after = GetLong(reopened.Get(), PR_STORE_SUPPORT_MASK);
    EXPECT_EQ((before | STORE_UNCOMPRESSED_RTF) & ~STORE_HTML_OK, after);
    EXPECT_NE(S_OK, mapisvc::SetStoreSupport(mapisvc::EntryId(40, 1), STORE_HTML_OK, true));
}
} // namespace
