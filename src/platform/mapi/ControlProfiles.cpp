// Control API: profiles, their stores and the folders of a store.
#include <mapipim/mapisvc.h>

#include "platform/mapi/Home.h"
#include "platform/mapi/Profiles.h"
#include "platform/mapi/StoreDatabase.h"
#include "platform/mapi/StoreLayout.h"

namespace mapisvc
{
namespace
{
// The profiles and, in them, the store that `store` identifies.
HRESULT FindStore(const EntryId& store, std::unique_ptr<ProfileDatabase>& profiles, StoreInfo& info)
{
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    ObjectId object;
    if (HRESULT hr = ParseStoreEntryId(static_cast<ULONG>(store.size()), store.data(), object))
        return hr;
    if (object.type != MAPI_STORE)
        return MAPI_E_INVALID_ENTRYID;
    return profiles->FindStore(object.store, info);
}
} // namespace

std::string GetHome()
{
    return HomeDirectory();
}

HRESULT CreateProfile(const std::u16string& name, bool makeDefault)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    return profiles->CreateProfile(name, makeDefault);
}

HRESULT DeleteProfile(const std::u16string& name)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    return DeleteProfileWithStores(*profiles, name);
}

HRESULT SetDefaultProfile(const std::u16string& name)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    return profiles->SetDefaultProfile(name);
}

std::vector<std::u16string> ListProfiles()
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (OpenProfiles(profiles) != S_OK)
        return {};
    return profiles->ProfileNames();
}

HRESULT EnsureDefaultProfile(std::u16string* name)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    std::u16string chosen;
    if (HRESULT hr = EnsureDefaultProfile(*profiles, chosen))
        return hr;
    if (name)
        *name = chosen;
    return S_OK;
}

HRESULT AddStore(const std::u16string& profile, const StoreOptions& options, EntryId* store)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    StoreInfo info;
    if (HRESULT hr = CreateStore(*profiles, profile, options, info))
        return hr;
    if (store)
        *store = MakeStoreEntryId(info.uid, MAPI_STORE, 0);
    return S_OK;
}

HRESULT UpdateStore(const EntryId& store, const StoreOptions& options)
{
    std::unique_ptr<ProfileDatabase> profiles;
    StoreInfo info;
    if (HRESULT hr = FindStore(store, profiles, info))
        return hr;
    info.displayName = options.displayName;
    info.providerName = options.providerName;
    info.supportMask = options.supportMask ? options.supportMask : DefaultSupportMask(info.unicode);
    info.state = options.state;
    info.isDefault = options.isDefault;
    return profiles->UpdateStore(info);
}

HRESULT SetStoreSupport(const EntryId& store, ULONG bits, bool set)
{
    std::unique_ptr<ProfileDatabase> profiles;
    StoreInfo info;
    if (HRESULT hr = FindStore(store, profiles, info))
        return hr;
    info.supportMask = set ? info.supportMask | bits : info.supportMask & ~bits;
    return profiles->UpdateStore(info);
}

HRESULT CreateFolder(const EntryId& store, const EntryId* parent, const std::u16string& name,
                     const std::u16string& containerClass, EntryId* folder)
{
    if (name.empty())
        return MAPI_E_INVALID_PARAMETER;
    std::unique_ptr<ProfileDatabase> profiles;
    StoreInfo info;
    if (HRESULT hr = FindStore(store, profiles, info))
        return hr;
    std::shared_ptr<StoreDatabase> db;
    if (HRESULT hr = StoreDatabase::Open(info.path, db))
        return hr;
    int64_t parentId = db->RoleFolder(FolderRole::IpmSubtree);
    if (parent)
    {
        ObjectId object;
        if (HRESULT hr = ParseStoreEntryId(static_cast<ULONG>(parent->size()), parent->data(), object))
            return hr;
        ObjectRecord record;
        if (HRESULT hr = db->LoadObject(object.id, record))
            return hr;
        if (object.type != MAPI_FOLDER || record.type != MAPI_FOLDER)
            return MAPI_E_INVALID_ENTRYID;
        parentId = object.id;
    }
    int64_t existing = 0;
    if (db->FindChildFolder(parentId, name, existing) == S_OK)
        return MAPI_E_COLLISION;
    PropertyBag props;
    props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), name, info.unicode));
    if (!containerClass.empty())
        props.Set(StringProp(PROP_ID(PR_CONTAINER_CLASS), containerClass, info.unicode));
    int64_t id = 0;
    if (HRESULT hr = db->CreateFolder(parentId, props, id))
        return hr;
    if (folder)
        *folder = db->EntryIdOf(MAPI_FOLDER, id);
    return S_OK;
}
} // namespace mapisvc
