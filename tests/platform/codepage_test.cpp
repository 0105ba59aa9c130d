#include "platform/platform.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
std::u16string Widen(UINT codePage, const std::string& bytes, DWORD flags = 0)
{
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(static_cast<size_t>(size), u'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    return text;
}

std::string Narrow(UINT codePage, const std::u16string& text, LPCSTR defaultChar = nullptr, BOOL* usedDefault = nullptr)
{
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         defaultChar, usedDefault);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, defaultChar,
                            usedDefault);
    return bytes;
}
} // namespace

TEST(AnsiCodePage, DefaultsTo1252AndFollowsTheEnvironment)
{
    {
        ScopedEnv unset("MAPIPIM_ACP", nullptr);
        EXPECT_EQ(1252u, GetACP());
    }
    {
        ScopedEnv japanese("MAPIPIM_ACP", "932");
        EXPECT_EQ(932u, GetACP());
        EXPECT_EQ(u"日本", Widen(CP_ACP, "\x93\xFA\x96\x7B"));
    }
    for (const char* unusable : {"abc", "1", "", "1200", "99999"})
    {
        ScopedEnv invalid("MAPIPIM_ACP", unusable);
        EXPECT_EQ(1252u, GetACP()) << unusable;
    }
}

TEST(MultiByteToWideChar, SizeQueryAndTerminatedInput)
{
    const char text[] = "h\xE9llo";
    EXPECT_EQ(6, MultiByteToWideChar(1252, 0, text, -1, nullptr, 0)); // the terminator counts
    EXPECT_EQ(5, MultiByteToWideChar(1252, 0, text, 5, nullptr, 0));
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    ASSERT_EQ(6, MultiByteToWideChar(1252, 0, text, -1, buffer, 8));
    EXPECT_EQ(std::u16string(u"h\u00E9llo"), buffer);
    EXPECT_EQ(u'#', buffer[6]);

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    ASSERT_EQ(5, MultiByteToWideChar(1252, 0, text, 5, buffer, 8));
    EXPECT_EQ(u'#', buffer[5]); // no terminator added when none was given
}

TEST(MultiByteToWideChar, TooSmallBufferFails)
{
    WCHAR buffer[3];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, MultiByteToWideChar(1252, 0, "hello", -1, buffer, 3));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    // Exactly enough room succeeds.
    EXPECT_EQ(3, MultiByteToWideChar(1252, 0, "abc", 3, buffer, 3));
}

TEST(MultiByteToWideChar, InvalidArgumentsFail)
{
    WCHAR buffer[8];
    const auto expectInvalid = [](int result, DWORD error = ERROR_INVALID_PARAMETER)
    {
        EXPECT_EQ(0, result);
        EXPECT_EQ(error, GetLastError());
    };
    expectInvalid(MultiByteToWideChar(1252, 0, nullptr, 3, buffer, 8));
    expectInvalid(MultiByteToWideChar(1252, 0, "abc", 0, buffer, 8));
    expectInvalid(MultiByteToWideChar(1252, 0, "abc", -2, buffer, 8));
    expectInvalid(MultiByteToWideChar(1252, 0, "abc", 3, buffer, -1));
    expectInvalid(MultiByteToWideChar(1252, 0, "abc", 3, nullptr, 8));
    expectInvalid(MultiByteToWideChar(12345, 0, "abc", 3, buffer, 8));
    expectInvalid(MultiByteToWideChar(1200, 0, "abc", 3, buffer, 8));
    expectInvalid(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, buffer, 8), ERROR_INVALID_FLAGS);
}

TEST(MultiByteToWideChar, WindowsCodePages)
{
    EXPECT_EQ(u"\u20AC\u201E\u0178", Widen(1252, "\x80\x84\x9F"));
    EXPECT_EQ(u"\u0081", Widen(1252, "\x81")); // Windows maps the five holes of 1252 to C1 controls
    EXPECT_EQ(u"\u0141\u00F3d\u017A", Widen(1250, "\xA3\xF3\x64\x9F"));
    EXPECT_EQ(u"\u041C\u0438\u0440", Widen(1251, "\xCC\xE8\xF0"));
    EXPECT_EQ(u"\u03A9", Widen(1253, "\xD9"));
    EXPECT_EQ(u"\u011F", Widen(1254, "\xF0"));
    EXPECT_EQ(u"\u05D0", Widen(1255, "\xE0"));
    EXPECT_EQ(u"\u0627", Widen(1256, "\xC7"));
    EXPECT_EQ(u"\u0101", Widen(1257, "\xE2"));
    EXPECT_EQ(u"\u0111", Widen(1258, "\xF0"));
    EXPECT_EQ(u"\u0E01", Widen(874, "\xA1"));
}

TEST(WideCharToMultiByte, SizeQueryTerminatorAndShortBuffer)
{
    const WCHAR text[] = u"caf\u00E9";
    EXPECT_EQ(5, WideCharToMultiByte(1252, 0, text, -1, nullptr, 0, nullptr, nullptr));
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    ASSERT_EQ(5, WideCharToMultiByte(1252, 0, text, -1, buffer, 8, nullptr, nullptr));
    EXPECT_STREQ("caf\xE9", buffer);
    EXPECT_EQ('#', buffer[5]);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, WideCharToMultiByte(1252, 0, text, -1, buffer, 4, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, WideCharToMultiByte(1252, 0, nullptr, 3, buffer, 8, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(WideCharToMultiByte, UnmappableCharactersBecomeTheDefaultCharacter)
{
    BOOL used = TRUE;
    EXPECT_EQ("a\x80?b", Narrow(1252, u"a\u20AC\u03A9b", nullptr, &used));
    EXPECT_TRUE(used);
    used = TRUE;
    EXPECT_EQ("plain", Narrow(1252, u"plain", nullptr, &used));
    EXPECT_FALSE(used);
    EXPECT_EQ("x*y", Narrow(1252, u"x\u4E2Dy", "*", &used));
    EXPECT_TRUE(used);
    // A lone surrogate is no character either; a pair counts once.
    EXPECT_EQ("?", Narrow(1252, std::u16string(1, u'\xD800')));
    EXPECT_EQ("[?]", Narrow(1252, u"[\U0001F600]"));
    // In a double-byte code page a lead byte makes the default character two bytes long.
    EXPECT_EQ("\x81\x48", Narrow(932, u"\u0101", "\x81\x48\x41"));
}

TEST(Utf8, SurrogatePairsRoundTrip)
{
    const std::u16string text = u"Gr\u00FC\u00DFe \U0001F600 \u4E2D";
    const std::string utf8 = Narrow(CP_UTF8, text);
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F"
              "e \xF0\x9F\x98\x80 \xE4\xB8\xAD",
              utf8);
    EXPECT_EQ(text, Widen(CP_UTF8, utf8));
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, nullptr, 0));
}

TEST(Utf8, InvalidSequencesAreReplacedOrRefused)
{
    EXPECT_EQ(u"\uFFFD(", Widen(CP_UTF8, "\xC3\x28"));
    EXPECT_EQ(u"a\uFFFD", Widen(CP_UTF8, "a\xE4\xB8")); // cut short at the end
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3\x28", 2, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());

    const std::u16string loneSurrogate = u"a" + std::u16string(1, u'\xDC00') + u"b";
    EXPECT_EQ("a\xEF\xBF\xBD"
              "b",
              Narrow(CP_UTF8, loneSurrogate));
    EXPECT_EQ(
        0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, loneSurrogate.data(), 3, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());

    // UTF-8 has no default character to choose.
    BOOL used = FALSE;
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, "?", nullptr));
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, nullptr, &used));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(DoubleByteCodePages, KnownBytesAndRoundTrips)
{
    struct Case
    {
        UINT codePage;
        std::u16string text;
        std::string knownPrefix;
    };
    const Case cases[] = {
        {932, u"日本語のテキスト、半角ｶﾅ", "\x93\xFA\x96\x7B"},
        {936, u"中文文本，简体", "\xD6\xD0"},
        {949, u"한국어 텍스트", "\xC7\xD1"},
        {950, u"繁體中文文本", "\xC1\x63"},
    };
    for (const Case& c : cases)
    {
        const std::string bytes = Narrow(c.codePage, c.text);
        EXPECT_EQ(0u, bytes.find(c.knownPrefix)) << c.codePage;
        EXPECT_EQ(c.text, Widen(c.codePage, bytes)) << c.codePage;
        // -1 converts the terminator too.
        EXPECT_EQ(static_cast<int>(c.text.size()) + 1,
                  MultiByteToWideChar(c.codePage, 0, bytes.c_str(), -1, nullptr, 0));
    }
}

TEST(DoubleByteCodePages, BrokenSequencesDoNotCrash)
{
    EXPECT_EQ(u"a\uFFFD", Widen(932, "a\x93")); // a lead byte without its trail byte
    EXPECT_EQ(0, MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "a\x93", 2, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
    const std::u16string text = Widen(949, std::string("\xFF\xFF\x80\x41", 4));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(u'A', text.back());
}

TEST(DoubleByteCodePages, LeadBytes)
{
    for (BYTE lead : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(IsDBCSLeadByteEx(932, lead)) << int(lead);
    for (BYTE single : {0x41, 0x80, 0xA0, 0xB1, 0xDF, 0xFD})
        EXPECT_FALSE(IsDBCSLeadByteEx(932, single)) << int(single);
    for (UINT codePage : {936u, 949u, 950u})
    {
        EXPECT_TRUE(IsDBCSLeadByteEx(codePage, 0x81)) << codePage;
        EXPECT_TRUE(IsDBCSLeadByteEx(codePage, 0xFE)) << codePage;
        EXPECT_FALSE(IsDBCSLeadByteEx(codePage, 0x41)) << codePage;
        EXPECT_FALSE(IsDBCSLeadByteEx(codePage, 0xFF)) << codePage;
    }
    EXPECT_FALSE(IsDBCSLeadByteEx(1252, 0x81));
    EXPECT_FALSE(IsDBCSLeadByteEx(CP_UTF8, 0xC3));
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(IsDBCSLeadByteEx(12345, 0x81));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(CodePageConverters, ThreadsConvertIndependently)
{
    const std::u16string japanese = u"東京都の天気は晴れです";
    const std::u16string korean = u"서울의 날씨는 맑습니다";
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [&, t]
            {
                const UINT codePage = t % 2 ? 949 : 932;
                const std::u16string& text = t % 2 ? korean : japanese;
                for (int i = 0; i < 500; ++i)
                    if (Widen(codePage, Narrow(codePage, text)) != text ||
                        Widen(CP_UTF8, Narrow(CP_UTF8, text)) != text)
                        ++failures[static_cast<size_t>(t)];
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(std::vector<int>(4, 0), failures);
}
