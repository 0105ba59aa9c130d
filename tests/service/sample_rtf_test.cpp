// The RTF bodies of real Outlook messages (the PR_RTF_COMPRESSED stream, "__substg1.0_10090102", of each .msg
// sample, read with libgsf's compound-file reader): each decompresses with a matching CRC, recompresses to a
// stream that decompresses to the same RTF, and each encapsulated body reads as text in its own code page.
#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/HtmlText.h"
#include "platform/mapi/RtfBody.h"
#include "platform/mapi/Text.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace
{
namespace fs = std::filesystem;

fs::path MessageSamples()
{
    const char* root = std::getenv("MAPIPIM_SAMPLES");
    return fs::path(root && *root ? root : "/work/shared/samples") / "msg";
}

// The stream's bytes, or none when the file has no RTF body or cannot be read.
std::optional<std::string> RtfStream(const fs::path& file)
{
    gsf_init();
    std::optional<std::string> bytes;
    GsfInput* input = gsf_input_stdio_new(file.c_str(), nullptr);
    GsfInfile* infile = input ? gsf_infile_msole_new(input, nullptr) : nullptr;
    GsfInput* stream = infile ? gsf_infile_child_by_name(infile, "__substg1.0_10090102") : nullptr;
    if (stream)
    {
        std::string data(static_cast<size_t>(gsf_input_size(stream)), '\0');
        if (data.empty() || gsf_input_read(stream, data.size(), reinterpret_cast<guint8*>(&data[0])))
            bytes = std::move(data);
        g_object_unref(stream);
    }
    if (infile)
        g_object_unref(infile);
    if (input)
        g_object_unref(input);
    return bytes;
}

std::vector<fs::path> Samples()
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(MessageSamples(), error))
        if (entry.path().extension() == ".msg")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SampleRtf, EveryRtfBodyDecompressesWithItsCrc)
{
    const std::vector<fs::path> files = Samples();
    if (files.empty())
        GTEST_SKIP() << "no samples in " << MessageSamples();
    int nBodies = 0;
    for (const fs::path& file : files)
    {
        const std::optional<std::string> stored = RtfStream(file);
        if (!stored)
            continue;
        ++nBodies;
        std::string rtf;
        const mapisvc::RtfDecodeResult result = mapisvc::DecompressRtf(*stored, rtf);
        EXPECT_EQ(mapisvc::RtfDecodeStatus::Ok, result.status) << file.filename() << ": " << result.reason;
        EXPECT_EQ(0u, rtf.rfind("{\\rtf1", 0)) << file.filename();
        std::string again;
        EXPECT_EQ(mapisvc::RtfDecodeStatus::Ok, mapisvc::DecompressRtf(mapisvc::CompressRtf(rtf), again).status);
        EXPECT_TRUE(rtf == again) << file.filename();
    }
    EXPECT_GT(nBodies, 10);
}

// Words of each encapsulated body, as the message shows them.
const std::map<std::string, std::vector<std::string>> kWords = {
    {"mail_russian_fromhtml.msg", {"\xD0\x9F\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C", "password"}},
    {"mail_cyrillic_cp1251_fromtext.msg", {"\xD1\x81\xD0\xBE\xD0\xBE\xD0\xB1\xD1\x89\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB5", "FW: RTM"}},
    {"mail_cjk_unicode_fromhtml.msg",
     {"\xE4\xBD\xA0\xE5\xA5\xBD", "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF",
      "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94"}},
    {"mail_html_binary_fromhtml.msg", {"Mr. Aftergood", "Historical Advisory Committee"}},
    {"mail_plaintext_fromtext.msg", {"BOOK ONE: 1805", "Genoa and Lucca"}},
    {"mail_ja_nonunicode_cp932.msg", {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "Non Unicode"}},
    {"mail_chinese_big5_nonunicode.msg", {"\xE4\xB8\xAD\xE6\x96\x87\xE6\xB8\xAC\xE8\xA9\xA6", "Lydia"}},
};

TEST(SampleRtf, EncapsulatedBodiesReadInTheirCodePage)
{
    const std::vector<fs::path> files = Samples();
    if (files.empty())
        GTEST_SKIP() << "no samples in " << MessageSamples();
    int nChecked = 0;
    for (const fs::path& file : files)
    {
        const std::optional<std::string> stored = RtfStream(file);
        std::string rtf;
        if (!stored || mapisvc::DecompressRtf(*stored, rtf).status != mapisvc::RtfDecodeStatus::Ok)
            continue;
        const mapisvc::RtfBodyKind kind = mapisvc::EncapsulatedKind(rtf);
        const std::u16string body = mapisvc::RtfBodyText(rtf);
        const std::string text = mapisvc::ToUtf8(kind == mapisvc::RtfBodyKind::Html ? mapisvc::HtmlToText(body) : body);
        const auto words = kWords.find(file.filename().string());
        if (words == kWords.end())
            continue;
        ++nChecked;
        for (const std::string& word : words->second)
            EXPECT_NE(std::string::npos, text.find(word)) << file.filename() << " lacks " << word;
    }
    EXPECT_EQ(kWords.size(), static_cast<size_t>(nChecked));
}
} // namespace
