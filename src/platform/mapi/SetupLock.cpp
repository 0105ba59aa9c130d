#include "platform/mapi/SetupLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace mapisvc
{
SetupLock::~SetupLock()
{
    if (m_fd >= 0)
        close(m_fd); // releases the lock
}

HRESULT SetupLock::Acquire()
{
    if (m_fd < 0)
        m_fd = open((m_home + "/setup.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return MAPI_E_DISK_ERROR;
    while (flock(m_fd, LOCK_EX) != 0)
        if (errno != EINTR)
            return MAPI_E_DISK_ERROR;
    return S_OK;
}
} // namespace mapisvc
