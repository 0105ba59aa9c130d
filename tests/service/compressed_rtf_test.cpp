// The compressed-RTF codec: the published examples byte for byte, the uncompressed form, round trips of text
// that exercises the ring (long, repetitive, past one turn of the dictionary), and every kind of damage.
#include "platform/mapi/CompressedRtf.h"

#include <gtest/gtest.h>

#include <random>

using mapisvc::CompressRtf;
using mapisvc::CompressedRtfCrc;
using mapisvc::DecompressRtf;
using mapisvc::RtfDecodeResult;
using mapisvc::RtfDecodeStatus;
using mapisvc::StoreRtfUncompressed;

namespace
{
std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

const std::string kExample1Text = "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n";
const std::string kExample1 =
    Bytes({0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1, 0xc5, 0xc7, 0xa7, 0x03,
           0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32, 0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20, 0x68, 0x65,
           0x6c, 0x09, 0x00, 0x20, 0x62, 0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0});
const std::string kExample2Text = "{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}";
const std::string kExample2 = Bytes({0x1a, 0x00, 0x00, 0x00, 0x1c, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xe2, 0xd4,
                                     0x4b, 0x51, 0x41, 0x00, 0x04, 0x20, 0x57, 0x58, 0x59, 0x5a, 0x0d, 0x6e, 0x7d, 0x01,
                                     0x0e, 0xb0});
const std::string kUncompressedText = "{\\rtf1\\ansi\\ansicpg1252\\pard test}";

uint32_t Crc(const std::string& bytes)
{
    return CompressedRtfCrc(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void PutUInt32(std::string& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

RtfDecodeResult Decode(const std::string& stored, std::string& rtf)
{
    return DecompressRtf(stored, rtf);
}

// Text with the shape of real RTF: control words, repeated phrases and varying runs.
std::string RtfLikeText(size_t size, unsigned seed)
{
    static const char* const kWords[] = {"\\par ", "\\pard\\plain ", "hello ", "world ", "{\\f1 ", "}", "\\'e9",
                                         "Lorem ", "ipsum ", "\r\n", "\\fs20 ", "dolor "};
    std::mt19937 random(seed);
    std::string text = "{\\rtf1\\ansi\\ansicpg1252 ";
    while (text.size() < size)
    {
        if (random() % 5 == 0)
            text.push_back(static_cast<char>(0x20 + random() % 0x5f));
        else
            text += kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
    }
    text.resize(size);
    return text;
}

TEST(CompressedRtf, PublishedExamplesDecompressToTheirText)
{
    std::string rtf;
    EXPECT_EQ(RtfDecodeStatus::Ok, Decode(kExample1, rtf).status);
    EXPECT_EQ(kExample1Text, rtf);
    EXPECT_EQ(RtfDecodeStatus::Ok, Decode(kExample2, rtf).status);
    EXPECT_EQ(kExample2Text, rtf);
}

TEST(CompressedRtf, PublishedExamplesCompressToTheirBytes)
{
    EXPECT_EQ(kExample1, CompressRtf(kExample1Text));
    // A reference that runs past the write position into the bytes it produces itself.
    EXPECT_EQ(kExample2, CompressRtf(kExample2Text));
}

TEST(CompressedRtf, CrcOfTheExamplesContent)
{
    EXPECT_EQ(0xA7C7C5F1u, Crc(kExample1.substr(16)));
    EXPECT_EQ(0x514BD4E2u, Crc(kExample2.substr(16)));
    EXPECT_EQ(0u, Crc(std::string()));
}

TEST(CompressedRtf, UncompressedFormIsThePublishedOneAndReadsBack)
{
    const std::string stored = StoreRtfUncompressed(kUncompressedText);
    EXPECT_EQ(Bytes({0x2e, 0, 0, 0, 0x22, 0, 0, 0, 0x4d, 0x45, 0x4c, 0x41, 0, 0, 0, 0}) + kUncompressedText, stored);
    std::string rtf;
    EXPECT_EQ(RtfDecodeStatus::Ok, Decode(stored, rtf).status);
    EXPECT_EQ(kUncompressedText, rtf);
    // Readers tolerate any CRC in the uncompressed form.
    std::string withCrc = stored;
    PutUInt32(withCrc, 12, 0x12345678);
    EXPECT_EQ(RtfDecodeStatus::Ok, Decode(withCrc, rtf).status);
    EXPECT_EQ(kUncompressedText, rtf);
}

TEST(CompressedRtf, RoundTripsOfManyShapes)
{
    std::vector<std::string> texts = {"", "x", "ab", std::string(5000, 'a'), std::string(40000, ' ')};
    std::string binary;
    for (int i = 0; i < 9000; ++i)
        binary.push_back(static_cast<char>((i * 131 + i / 7) & 0xFF));
    texts.push_back(binary);
    for (size_t size : {100u, 4096u, 4097u, 10000u, 300000u})
        texts.push_back(RtfLikeText(size, static_cast<unsigned>(size)));
    for (const std::string& text : texts)
    {
        const std::string stored = CompressRtf(text);
        std::string rtf;
        const RtfDecodeResult result = Decode(stored, rtf);
        EXPECT_EQ(RtfDecodeStatus::Ok, result.status) << text.size() << ": " << result.reason;
        EXPECT_EQ(text, rtf) << text.size();
    }
}

TEST(CompressedRtf, TextCompresses)
{
    const std::string text = RtfLikeText(100000, 7);
    EXPECT_LT(CompressRtf(text).size(), text.size() / 2);
}

TEST(CompressedRtf, BytesBeyondCompsizeAreIgnored)
{
    std::string rtf;
    EXPECT_EQ(RtfDecodeStatus::Ok, Decode(kExample1 + "trailing garbage", rtf).status);
    EXPECT_EQ(kExample1Text, rtf);
}

TEST(CompressedRtf, WrongCrcOnACompleteStreamIsReportedButDecoded)
{
    std::string stored = kExample1;
    PutUInt32(stored, 12, 0xDEADBEEF);
    std::string rtf;
    const RtfDecodeResult result = Decode(stored, rtf);
    EXPECT_EQ(RtfDecodeStatus::CrcMismatch, result.status);
    EXPECT_EQ(0xDEADBEEFu, result.storedCrc);
    EXPECT_EQ(0xA7C7C5F1u, result.contentCrc);
    EXPECT_EQ(kExample1Text, rtf);
}

struct Damage
{
    const char* name;
    std::string stored;
};

std::vector<Damage> DamagedStreams()
{
    std::vector<Damage> cases;
    cases.push_back({"empty", std::string()});
    cases.push_back({"header cut short", kExample1.substr(0, 15)});
    std::string small = kExample1;
    PutUInt32(small, 0, 11);
    cases.push_back({"COMPSIZE below 12", small});
    std::string tooLarge = kExample1;
    PutUInt32(tooLarge, 0, 0x2e);
    cases.push_back({"COMPSIZE one past the stream", tooLarge});
    std::string huge = kExample1;
    PutUInt32(huge, 0, 0xFFFFFFFF);
    cases.push_back({"COMPSIZE of 4 GB", huge});
    // COMPSIZE that cuts the content before the end reference: the output stops short of RAWSIZE.
    std::string cut = kExample1.substr(0, 40);
    PutUInt32(cut, 0, 36);
    cases.push_back({"COMPSIZE too small", cut});
    std::string rawLarger = kExample1;
    PutUInt32(rawLarger, 4, 44);
    cases.push_back({"RAWSIZE not reached", rawLarger});
    std::string rawSmaller = kExample1;
    PutUInt32(rawSmaller, 4, 42);
    cases.push_back({"more than RAWSIZE", rawSmaller});
    std::string rawHuge = kExample1;
    PutUInt32(rawHuge, 4, 0xFFFFFFF0);
    cases.push_back({"RAWSIZE of 4 GB", rawHuge});
    // A first reference to 0x300, which nothing has written yet (the write position is 207).
    std::string past = Bytes({0x0e, 0, 0, 0, 0x04, 0, 0, 0, 0x4c, 0x5a, 0x46, 0x75, 0, 0, 0, 0, 0x01, 0x30, 0x02});
    cases.push_back({"reference past the output", past});
    std::string reference = Bytes({0x0d, 0, 0, 0, 0x04, 0, 0, 0, 0x4c, 0x5a, 0x46, 0x75, 0, 0, 0, 0, 0x01, 0x00});
    cases.push_back({"reference cut short", reference});
    std::string type = kExample1;
    type[8] = 'X';
    cases.push_back({"unknown COMPTYPE", type});
    std::string mela = StoreRtfUncompressed(kUncompressedText);
    PutUInt32(mela, 4, 35);
    cases.push_back({"uncompressed RAWSIZE past the content", mela});
    return cases;
}

TEST(CompressedRtf, DamagedStreamsAreErrorsNeverOutOfBounds)
{
    for (const Damage& damage : DamagedStreams())
    {
        // A copy of exactly the stream's size, so that the sanitizer sees any read past it.
        const std::string stored(damage.stored.begin(), damage.stored.end());
        std::string rtf;
        const RtfDecodeResult result = Decode(stored, rtf);
        EXPECT_EQ(RtfDecodeStatus::Damaged, result.status) << damage.name;
        EXPECT_FALSE(result.reason.empty()) << damage.name;
    }
}

TEST(CompressedRtf, EveryTruncationAndEveryFlippedByteIsHandled)
{
    const std::string stored = CompressRtf(RtfLikeText(3000, 3));
    std::string rtf;
    for (size_t size = 0; size < stored.size(); ++size)
    {
        std::string cut = stored.substr(0, size);
        EXPECT_EQ(RtfDecodeStatus::Damaged, Decode(cut, rtf).status) << size;
    }
    for (size_t i = 16; i < stored.size(); ++i)
    {
        std::string flipped = stored;
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
        // Either damaged or, when the change still decodes to RAWSIZE bytes, caught by the CRC.
        EXPECT_NE(RtfDecodeStatus::Ok, Decode(flipped, rtf).status) << i;
    }
}
} // namespace
