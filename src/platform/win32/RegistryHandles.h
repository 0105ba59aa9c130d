// The registry's open keys: each RegOpenKeyExW makes a handle object that RegCloseKey destroys; the predefined
// root keys are not objects and need no closing. A handle that is not open (never opened, or closed already) is
// recognised and refused instead of being followed.
#pragma once

#include "platform/win32/RegistryKey.h"

#include <mapipim/win32/wintypes.h>

#include <mutex>
#include <unordered_set>

namespace mapipim::win32
{
class RegistryHandles
{
public:
    static RegistryHandles& Instance();

    HKEY Open(std::shared_ptr<const RegistryKey> key);
    // Null for a handle that is neither a root key nor open.
    std::shared_ptr<const RegistryKey> Find(HKEY handle) const;
    // False for a handle that is not open; closing a root key succeeds and does nothing.
    bool Close(HKEY handle);
    size_t OpenCount() const;

private:
    struct OpenKey
    {
        std::shared_ptr<const RegistryKey> key;
    };

    mutable std::mutex m_mutex;
    std::unordered_set<const OpenKey*> m_open;
};
} // namespace mapipim::win32
