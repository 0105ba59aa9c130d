// A lock on a profile root held while the default profile is being set up, so that processes started together on
// a fresh root make it once and each waits for the others' setup to be complete. It is an advisory lock on a file
// of the root, which the system releases when its process ends, killed or not: a setup interrupted halfway leaves
// no lock behind, and the next process to take it completes what is missing.
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapisvc
{
class SetupLock
{
public:
    explicit SetupLock(std::string home) : m_home(std::move(home)) {}
    ~SetupLock();
    SetupLock(const SetupLock&) = delete;
    SetupLock& operator=(const SetupLock&) = delete;

    // Waits for the lock; MAPI_E_DISK_ERROR when the lock file cannot be made.
    HRESULT Acquire();

private:
    std::string m_home;
    int m_fd = -1;
};
} // namespace mapisvc
