// Seeds of the text targets: hexadecimal identifiers, delimited lists, 8-bit text in each code page, stored
// attachment names, UTF-8 names and TZ rules.
#include "seeds/SeedWriter.h"

#include <initializer_list>

namespace
{
std::string Utf16Bytes(std::u16string_view text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

void WriteUtf16(SeedWriter& writer, const std::string& target, std::initializer_list<std::u16string_view> texts)
{
    int n = 0;
    for (std::u16string_view text : texts)
        writer.Write(target, "text-" + std::to_string(n++), Utf16Bytes(text));
}

// Text in several code pages: Shift-JIS, GBK, Hangul, Big5, UTF-8 and Windows-1252 bytes.
const std::string kEncodedTexts[] = {"\x93\xfa\x96\x7b\x8c\xea abc",
                                     "\xd6\xd0\xce\xc4 text",
                                     "\xc7\xd1\xb1\xb9\xbe\xee",
                                     "\xa4\xa4\xa4\xe5",
                                     "caf\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x98\x80",
                                     "caf\xe9 \x80 \x9f"};
} // namespace

void WriteTextSeeds(SeedWriter& writer)
{
    WriteUtf16(writer, "sbinary_text_fuzzer",
               {u"0000000038A1BB1005E5101AA1BB08002B2A56C20000", u"0x0A0b", u"xx7F", u" 1-f", u"ABC"});
    // substring_fuzzer: a separator set, then the text (FuzzedDataProvider's strings end with "\" and another
    // character).
    writer.Write("substring_fuzzer", "categories", Utf16Bytes(u";,") + "\\n" + Utf16Bytes(u"Red;Blue,,Green;"));
    writer.Write("substring_fuzzer", "empty-fields", Utf16Bytes(u"|") + "\\n" + Utf16Bytes(u"||a|"));
    int n = 0;
    for (const std::string& text : kEncodedTexts)
    {
        const std::string name = "text-" + std::to_string(n++);
        writer.Write("code_page_fuzzer", name, text);
        writer.Write("ansi_chunk_decoder_fuzzer", name, text);
        writer.Write("service_text_fuzzer", name, text);
    }
    WriteUtf16(writer, "attachment_file_name_fuzzer",
               {u"report.pdf", u"..\\..\\windows\\system32\\evil.exe", u"/etc/passwd", u"CON.txt", u"a:b*c?.txt ..",
                u"\u65e5\u672c.doc", u".."});
    const char* const rules[] = {"CET-1CEST,M3.5.0,M10.5.0/3", "JST-9", "<+0330>-3:30", "EST5EDT",
                                 "AAA3BBB,J60/2,300/1:30:15"};
    n = 0;
    for (const char* rule : rules)
        writer.Write("posix_time_zone_fuzzer", "rule-" + std::to_string(n++), rule);
}
