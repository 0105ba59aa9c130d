#include "platform/afx/DirectoryScan.h"

#if defined(_WIN32)
namespace mapipim
{
struct DirectoryScan::State
{
    HANDLE hFind = INVALID_HANDLE_VALUE;
};

namespace
{
void Describe(const WIN32_FIND_DATAW& data, FoundFile& file)
{
    file.strName = data.cFileName;
    file.bDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    file.bReadOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    file.nLength = file.bDirectory ? 0 : (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    file.lastWriteTime = data.ftLastWriteTime;
}
} // namespace

std::unique_ptr<DirectoryScan> DirectoryScan::Start(LPCWSTR pszPattern, FoundFile& first)
{
    WIN32_FIND_DATAW data;
    auto state = std::make_unique<State>();
    state->hFind = FindFirstFileW(pszPattern, &data);
    if (state->hFind == INVALID_HANDLE_VALUE)
        return nullptr;
    Describe(data, first);
    return std::unique_ptr<DirectoryScan>(new DirectoryScan(std::move(state)));
}

DirectoryScan::~DirectoryScan()
{
    FindClose(m_state->hFind);
}

bool DirectoryScan::Next(FoundFile& next)
{
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(m_state->hFind, &data))
        return false;
    Describe(data, next);
    return true;
}
} // namespace mapipim
#else
#include "platform/afx/PathText.h"
#include "platform/win32/PosixPath.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace mapipim
{
struct DirectoryScan::State
{
    std::vector<FoundFile> files;
    size_t nNext = 0;
};

namespace
{
bool HasWildcards(const CString& strPattern)
{
    return strPattern.FindOneOf(_T("*?")) >= 0;
}

// "*" matches any run of characters, "?" exactly one; backtracks to the last "*" on a mismatch.
bool Matches(const WCHAR* pPattern, const WCHAR* pName)
{
    const WCHAR* pStar = nullptr;
    const WCHAR* pResume = nullptr;
    while (*pName != 0)
    {
        if (*pPattern == '*')
        {
            pStar = pPattern++;
            pResume = pName;
        }
        else if (*pPattern == '?' || *pPattern == *pName)
        {
            ++pPattern;
            ++pName;
        }
        else if (pStar != nullptr)
        {
            pPattern = pStar + 1;
            pName = ++pResume;
        }
        else
            return false;
    }
    while (*pPattern == '*')
        ++pPattern;
    return *pPattern == 0;
}

FILETIME FileTimeOf(const timespec& time)
{
    constexpr unsigned long long kUnixEpochInTicks = 116444736000000000ULL;
    const unsigned long long ticks = kUnixEpochInTicks + static_cast<unsigned long long>(time.tv_sec) * 10000000ULL +
                                     static_cast<unsigned long long>(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// A dangling symbolic link is described by the link itself.
bool Describe(const std::string& path, const CString& strName, FoundFile& file)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0)
        return false;
    file.strName = strName;
    file.bDirectory = S_ISDIR(info.st_mode);
    file.bReadOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    file.nLength = file.bDirectory ? 0 : static_cast<ULONGLONG>(info.st_size);
    file.lastWriteTime = FileTimeOf(info.st_mtim);
    return true;
}

void ListMatches(const CString& strDirectory, const CString& strNamePattern, std::vector<FoundFile>& files)
{
    std::string directory = ".";
    if (!strDirectory.IsEmpty() && !win32::ToPosixPath(strDirectory, directory))
        return;
    DIR* pDirectory = opendir(directory.c_str());
    if (pDirectory == nullptr)
        return;
    while (const dirent* pEntry = readdir(pDirectory))
    {
        const CString strName = CString::FromUtf8(pEntry->d_name);
        FoundFile file;
        if (Matches(strNamePattern, strName) && Describe(directory + "/" + pEntry->d_name, strName, file))
            files.push_back(file);
    }
    closedir(pDirectory);
    std::sort(files.begin(), files.end(),
              [](const FoundFile& left, const FoundFile& right) { return left.strName < right.strName; });
}
} // namespace

std::unique_ptr<DirectoryScan> DirectoryScan::Start(LPCWSTR pszPattern, FoundFile& first)
{
    const CString strPattern(pszPattern);
    const int iName = FileNameStart(strPattern);
    CString strNamePattern = strPattern.Mid(iName);
    auto state = std::make_unique<State>();
    if (strNamePattern == _T("*.*"))
        strNamePattern = _T("*");
    FoundFile file;
    std::string path;
    if (HasWildcards(strNamePattern))
        ListMatches(strPattern.Left(iName), strNamePattern, state->files);
    else if (!strNamePattern.IsEmpty() && win32::ToPosixPath(strPattern, path) && Describe(path, strNamePattern, file))
        state->files.push_back(file);
    if (state->files.empty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    first = state->files.front();
    state->nNext = 1;
    return std::unique_ptr<DirectoryScan>(new DirectoryScan(std::move(state)));
}

DirectoryScan::~DirectoryScan() = default;

bool DirectoryScan::Next(FoundFile& next)
{
    if (m_state->nNext >= m_state->files.size())
        return false;
    next = m_state->files[m_state->nNext++];
    return true;
}
} // namespace mapipim
#endif

mapipim::DirectoryScan::DirectoryScan(std::unique_ptr<State> state) : m_state(std::move(state)) {}
