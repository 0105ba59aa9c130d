#include "platform/platform.h"

#include "support/AfxPrinters.h"
#include "support/PosixShims.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
class FileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "afx-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        m_directory = pattern;
    }
    void TearDown() override
    {
        std::filesystem::permissions(m_directory, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(m_directory);
    }

    // The path of a name inside the test directory, written the Windows way with a backslash.
    CString PathOf(const char* pszName) const
    {
        return CString::FromUtf8(m_directory.c_str()) + _T("\\") + CString::FromUtf8(pszName);
    }
    // The path as the system writes it back: with the system's own separator.
    CString NativePathOf(const char* pszName) const
    {
        return CString::FromUtf8((std::filesystem::path(m_directory) / pszName).string().c_str());
    }
    void WriteFile(const char* pszName, const std::string& content) const
    {
        std::ofstream(m_directory + "/" + pszName, std::ios::binary) << content;
    }
    std::string ReadFile(const char* pszName) const
    {
        std::ifstream stream(m_directory + "/" + pszName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    std::string m_directory;
};

TEST_F(FileTest, WriteThenReadRoundTrip)
{
    const std::string content("binary\0data\xFF", 12);
    {
        CFile file;
        ASSERT_TRUE(file.Open(PathOf("round.bin"), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        EXPECT_EQ(file.Write(content.data(), static_cast<UINT>(content.size())), content.size());
        EXPECT_EQ(file.GetLength(), content.size());
    } // the destructor closes
    CFile file(PathOf("round.bin"), CFile::modeRead | CFile::shareDenyNone);
    ASSERT_TRUE(file.IsOpen());
    std::vector<char> buffer(64);
    EXPECT_EQ(file.Read(buffer.data(), 64), content.size());
    EXPECT_EQ(std::string(buffer.data(), content.size()), content);
    EXPECT_EQ(file.Read(buffer.data(), 64), 0u);
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate)
{
    WriteFile("existing.txt", "old content");
    {
        CFile file(PathOf("existing.txt"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.SeekToEnd(), 11u);
        file.Write("+", 1);
    }
    EXPECT_EQ(ReadFile("existing.txt"), "old content+");
    {
        CFile file(PathOf("existing.txt"), CFile::modeCreate | CFile::modeWrite);
        ASSERT_TRUE(file.IsOpen());
        file.Write("new", 3);
    }
    EXPECT_EQ(ReadFile("existing.txt"), "new");
}

TEST_F(FileTest, SeekPositionAndLength)
{
    WriteFile("seek.txt", "0123456789");
    CFile file(PathOf("seek.txt"), CFile::modeReadWrite);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
    char ch = 0;
    file.Read(&ch, 1);
    EXPECT_EQ(ch, '4');
    EXPECT_EQ(file.Seek(-2, CFile::current), 3u);
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(file.Seek(-1, CFile::end), 9u);
    EXPECT_EQ(file.Seek(-100, CFile::begin), static_cast<ULONGLONG>(-1));
    EXPECT_EQ(file.Seek(0, 7), static_cast<ULONGLONG>(-1));
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_TRUE(file.SetLength(5));
    EXPECT_EQ(file.GetLength(), 5u);
}

TEST_F(FileTest, NamesComeFromTheFullPath)
{
    WriteFile("report.final.txt", "x");
    CFile file(PathOf("report.final.txt"), CFile::modeRead);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetFileName(), _T("report.final.txt"));
    EXPECT_EQ(file.GetFileTitle(), _T("report.final"));
    EXPECT_EQ(file.GetFilePath(), NativePathOf("report.final.txt"));
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
}

TEST_F(FileTest, FailuresAreResultsNotExceptions)
{
    CFile file;
    EXPECT_FALSE(file.Open(PathOf("missing.txt"), CFile::modeRead));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_FALSE(file.Open(PathOf("no-such-dir\\x.txt"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(file.Open(CString::FromUtf8(m_directory.c_str()), CFile::modeRead)); // a directory
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, 4), 0u);
    EXPECT_EQ(file.Write("abc", 3), 0u);
    EXPECT_EQ(file.GetLength(), 0u);

    WriteFile("readonly.txt", "x");
    ASSERT_TRUE(file.Open(PathOf("readonly.txt"), CFile::modeRead));
    EXPECT_EQ(file.Write("abc", 3), 0u); // opened for reading only: the write reports nothing written
}

TEST_F(FileTest, FindFileWithWildcards)
{
    WriteFile("a.txt", "1");
    WriteFile("b.txt", "22");
    WriteFile("c.log", "333");
    WriteFile("ab.txt", "4444");
    std::filesystem::create_directory(m_directory + "/sub.txt");

    CFileFind find;
    std::vector<CString> names;
    for (BOOL bMore = find.FindFile(PathOf("*.txt")); bMore;)
    {
        bMore = find.FindNextFile();
        names.push_back(find.GetFileName() + (find.IsDirectory() ? _T("/") : _T("")));
    }
    EXPECT_EQ(names, (std::vector<CString>{_T("a.txt"), _T("ab.txt"), _T("b.txt"), _T("sub.txt/")}));

    ASSERT_TRUE(find.FindFile(PathOf("?.txt")));
    EXPECT_TRUE(find.FindNextFile());
    EXPECT_EQ(find.GetFileName(), _T("a.txt"));
    EXPECT_EQ(find.GetLength(), 1u);
    EXPECT_EQ(find.GetFilePath(), NativePathOf("a.txt"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(find.GetFileName(), _T("b.txt"));
    EXPECT_FALSE(find.FindNextFile());

    EXPECT_FALSE(find.FindFile(PathOf("*.doc")));
    EXPECT_TRUE(find.GetFileName().IsEmpty());
}

TEST_F(FileTest, FindFileAllEntriesAndDots)
{
    WriteFile("file", "x");
    std::filesystem::create_directory(m_directory + "/dir");
    CFileFind find;
    int nDots = 0;
    int nDirectories = 0;
    int nFiles = 0;
    for (BOOL bMore = find.FindFile(PathOf("*.*")); bMore;)
    {
        bMore = find.FindNextFile();
        if (find.IsDots())
            ++nDots;
        else if (find.IsDirectory())
            ++nDirectories;
        else
            ++nFiles;
    }
    EXPECT_EQ(nDots, 2);
    EXPECT_EQ(nDirectories, 1);
    EXPECT_EQ(nFiles, 1);
}

TEST_F(FileTest, FindFileAsExistenceTest)
{
    WriteFile("picture.jpg", "jpeg");
    CFileFind find;
    EXPECT_TRUE(find.FindFile(PathOf("picture.jpg")));
    EXPECT_TRUE(find.FindFile(CString::FromUtf8((m_directory + "/picture.jpg").c_str())));
    // Names differ by case where the file system does (Linux); Windows' file systems ignore case.
    EXPECT_EQ(find.FindFile(PathOf("Picture.jpg")) != FALSE, std::filesystem::exists(m_directory + "/Picture.jpg"));
    EXPECT_FALSE(find.FindFile(PathOf("")));
    EXPECT_TRUE(find.FindFile(CString::FromUtf8(m_directory.c_str())));
    find.FindNextFile();
    EXPECT_TRUE(find.IsDirectory());
    FILETIME written{};
    EXPECT_TRUE(find.GetLastWriteTime(&written));
    EXPECT_NE(written.dwHighDateTime, 0u);
    find.Close();
    EXPECT_FALSE(find.FindNextFile());
}
} // namespace
