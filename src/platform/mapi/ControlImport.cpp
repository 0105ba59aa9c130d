// Control API: importing an Outlook data file into a new store of a profile. The store is made as a file that
// no profile lists, filled, closed, and only then listed in the profile; a failure or a cancel deletes the file.
// A process killed halfway leaves an unlisted file that no session ever opens, and that the next import removes
// (ImportClaim.h).
#include <mapipim/mapisvc.h>

#include "platform/mapi/ImportClaim.h"
#include "platform/mapi/Profiles.h"
#include "platform/mapi/StoreDatabase.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/pst/FileImport.h"
#include "platform/trace/Trace.h"

#include <unistd.h>

namespace mapisvc
{
namespace
{
std::u16string StoreNameOf(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return FromUtf8(name);
}

bool HasStoreNamed(const ProfileInfo& profile, const std::u16string& name)
{
    for (const StoreInfo& store : profile.stores)
        if (EqualIgnoreCase(store.displayName, name))
            return true;
    return false;
}

HRESULT Fail(ImportResult& result, HRESULT hr, const std::string& reason)
{
    result.reason = reason;
    LOGTRACE(_T("[MAPI] ImportDataFile failed : %s"), FromUtf8(reason).c_str());
    return hr;
}

// Fills an unlisted store from the file; the store's connection is closed again before it returns.
HRESULT FillStore(pst::DataFile& file, const StoreInfo& info, const ImportOptions& options, ImportResult& result)
{
    std::shared_ptr<StoreDatabase> db;
    if (HRESULT hr = StoreDatabase::Open(info.path, db))
        return Fail(result, hr, "the new store could not be opened");
    pst::FileImport import(file, *db, options);
    return import.Run(result);
}
} // namespace

HRESULT ImportDataFile(const std::u16string& profile, const std::string& path, const ImportOptions& options,
                       ImportResult& result)
{
    result = ImportResult();
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return Fail(result, hr, "the profiles cannot be read");
    ProfileInfo existing;
    if (HRESULT hr = profiles->LoadProfile(profile, existing))
        return Fail(result, hr, "no profile named " + ToUtf8(profile));
    StoreOptions storeOptions;
    storeOptions.displayName = options.storeName.empty() ? StoreNameOf(path) : options.storeName;
    storeOptions.standardFolders = false;
    if (HasStoreNamed(existing, storeOptions.displayName))
        return Fail(result, MAPI_E_COLLISION, "the profile has a store named " + ToUtf8(storeOptions.displayName));
    if (access(path.c_str(), R_OK) != 0)
        return Fail(result, MAPI_E_NOT_FOUND, "cannot read " + path);
    std::unique_ptr<pst::DataFile> file;
    std::string reason;
    if (!pst::DataFile::Open(path, file, reason))
        return Fail(result, MAPI_E_CORRUPT_DATA, reason);
    RemoveAbandonedImports(*profiles);
    StoreInfo info;
    info.displayName = storeOptions.displayName;
    if (HRESULT hr = CreateUnlistedStore(*profiles, profile, storeOptions, info))
        return Fail(result, hr, "the new store could not be made");
    ImportClaim claim; // let go only once the store is listed or deleted
    if (HRESULT hr = claim.Take(info.path))
    {
        StoreDatabase::DeleteFile(info.path);
        return Fail(result, hr, "the new store could not be claimed");
    }
    HRESULT hr = FillStore(*file, info, options, result);
    if (hr == S_OK)
        hr = ListStore(*profiles, profile, info);
    else
        StoreDatabase::DeleteFile(info.path);
    if (hr != S_OK)
    {
        if (hr != MAPI_E_USER_CANCEL && result.reason.empty())
            result.reason = "the new store could not be added to the profile";
        return hr;
    }
    result.store = MakeStoreEntryId(info.uid, MAPI_STORE, 0);
    return S_OK;
}
} // namespace mapisvc
