// The operating system's directory search behind CFileFind: FindFirstFileW on Windows; on Linux the directory is
// read once, filtered by the pattern ("*" any run of characters, "?" one character, "*.*" everything; matched
// case-sensitively like the Linux file system itself) and sorted by name.
#pragma once

#include "platform/platform.h"

#include <memory>

namespace mapipim
{
struct FoundFile
{
    CString strName;
    bool bDirectory = false;
    bool bReadOnly = false;
    ULONGLONG nLength = 0; // 0 for directories
    FILETIME lastWriteTime = {0, 0};
};

class DirectoryScan
{
public:
    // Null when nothing matches the pattern (GetLastError says why).
    static std::unique_ptr<DirectoryScan> Start(LPCWSTR pszPattern, FoundFile& first);
    ~DirectoryScan();
    DirectoryScan(const DirectoryScan&) = delete;
    DirectoryScan& operator=(const DirectoryScan&) = delete;

    bool Next(FoundFile& next);

private:
    struct State;
    explicit DirectoryScan(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};
} // namespace mapipim
