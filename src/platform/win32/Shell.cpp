// The shell's documents folder: on Linux the XDG documents folder of the user.
#include "platform/platform.h"
#include "platform/win32/PosixPath.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string GetEnv(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? pszValue : "";
}

std::string HomeFolder()
{
    std::string strHome = GetEnv("HOME");
    if (!strHome.empty())
        return strHome;
    struct passwd entry = {};
    struct passwd* pResult = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &pResult) == 0 && pResult && pResult->pw_dir)
        return pResult->pw_dir;
    return "";
}

// user-dirs.dirs writes a folder as "$HOME/..." or as an absolute path; anything else is not a usable value.
std::string ExpandUserDir(std::string strValue, const std::string& strHome)
{
    if (strValue.compare(0, 5, "$HOME") == 0)
        strValue = strHome + strValue.substr(5);
    if (strValue.empty() || strValue[0] != '/')
        return "";
    while (strValue.size() > 1 && strValue.back() == '/')
        strValue.pop_back();
    return strValue;
}

// The value of XDG_DOCUMENTS_DIR in a user-dirs.dirs line, with the shell quoting removed; empty for other lines.
std::string DocumentsEntry(const std::string& strLine)
{
    static const std::string strKey = "XDG_DOCUMENTS_DIR=";
    const size_t nStart = strLine.find_first_not_of(" \t");
    if (nStart == std::string::npos || strLine.compare(nStart, strKey.size(), strKey) != 0)
        return "";
    std::string strValue;
    bool bEscaped = false;
    for (size_t i = nStart + strKey.size(); i < strLine.size(); ++i)
    {
        const char ch = strLine[i];
        if (bEscaped)
        {
            strValue += ch;
            bEscaped = false;
        }
        else if (ch == '\\')
            bEscaped = true;
        else if (ch != '"')
            strValue += ch;
    }
    return strValue;
}

std::string DocumentsFromUserDirs(const std::string& strHome)
{
    std::string strConfig = GetEnv("XDG_CONFIG_HOME");
    if (strConfig.empty() || strConfig[0] != '/')
        strConfig = strHome + "/.config";
    std::ifstream file(strConfig + "/user-dirs.dirs");
    std::string strLine;
    std::string strFolder;
    while (std::getline(file, strLine))
    {
        const std::string strValue = DocumentsEntry(strLine);
        if (!strValue.empty())
            strFolder = ExpandUserDir(strValue, strHome);
    }
    return strFolder;
}

std::string DocumentsFolder()
{
    const std::string strHome = HomeFolder();
    std::string strFolder = ExpandUserDir(GetEnv("XDG_DOCUMENTS_DIR"), strHome);
    if (strFolder.empty())
        strFolder = DocumentsFromUserDirs(strHome);
    if (strFolder.empty() && !strHome.empty())
        strFolder = ExpandUserDir(strHome + "/Documents", strHome);
    return strFolder;
}

bool CreateFolderChain(const std::string& strFolder)
{
    for (size_t nSlash = strFolder.find('/', 1);; nSlash = strFolder.find('/', nSlash + 1))
    {
        const std::string strPart = strFolder.substr(0, nSlash);
        if (mkdir(strPart.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (nSlash == std::string::npos)
            break;
    }
    struct stat info = {};
    return stat(strFolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

BOOL SHGetSpecialFolderPathW(HWND /*hwnd*/, LPWSTR pszPath, int csidl, BOOL fCreate)
{
    if (!pszPath || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_PERSONAL)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string strFolder = DocumentsFolder();
    if (strFolder.empty())
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::u16string strPath = mapipim::win32::FromPosixPath(strFolder);
    if (strPath.empty() || strPath.size() >= MAX_PATH)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if ((fCreate || (csidl & CSIDL_FLAG_CREATE)) && !CreateFolderChain(strFolder))
    {
        SetLastError(mapipim::win32::Win32ErrorFromErrno(errno));
        return FALSE;
    }
    strPath.copy(pszPath, strPath.size());
    pszPath[strPath.size()] = u'\0';
    return TRUE;
}
