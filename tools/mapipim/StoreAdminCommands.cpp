// store list|add and folder add: what a profile holds. The stores of any profile are listed through a MAPI logon
// to it (the interface object only ever logs on to the default profile); stores and folders are made with the
// service's control API.
#include "CommandSet.h"
#include "EntryId.h"
#include "Failure.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "MapiRuntime.h"
#include "MapiTable.h"
#include "OptionChecks.h"
#include "ServiceResult.h"
#include "ShortIds.h"
#include "Text.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/mapisvc.h>

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct StoreRequest
{
    std::string profile; // empty: the default profile
    std::string name;
    std::string provider;
    bool bAnsi = false;
    bool bDefault = false;
    bool bBare = false;
};

struct FolderRequest
{
    std::string path;
    std::string containerClass;
};

struct StoreRow
{
    std::string name;
    std::string provider;
    bool bDefault;
    EntryId id;
};

// The message-stores table of a session on the profile.
std::vector<StoreRow> ReadStoresTable(const std::string& profile)
{
    MapiRuntime runtime;
    CMAPIEx session;
    const CString name = WideText(profile);
    if (!session.Login(profile.empty() ? nullptr : name.GetString()))
        throw Failure("cannot log on to the profile '" + (profile.empty() ? std::string("(default)") : profile) + "'");
    LPMAPITABLE table = nullptr;
    CheckResult(session.GetSession()->GetMsgStoresTable(0, &table), "cannot read the stores table");
    const RowSet rows = ReadAllRows(table, {PR_DISPLAY_NAME_W, PR_PROVIDER_DISPLAY_W, PR_DEFAULT_STORE, PR_ENTRYID},
                                    "cannot read the stores table");
    std::vector<StoreRow> stores;
    for (ULONG i = 0; i < rows->cRows; ++i)
    {
        const SPropValue* props = rows->aRow[i].lpProps;
        stores.push_back(StoreRow{TextOf(props[0]), TextOf(props[1]), BoolOf(props[2]), EntryId(props[3].Value.bin)});
    }
    return stores;
}

void ListStores(Host& host, const StoreRequest& request)
{
    const std::vector<StoreRow> stores = ReadStoresTable(request.profile);
    if (host.Json())
    {
        Json list = Json::array();
        for (const StoreRow& store : stores)
            list.push_back(Json{{"sbEntryID", store.id.Text()},
                                {"strName", store.name},
                                {"strProvider", store.provider},
                                {"bDefault", store.bDefault}});
        Host::Print(Json{{"stores", list}});
        return;
    }
    for (const StoreRow& store : stores)
        std::cout << store.name << (store.bDefault ? " (default)" : "") << "  [" << store.provider << "]  "
                  << store.id.Text() << '\n';
}

void AddStore(Host& host, const StoreRequest& request)
{
    std::u16string profile = Utf16(request.profile);
    if (profile.empty())
        CheckResult(mapisvc::EnsureDefaultProfile(&profile), "cannot find the default profile");
    mapisvc::StoreOptions options;
    options.displayName = Utf16(request.name);
    if (!request.provider.empty())
        options.providerName = Utf16(request.provider);
    options.unicode = !request.bAnsi;
    options.isDefault = request.bDefault;
    options.standardFolders = !request.bBare;
    mapisvc::EntryId store;
    CheckResult(mapisvc::AddStore(profile, options, &store), "cannot add the store '" + request.name + "'");
    const EntryId id(store);
    if (host.Json())
        Host::Print(Json{{"sbEntryID", id.Text()}, {"strName", request.name}, {"profile", Utf8(profile)}});
    else
        std::cout << id.Text() << '\n';
}

std::vector<BYTE> BytesOf(const SBinary& value)
{
    return std::vector<BYTE>(value.lpb, value.lpb + value.cb);
}

void AddFolder(Host& host, const FolderRequest& request)
{
    const size_t slash = request.path.find_last_of('/');
    const std::string parentPath = slash == std::string::npos ? std::string() : request.path.substr(0, slash);
    const std::string name = request.path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty())
        throw UsageFailure("the folder path '" + request.path + "' ends without a name");

    FolderLocator folders(host);
    const COutlookFolder* parent = parentPath.empty() ? nullptr : &folders.Find(parentPath);
    const std::vector<BYTE> store = BytesOf(parent ? parent->sbStoreEntryID : folders.Store().sbEntryID);
    const std::vector<BYTE> parentId = parent ? BytesOf(parent->sbEntryID) : std::vector<BYTE>();
    // A sub folder holds what the folders above it hold.
    const std::string containerClass = !request.containerClass.empty() ? request.containerClass
                                       : parent                        ? ContainerClassOf(parent->nFolderType)
                                                                       : ContainerClassOf(0);
    mapisvc::EntryId folder;
    CheckResult(mapisvc::CreateFolder(store, parent ? &parentId : nullptr, Utf16(name), Utf16(containerClass), &folder),
                "cannot create the folder '" + request.path + "'");
    const EntryId id(folder);
    if (host.Json())
        Host::Print(Json{{"sbEntryID", id.Text()}, {"path", request.path}, {"containerClass", containerClass}});
    else
        std::cout << ShownId(id.Text()) << '\n';
}

} // namespace

void AddStoreAdminCommands(CommandSet& commands)
{
    CLI::App& stores = commands.AddGroup("store", "List and add the message stores of a profile");
    auto request = std::make_shared<StoreRequest>();
    CLI::App& list = commands.Add(stores, "list", "List the stores of a profile", ListStores, request);
    list.add_option("--profile", request->profile, "Profile (default: the default profile)");

    CLI::App& add = commands.Add(stores, "add", "Add a store to a profile", AddStore, request);
    add.add_option("name", request->name, "Display name of the store")->required()->check(kNameValidator);
    add.add_option("--profile", request->profile, "Profile (default: the default profile)");
    add.add_option("--provider", request->provider, "Display name of its provider (default: Personal Folders)");
    add.add_flag("--ansi", request->bAnsi, "An ANSI-only store, without Unicode strings");
    add.add_flag("--default", request->bDefault, "Make it the profile's default store");
    add.add_flag("--bare", request->bBare, "Without the standard folders");

    CLI::App& folders = commands.AddGroup("folder", "Add folders to a store");
    auto folder = std::make_shared<FolderRequest>();
    CLI::App& addFolder = commands.Add(folders, "add", "Create a folder, e.g. Inbox/Projects", AddFolder, folder);
    addFolder.add_option("path", folder->path, "Path of the new folder below the store's root")
        ->required()
        ->check(kNameValidator);
    addFolder
        .add_option("--class", folder->containerClass,
                    "Container class (default: the class of the folders above it, else IPF.Note)")
        ->check(kContainerClassValidator);
}
} // namespace cli
