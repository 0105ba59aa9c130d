// Finding how far this process has come in a file it holds open.
#include "tools/mapipim/OpenFilePosition.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using cli::OpenFilePosition;

namespace
{
class OpenFilePositionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_directory = std::filesystem::temp_directory_path() / ("open-file-position-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_directory);
        m_path = (m_directory / "data.bin").string();
        std::ofstream(m_path, std::ios::binary) << std::string(10000, 'x');
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    std::filesystem::path m_directory;
    std::string m_path;
};

TEST_F(OpenFilePositionTest, TheDescriptorsPositionAfterAReadIsReported)
{
    const int fd = open(m_path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buffer[4096];
    ASSERT_EQ(read(fd, buffer, sizeof buffer), 4096);
    EXPECT_EQ(OpenFilePosition(m_path), 4096);
    ASSERT_EQ(read(fd, buffer, 1000), 1000);
    EXPECT_EQ(OpenFilePosition(m_path), 5096);
    close(fd);
}

TEST_F(OpenFilePositionTest, AFileOpenedByAnotherPathIsFoundAsTheSameFile)
{
    const std::string link = (m_directory / "link.bin").string();
    std::filesystem::create_symlink(m_path, link);
    const int fd = open(link.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, 777, SEEK_SET), 777);
    EXPECT_EQ(OpenFilePosition(m_path), 777);
    close(fd);
}

TEST_F(OpenFilePositionTest, AFileNobodyHasOpenGivesNothing)
{
    EXPECT_FALSE(OpenFilePosition(m_path).has_value());
    const int fd = open(m_path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_FALSE(OpenFilePosition(m_path).has_value()) << "a closed descriptor is no longer found";
}

TEST_F(OpenFilePositionTest, AnotherOpenFileIsNotTakenForIt)
{
    const std::string other = (m_directory / "other.bin").string();
    std::ofstream(other, std::ios::binary) << std::string(100, 'y');
    const int fd = open(other.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, 50, SEEK_SET), 50);
    EXPECT_FALSE(OpenFilePosition(m_path).has_value());
    close(fd);
}

TEST_F(OpenFilePositionTest, AMissingFileGivesNothing)
{
    EXPECT_FALSE(OpenFilePosition((m_directory / "missing.bin").string()).has_value());
}
} // namespace
