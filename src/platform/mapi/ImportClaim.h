// A store an import is filling joins its profile only when the import is complete, so a process killed meanwhile
// would leave the store's file behind, unlisted, for good. The import claims the file with a lock file beside it
// ("<store file>.import", held with flock while the import runs; the kernel lets the lock go when the process
// dies), and the next import removes what a dead one left: every claim whose lock it can take, with the store file
// unless a profile lists that store (an import that completed but died before letting its claim go).
#pragma once

#include "platform/mapi/ProfileDatabase.h"

#include <string>

namespace mapisvc
{
class ImportClaim
{
public:
    ImportClaim() = default;
    ~ImportClaim();
    ImportClaim(const ImportClaim&) = delete;
    ImportClaim& operator=(const ImportClaim&) = delete;

    // Claims the store file for this process; MAPI_E_DISK_ERROR when the lock file cannot be made.
    HRESULT Take(const std::string& storePath);

private:
    int m_fd = -1;
    std::string m_lockPath;
};

// Removes the claims of imports that died in the profiles' home, and the unlisted stores they were filling.
void RemoveAbandonedImports(ProfileDatabase& profiles);
} // namespace mapisvc
