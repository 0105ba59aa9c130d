#include "platform/mapi/ImportClaim.h"

#include "platform/mapi/Home.h"
#include "platform/mapi/StoreDatabase.h"
#include "platform/trace/Trace.h"
#include "platform/mapi/Text.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace mapisvc
{
namespace
{
const std::string kClaimSuffix = ".import";

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsListed(ProfileDatabase& profiles, const std::string& storePath)
{
    for (const std::u16string& name : profiles.ProfileNames())
    {
        ProfileInfo profile;
        if (profiles.LoadProfile(name, profile) != S_OK)
            return true; // when in doubt, the store stays
        for (const StoreInfo& store : profile.stores)
            if (store.path == storePath)
                return true;
    }
    return false;
}

// Takes the claim's lock when no live process holds it; the claim and, when unlisted, its store go.
void RemoveIfAbandoned(ProfileDatabase& profiles, const std::string& lockPath)
{
    const int fd = open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
    {
        const std::string storePath = lockPath.substr(0, lockPath.size() - kClaimSuffix.size());
        if (!IsListed(profiles, storePath))
        {
            LOGTRACE(_T("[MAPI] Removing the store an import left unfinished : %s"), FromUtf8(storePath).c_str());
            StoreDatabase::DeleteFile(storePath);
        }
        unlink(lockPath.c_str());
    }
    close(fd);
}
} // namespace

ImportClaim::~ImportClaim()
{
    if (m_fd < 0)
        return;
    // Removed before it is unlocked: whoever takes the lock after that finds the store listed, or finds no claim.
    unlink(m_lockPath.c_str());
    close(m_fd);
}

HRESULT ImportClaim::Take(const std::string& storePath)
{
    m_lockPath = storePath + kClaimSuffix;
    m_fd = open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return S_OK;
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    return MAPI_E_DISK_ERROR;
}

void RemoveAbandonedImports(ProfileDatabase& profiles)
{
    const std::string directory = StoreFilePath(profiles.Home(), "");
    DIR* dir = opendir(directory.c_str());
    if (!dir)
        return;
    std::vector<std::string> claims;
    while (const dirent* entry = readdir(dir))
        if (EndsWith(entry->d_name, kClaimSuffix))
            claims.push_back(directory + entry->d_name);
    closedir(dir);
    for (const std::string& claim : claims)
        RemoveIfAbandoned(profiles, claim);
}
} // namespace mapisvc
