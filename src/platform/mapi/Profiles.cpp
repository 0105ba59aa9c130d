#include "platform/mapi/Profiles.h"

#include "platform/mapi/Home.h"
#include "platform/mapi/SetupLock.h"
#include "platform/mapi/StoreDatabase.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace mapisvc
{
const char16_t kDefaultProfileName[] = u"Outlook";

namespace
{
struct ProfileUse
{
    int sessions = 0;
    std::vector<std::string> storesToDelete;
};

std::mutex g_usesMutex;
std::map<std::string, ProfileUse> g_uses; // by home and profile key

std::string UseKey(const std::string& home, const std::u16string& profile)
{
    return home + '\n' + ProfileKey(profile);
}

// S_OK when there is a default profile that needs nothing more; MAPI_E_NOT_FOUND when the setup is to be done or
// completed: no default profile, or the one a setup made (the default profile of the default name) still
// without its store, as a process killed during the setup leaves it. A default profile of another name is the
// host's own and is left as it is.
HRESULT HasCompleteDefault(ProfileDatabase& profiles, std::u16string& name)
{
    if (HRESULT hr = profiles.DefaultProfileName(name))
        return hr;
    if (ProfileKey(name) != ProfileKey(kDefaultProfileName))
        return S_OK;
    ProfileInfo profile;
    if (HRESULT hr = profiles.LoadProfile(name, profile))
        return hr;
    return profile.stores.empty() ? MAPI_E_NOT_FOUND : S_OK;
}

// The default profile with its store, or what of it is missing. Each step can be interrupted: a profile without
// a store is completed by the next setup, and a store file made but never listed is named by no profile.
HRESULT SetUpDefaultProfile(ProfileDatabase& profiles, std::u16string& name)
{
    name = kDefaultProfileName;
    ProfileInfo profile;
    HRESULT hr = profiles.LoadProfile(name, profile);
    if (hr == MAPI_E_NOT_FOUND)
        hr = profiles.CreateProfile(name, true);
    else if (hr == S_OK && !profile.isDefault)
        hr = profiles.SetDefaultProfile(name);
    if (hr)
        return hr;
    if (!profile.stores.empty())
        return S_OK;
    StoreInfo store;
    return CreateStore(profiles, name, StoreOptions(), store);
}

// Makes the file a new store is created in. A file of that name is never written into, whoever left it there.
HRESULT ClaimNewFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? MAPI_E_COLLISION : MAPI_E_DISK_ERROR;
    close(fd);
    return S_OK;
}

std::string HexOf(const MAPIUID& uid)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (BYTE b : uid.ab)
    {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}
} // namespace

HRESULT OpenProfiles(std::unique_ptr<ProfileDatabase>& profiles)
{
    return ProfileDatabase::Open(HomeDirectory(), profiles);
}

ULONG DefaultSupportMask(bool unicode)
{
    const ULONG mask = STORE_ENTRYID_UNIQUE | STORE_MODIFY_OK | STORE_CREATE_OK | STORE_ATTACH_OK | STORE_OLE_OK |
                       STORE_SUBMIT_OK | STORE_NOTIFY_OK | STORE_MV_PROPS_OK | STORE_CATEGORIZE_OK | STORE_RTF_OK |
                       STORE_RESTRICTION_OK | STORE_SORT_OK | STORE_HTML_OK | STORE_ANSI_OK;
    return unicode ? mask | STORE_UNICODE_OK : mask;
}

HRESULT CreateStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreOptions& options,
                    StoreInfo& store)
{
    if (HRESULT hr = CreateUnlistedStore(profiles, profile, options, store))
        return hr;
    return ListStore(profiles, profile, store);
}

HRESULT CreateUnlistedStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreOptions& options,
                            StoreInfo& store)
{
    ProfileInfo existing;
    if (HRESULT hr = profiles.LoadProfile(profile, existing))
        return hr;
    store.uid = NewMAPIUID();
    store.displayName = options.displayName;
    store.providerName = options.providerName;
    store.unicode = options.unicode;
    store.supportMask = options.supportMask ? options.supportMask : DefaultSupportMask(options.unicode);
    store.state = options.state;
    store.isDefault = options.isDefault || existing.stores.empty();
    store.path = StoreFilePath(profiles.Home(), HexOf(store.uid) + ".db");
    if (HRESULT hr = ClaimNewFile(store.path))
        return hr;
    if (HRESULT hr =
            StoreDatabase::Create(store.path, store.uid, store.unicode, options.standardFolders, options.wellKnownNames))
    {
        StoreDatabase::DeleteFile(store.path);
        return hr;
    }
    return S_OK;
}

HRESULT ListStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreInfo& store)
{
    if (HRESULT hr = profiles.AddStore(profile, store))
    {
        StoreDatabase::DeleteFile(store.path);
        return hr;
    }
    return S_OK;
}

HRESULT EnsureDefaultProfile(ProfileDatabase& profiles, std::u16string& name)
{
    // Done already: the usual case, answered without the lock.
    if (HasCompleteDefault(profiles, name) == S_OK)
        return S_OK;
    SetupLock lock(profiles.Home());
    if (HRESULT hr = lock.Acquire())
        return hr;
    // Another process may have set it up while this one waited.
    HRESULT hr = HasCompleteDefault(profiles, name);
    if (hr != MAPI_E_NOT_FOUND)
        return hr;
    return SetUpDefaultProfile(profiles, name);
}

HRESULT DeleteProfileWithStores(ProfileDatabase& profiles, const std::u16string& name)
{
    std::vector<StoreInfo> stores;
    if (HRESULT hr = profiles.DeleteProfile(name, stores))
        return hr;
    std::lock_guard<std::mutex> lock(g_usesMutex);
    auto use = g_uses.find(UseKey(profiles.Home(), name));
    for (const StoreInfo& store : stores)
    {
        if (use != g_uses.end() && use->second.sessions > 0)
            use->second.storesToDelete.push_back(store.path);
        else
            StoreDatabase::DeleteFile(store.path);
    }
    return S_OK;
}

void SessionStarted(const std::string& home, const std::u16string& profile)
{
    std::lock_guard<std::mutex> lock(g_usesMutex);
    ++g_uses[UseKey(home, profile)].sessions;
}

void SessionEnded(const std::string& home, const std::u16string& profile)
{
    std::vector<std::string> toDelete;
    {
        std::lock_guard<std::mutex> lock(g_usesMutex);
        auto use = g_uses.find(UseKey(home, profile));
        if (use == g_uses.end() || --use->second.sessions > 0)
            return;
        toDelete.swap(use->second.storesToDelete);
        g_uses.erase(use);
    }
    for (const std::string& path : toDelete)
        StoreDatabase::DeleteFile(path);
}
} // namespace mapisvc
