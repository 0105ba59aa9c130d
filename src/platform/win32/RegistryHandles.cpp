#include "platform/win32/RegistryHandles.h"

#include "platform/win32/InternationalKey.h"
#include "platform/win32/TimeZoneKeys.h"

#include <mapipim/win32/winapi.h>

namespace mapipim::win32
{
namespace
{
std::shared_ptr<const RegistryKey> RootKey(HKEY handle)
{
    static const auto localMachine =
        MakeBranchPath(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", MakeTimeZonesKey());
    static const auto currentUser = MakeBranchPath(u"Control Panel\\International", MakeInternationalKey());
    static const auto empty = std::make_shared<const RegistryKey>();
    if (handle == HKEY_LOCAL_MACHINE)
        return localMachine;
    if (handle == HKEY_CURRENT_USER)
        return currentUser;
    if (handle == HKEY_CLASSES_ROOT || handle == HKEY_USERS)
        return empty;
    return nullptr;
}
} // namespace

RegistryHandles& RegistryHandles::Instance()
{
    static RegistryHandles instance;
    return instance;
}

HKEY RegistryHandles::Open(std::shared_ptr<const RegistryKey> key)
{
    auto* open = new OpenKey{std::move(key)};
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.insert(open);
    return reinterpret_cast<HKEY>(open);
}

std::shared_ptr<const RegistryKey> RegistryHandles::Find(HKEY handle) const
{
    if (std::shared_ptr<const RegistryKey> root = RootKey(handle))
        return root;
    const auto* open = reinterpret_cast<const OpenKey*>(handle);
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open.count(open) ? open->key : nullptr;
}

bool RegistryHandles::Close(HKEY handle)
{
    if (RootKey(handle))
        return true;
    const auto* open = reinterpret_cast<const OpenKey*>(handle);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_open.erase(open) == 0)
            return false;
    }
    delete open;
    return true;
}

size_t RegistryHandles::OpenCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open.size();
}
} // namespace mapipim::win32
