// How far the library has come in the files it attaches, followed through the descriptor it holds open.
#include "tools/mapipim/AttachingProgress.h"

#include "tools/mapipim/Text.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using cli::AttachedFileBytes;
using cli::WideText;

namespace
{
class AttachedFileBytesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_directory = std::filesystem::temp_directory_path() / ("attached-file-bytes-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_directory);
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    std::string MakeFile(const std::string& name, size_t bytes)
    {
        const std::string path = (m_directory / name).string();
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path;
    }

    // Opens the file as the library does and reads so far into it; returns the descriptor.
    int OpenAt(const std::string& path, off_t position)
    {
        const int fd = open(path.c_str(), O_RDONLY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(lseek(fd, position, SEEK_SET), position);
        return fd;
    }

    std::filesystem::path m_directory;
};

TEST_F(AttachedFileBytesTest, TheTotalIsTheSizeOfTheFilesListed)
{
    const std::string a = MakeFile("a.txt", 1000), b = MakeFile("b.bin", 3000);
    const AttachedFileBytes files(WideText(a + ";" + b));
    EXPECT_FALSE(files.IsEmpty());
    EXPECT_EQ(files.Total(), 4000);
    EXPECT_EQ(files.Label(), "Attaching 2 files");
    EXPECT_EQ(AttachedFileBytes(WideText(b)).Label(), "Attaching b.bin");
}

TEST_F(AttachedFileBytesTest, CommasSeparateTheListAsSemicolonsDo)
{
    const std::string a = MakeFile("a.txt", 1000), b = MakeFile("b.bin", 3000);
    EXPECT_EQ(AttachedFileBytes(WideText(a + "," + b)).Total(), 4000);
}

TEST_F(AttachedFileBytesTest, NamesOfAttachmentsAlreadyThereAndMissingFilesAreNoWork)
{
    const std::string a = MakeFile("a.txt", 1000);
    const AttachedFileBytes files(WideText("notes.txt;" + a + ";" + (m_directory / "gone.bin").string() + ";;"));
    EXPECT_EQ(files.Total(), 1000);
    EXPECT_EQ(files.Label(), "Attaching a.txt");
    EXPECT_TRUE(AttachedFileBytes(WideText("notes.txt;plan")).IsEmpty());
    EXPECT_TRUE(AttachedFileBytes(WideText(m_directory.string())).IsEmpty()) << "a directory is no file";
    EXPECT_TRUE(AttachedFileBytes(CString()).IsEmpty());
}

TEST_F(AttachedFileBytesTest, TheBytesDoneFollowTheFileOpenAndCountTheFilesBeforeIt)
{
    const std::string a = MakeFile("a.txt", 1000), b = MakeFile("b.bin", 3000);
    AttachedFileBytes files(WideText(a + ";" + b));
    EXPECT_EQ(files.BytesDone(), 0) << "nothing open yet";

    int fd = OpenAt(a, 400);
    EXPECT_EQ(files.BytesDone(), 400);
    close(fd);
    EXPECT_EQ(files.BytesDone(), 400) << "between two files the count stays";

    fd = OpenAt(b, 1024);
    EXPECT_EQ(files.BytesDone(), 1000 + 1024);
    close(fd);
}

TEST_F(AttachedFileBytesTest, TheCountNeverGoesBackNorPastAFilesSize)
{
    const std::string a = MakeFile("a.txt", 1000), b = MakeFile("b.bin", 3000);
    AttachedFileBytes files(WideText(a + ";" + b));
    int fd = OpenAt(b, 2000);
    EXPECT_EQ(files.BytesDone(), 3000);
    close(fd);
    fd = OpenAt(a, 10);
    EXPECT_EQ(files.BytesDone(), 3000) << "a file before the one seen last is done";
    close(fd);
    fd = OpenAt(b, 9000); // beyond its end
    EXPECT_EQ(files.BytesDone(), 4000);
    close(fd);
}
} // namespace
