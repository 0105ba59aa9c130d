// Damaged and hostile data files: each is made in the test, from scratch or from a sample's bytes, and each
// fails with one trace line and leaves no store behind, or imports what can be read and counts what cannot.
#include <mapipim/mapisvc.h>

#include "platform/mapi/Text.h"
#include "platform/mapi/pst/DataFile.h"
#include "platform/trace/TraceCapture.h"
#include "support/DataFileSamples.h"
#include "support/ServiceFixture.h"

#include <algorithm>
#include <cstring>

using namespace datafiletest;

namespace
{
const char kSample[] = "mail_attachments_embedded_aspose_unicode.pst";

// The checksum of the file's pages: CRC-32 (reflected polynomial 0xEDB88320) from 0, without a final inversion.
uint32_t PageChecksum(const char* data, size_t size)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc;
}

template <class T> T ReadAt(const std::string& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <class T> void WriteAt(std::string& bytes, size_t offset, T value)
{
    std::memcpy(&bytes[offset], &value, sizeof(T));
}

// Makes the IPM subtree (node 0x8022) a child of its own Deleted Items (0x8062) in every node-index page of a
// Unicode file, the pages' checksums kept right, so the folder references form a cycle.
std::string WithCyclicFolders(std::string bytes)
{
    const size_t kPage = 512, kTrailer = 496;
    int patched = 0;
    for (size_t offset = 0; offset + 32 <= bytes.size(); offset += 8)
    {
        if (ReadAt<uint64_t>(bytes, offset) != 0x8022 || ReadAt<uint32_t>(bytes, offset + 24) != 0x122)
            continue;
        const size_t page = offset - offset % kPage;
        if (ReadAt<uint32_t>(bytes, page + kTrailer + 4) != PageChecksum(&bytes[page], kTrailer))
            continue;
        WriteAt<uint32_t>(bytes, offset + 24, 0x8062);
        WriteAt<uint32_t>(bytes, page + kTrailer + 4, PageChecksum(&bytes[page], kTrailer));
        ++patched;
    }
    EXPECT_GT(patched, 0);
    return bytes;
}

class DamagedFileTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(&m_profile), S_OK);
        m_file = fs::path(mapisvc::GetHome()) / "damaged.pst";
    }

    std::optional<std::string> SampleBytes()
    {
        const auto file = Sample(kSample);
        return file ? std::optional<std::string>(ReadBytes(*file)) : std::nullopt;
    }

    // Imports `bytes` as a file and checks that it failed with one trace line and left no store.
    void ExpectCleanFailure(const std::string& bytes, const std::u16string& reason)
    {
        WriteBytes(m_file, bytes);
        const size_t storesBefore = StoreCount();
        mapipim::TraceCapture trace;
        mapisvc::ImportResult result;
        EXPECT_EQ(mapisvc::ImportDataFile(m_profile, m_file.string(), {}, result), MAPI_E_CORRUPT_DATA);
        EXPECT_TRUE(result.store.empty());
        EXPECT_EQ(result.items, 0u);
        const std::vector<CString> lines = trace.GetLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(lines[0])), u"[MAPI] ImportDataFile failed : " + reason);
        EXPECT_EQ(StoreCount(), storesBefore);
    }

    size_t StoreCount() const
    {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(mapisvc::GetHome()) / "stores"))
            count += entry.path().extension() == ".db";
        return count;
    }

    std::u16string m_profile;
    fs::path m_file;
};

const std::u16string kUnopenable = u"libpff_file_open: unable to open file: ";

TEST_F(DamagedFileTest, FilesThatAreNoDataFilesFailInOneLine)
{
    ExpectCleanFailure(std::string(), u"not an Outlook data file");
    ExpectCleanFailure("!BD", u"not an Outlook data file");
    ExpectCleanFailure("XXXX" + std::string(4096, '\0'), u"not an Outlook data file");
    // A file of another kind that begins like one: a compound file (.msg) and text.
    ExpectCleanFailure(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(4096, '\0'),
                       u"not an Outlook data file");
    ExpectCleanFailure("!BDX this is a letter, not an archive", u"not an Outlook data file");
    // The signature alone, with nothing behind it that holds together.
    ExpectCleanFailure("!BDN" + std::string(100000, '\0'), kUnopenable + m_file.u16string() + u".");
}

TEST_F(DamagedFileTest, TruncatedFilesFailInOneLine)
{
    const auto bytes = SampleBytes();
    if (!bytes)
        GTEST_SKIP() << "sample absent";
    ExpectCleanFailure(bytes->substr(0, 512), kUnopenable + m_file.u16string() + u".");
    ExpectCleanFailure(bytes->substr(0, bytes->size() / 2), kUnopenable + m_file.u16string() + u".");
}

TEST_F(DamagedFileTest, AbsurdSizesAndOffsetsFailInOneLine)
{
    auto bytes = SampleBytes();
    if (!bytes)
        GTEST_SKIP() << "sample absent";
    // The header's end of file and the node index's place, far beyond the file.
    std::string eof = *bytes;
    WriteAt<uint64_t>(eof, 0xB8, uint64_t(1) << 62);
    ExpectCleanFailure(eof, kUnopenable + m_file.u16string() + u".");
    std::string index = *bytes;
    WriteAt<uint64_t>(index, 0xD8, uint64_t(1) << 60);
    WriteAt<uint64_t>(index, 0xE0, uint64_t(1) << 60);
    ExpectCleanFailure(index, kUnopenable + m_file.u16string() + u".");
}

TEST_F(DamagedFileTest, CyclicFolderReferencesFailInOneLine)
{
    const auto bytes = SampleBytes();
    if (!bytes)
        GTEST_SKIP() << "sample absent";
    ExpectCleanFailure(WithCyclicFolders(*bytes), kUnopenable + m_file.u16string() + u".");
}

TEST_F(DamagedFileTest, AnUnreadableItemIsSkippedNamedAndCounted)
{
    auto bytes = SampleBytes();
    if (!bytes)
        GTEST_SKIP() << "sample absent";
    // A byte of the properties of the fifth item of Sent Items.
    (*bytes)[30000] ^= static_cast<char>(0xFF);
    WriteBytes(m_file, *bytes);
    mapipim::TraceCapture trace;
    mapisvc::ImportResult result;
    ASSERT_EQ(mapisvc::ImportDataFile(m_profile, m_file.string(), {}, result), S_OK);
    EXPECT_EQ(result.items, 16u);
    EXPECT_EQ(result.skipped, 1u);
    EXPECT_EQ(result.folders, 23u);
    const std::vector<CString> lines = trace.GetLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(lines[0])),
              u"[MAPI] ImportDataFile - item 5 of Top of Personal Folders/Sent Items skipped : "
              u"libpff_item_get_record_set_by_index: unable to read item values.");
}

// Damage anywhere in a file: each copy with a run of bytes overwritten either imports (what can be read; what
// cannot is skipped and counted) or fails with one line and no store.
TEST_F(DamagedFileTest, DamageAnywhereImportsWhatCanBeReadOrFailsCleanly)
{
    const auto file = Sample("notes_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    const std::string original = ReadBytes(*file);
    int imported = 0, refused = 0;
    for (size_t offset = 0x200; offset < original.size(); offset += 0x2200)
    {
        std::string bytes = original;
        for (size_t i = offset; i < std::min(bytes.size(), offset + 64); ++i)
            bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
        WriteBytes(m_file, bytes);
        const size_t storesBefore = StoreCount();
        mapipim::TraceCapture trace;
        mapisvc::ImportOptions options;
        options.storeName = u"Copy " + mapisvc::FromUtf8(std::to_string(offset));
        mapisvc::ImportResult result;
        const HRESULT hr = mapisvc::ImportDataFile(m_profile, m_file.string(), options, result);
        if (hr == S_OK)
        {
            ++imported;
            EXPECT_EQ(result.items + result.skipped, 3u) << offset;
            EXPECT_EQ(trace.GetLines().size(), result.skipped) << offset;
            EXPECT_EQ(StoreCount(), storesBefore + 1) << offset;
        }
        else
        {
            ++refused;
            EXPECT_EQ(hr, MAPI_E_CORRUPT_DATA) << offset;
            EXPECT_EQ(trace.GetLines().size(), 1u) << offset;
            EXPECT_EQ(StoreCount(), storesBefore) << offset;
        }
    }
    EXPECT_GT(imported, 0);
    EXPECT_GT(refused, 0);
}

// A file cut short behind its last used block still opens; what a value may ask for is bounded by the bytes
// that are there, not by the larger size its header states.
TEST_F(DamagedFileTest, AFileShorterThanItsHeaderSaysIsMeasuredByItsBytes)
{
    const auto file = Sample("notes_aspose_unicode.pst");
    if (!file)
        GTEST_SKIP() << "sample absent";
    const std::string bytes = ReadBytes(*file);
    const std::string shorter = bytes.substr(0, bytes.size() - 4096);
    WriteBytes(m_file, shorter);
    std::unique_ptr<mapisvc::pst::DataFile> opened;
    std::string reason;
    ASSERT_TRUE(mapisvc::pst::DataFile::Open(m_file.string(), opened, reason)) << reason;
    EXPECT_EQ(opened->Size(), shorter.size());
    opened.reset();
    mapisvc::ImportResult result;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, m_file.string(), {}, result), S_OK) << result.reason;
    EXPECT_EQ(result.items, 3u);
}

TEST_F(DamagedFileTest, ADirectoryNamedLikeADataFileFailsInOneLine)
{
    fs::create_directory(m_file);
    mapipim::TraceCapture trace;
    mapisvc::ImportResult result;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, m_file.string(), {}, result), MAPI_E_CORRUPT_DATA);
    EXPECT_EQ(result.reason, "not an Outlook data file");
    EXPECT_EQ(trace.GetLines().size(), 1u);
    EXPECT_TRUE(result.store.empty());
}

TEST_F(DamagedFileTest, AMissingFileFailsInOneLine)
{
    mapipim::TraceCapture trace;
    mapisvc::ImportResult result;
    EXPECT_EQ(mapisvc::ImportDataFile(m_profile, (m_file.string() + ".none"), {}, result), MAPI_E_NOT_FOUND);
    EXPECT_EQ(result.reason, "cannot read " + m_file.string() + ".none");
    EXPECT_EQ(trace.GetLines().size(), 1u);
}
} // namespace
