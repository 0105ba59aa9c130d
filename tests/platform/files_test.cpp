// File calls on Windows paths, and the documents folder the shell reports.
#include "platform/platform.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace
{
std::u16string ToWide(const std::string& strText)
{
    return std::u16string(strText.begin(), strText.end());
}

class FilesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("mapipim_files_" + std::to_string(getpid()) + "_" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::u16string Windows(const std::string& strRelative) const
    {
        std::string strPath = (m_root / strRelative).string();
        for (char& ch : strPath)
            if (ch == '/')
                ch = '\\';
        return ToWide(strPath);
    }

    std::u16string DocumentsPath(BOOL fCreate = TRUE) const
    {
        WCHAR szPath[MAX_PATH] = {};
        if (!SHGetSpecialFolderPathW(nullptr, szPath, CSIDL_PERSONAL, fCreate))
            return u"<failed>";
        return szPath;
    }

    fs::path m_root;
};

void WriteFile(const fs::path& path, const std::string& strContent = "x")
{
    std::ofstream(path) << strContent;
}
} // namespace

TEST_F(FilesTest, BackslashPathsReachPosixFiles)
{
    fs::create_directories(m_root / "sub");
    WriteFile(m_root / "sub" / "a.txt");

    EXPECT_EQ(GetFileAttributesW(Windows("sub/a.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(Windows("sub").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(DeleteFileW(Windows("sub/a.txt").c_str()));
    EXPECT_FALSE(fs::exists(m_root / "sub" / "a.txt"));
}

TEST_F(FilesTest, MissingFilesReportWindowsErrors)
{
    EXPECT_EQ(GetFileAttributesW(Windows("none.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileW(Windows("none.txt").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileW(nullptr));
    EXPECT_EQ(GetFileAttributesW(nullptr), INVALID_FILE_ATTRIBUTES);
    const WCHAR szBroken[] = {u'/', 0xD800, u'x', 0};
    EXPECT_EQ(GetFileAttributesW(szBroken), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesTest, DeleteFileRefusesDirectories)
{
    fs::create_directories(m_root / "dir");
    EXPECT_FALSE(DeleteFileW(Windows("dir").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(fs::is_directory(m_root / "dir"));
}

TEST_F(FilesTest, CreateDirectoryNeedsItsParentAndRefusesExisting)
{
    EXPECT_TRUE(CreateDirectoryW(Windows("new").c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(m_root / "new"));
    EXPECT_FALSE(CreateDirectoryW(Windows("new").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(Windows("missing/child").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FilesTest, NonAsciiNamesRoundTrip)
{
    WriteFile(m_root / "Bj\xC3\xB6rk \xE2\x82\xAC.txt");
    std::u16string strPath = Windows("") + u"Bj\u00F6rk \u20AC.txt";
    EXPECT_EQ(GetFileAttributesW(strPath.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(strPath.c_str()));
}

TEST_F(FilesTest, DocumentsFolderHonoursXdgVariable)
{
    ScopedEnv docs("XDG_DOCUMENTS_DIR", (m_root / "MyDocs").string());
    EXPECT_EQ(DocumentsPath(), ToWide((m_root / "MyDocs").string()));
    EXPECT_TRUE(fs::is_directory(m_root / "MyDocs"));
}

TEST_F(FilesTest, DocumentsFolderComesFromUserDirsFile)
{
    ScopedEnv docs("XDG_DOCUMENTS_DIR", nullptr);
    ScopedEnv home("HOME", m_root.string());
    ScopedEnv config("XDG_CONFIG_HOME", (m_root / "cfg").string());
    fs::create_directories(m_root / "cfg");
    WriteFile(m_root / "cfg" / "user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                                 "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                 "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente/\"\n");
    EXPECT_EQ(DocumentsPath(), ToWide((m_root / "Dokumente").string()));
    EXPECT_TRUE(fs::is_directory(m_root / "Dokumente"));
}

TEST_F(FilesTest, DocumentsFolderFallsBackToHomeDocuments)
{
    ScopedEnv docs("XDG_DOCUMENTS_DIR", nullptr);
    ScopedEnv home("HOME", (m_root / "home" / "user").string());
    ScopedEnv config("XDG_CONFIG_HOME", (m_root / "nowhere").string());

    EXPECT_EQ(DocumentsPath(FALSE), ToWide((m_root / "home/user/Documents").string()));
    EXPECT_FALSE(fs::exists(m_root / "home/user/Documents"));
    EXPECT_EQ(DocumentsPath(TRUE), ToWide((m_root / "home/user/Documents").string()));
    EXPECT_TRUE(fs::is_directory(m_root / "home/user/Documents"));
}

TEST_F(FilesTest, DocumentsFolderRejectsOtherFoldersAndLongPaths)
{
    WCHAR szPath[MAX_PATH] = {};
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, szPath, 0x0010, TRUE));
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, nullptr, CSIDL_PERSONAL, TRUE));

    ScopedEnv docs("XDG_DOCUMENTS_DIR", "/" + std::string(MAX_PATH, 'd'));
    szPath[0] = u'?';
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, szPath, CSIDL_PERSONAL, FALSE));
    EXPECT_EQ(szPath[0], u'?');
}

TEST(ModuleTest, OwnModuleHasAHandle)
{
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleW(u"no-such-module.dll"), nullptr);
}
