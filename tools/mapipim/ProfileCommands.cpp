// profile list|create|delete|default: the profiles under the profile root. MAPI's profile table lists them;
// the service's control API makes, removes and chooses them, which MAPI leaves to a setup program.
#include "CommandSet.h"
#include "Failure.h"
#include "Host.h"
#include "MapiRuntime.h"
#include "MapiTable.h"
#include "ServiceResult.h"
#include "Text.h"

#include <mapipim/mapisvc.h>

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct ProfileRequest
{
    std::string name;
    bool bDefault = false;
    bool bEmpty = false;
};

struct Profile
{
    std::string name;
    bool bDefault;
};

// The rows of IProfAdmin::GetProfileTable: the name and whether it is the default profile.
std::vector<Profile> ReadProfileTable()
{
    MapiRuntime runtime;
    LPPROFADMIN admin = nullptr;
    CheckResult(MAPIAdminProfiles(0, &admin), "cannot read the profiles");
    LPMAPITABLE table = nullptr;
    const HRESULT hr = admin->GetProfileTable(0, &table);
    admin->Release();
    CheckResult(hr, "cannot read the profiles");
    const RowSet rows = ReadAllRows(table, {PR_DISPLAY_NAME_W, PR_DEFAULT_PROFILE}, "cannot read the profiles");
    std::vector<Profile> profiles;
    for (ULONG i = 0; i < rows->cRows; ++i)
        profiles.push_back(Profile{TextOf(rows->aRow[i].lpProps[0]), BoolOf(rows->aRow[i].lpProps[1])});
    return profiles;
}

void List(Host& host, const ProfileRequest&)
{
    const std::vector<Profile> profiles = ReadProfileTable();
    if (host.Json())
    {
        Json list = Json::array();
        for (const Profile& profile : profiles)
            list.push_back(Json{{"name", profile.name}, {"default", profile.bDefault}});
        Host::Print(Json{{"home", mapisvc::GetHome()}, {"profiles", list}});
        return;
    }
    for (const Profile& profile : profiles)
        std::cout << profile.name << (profile.bDefault ? " (default)" : "") << '\n';
}

// MAPI answers a second profile of the same name with "no access"; say what is meant.
void RequireNewName(const std::string& name)
{
    for (const std::u16string& existing : mapisvc::ListProfiles())
    {
        if (WideText(Utf8(existing)).CompareNoCase(WideText(name)) == 0)
            throw Failure("a profile named '" + Utf8(existing) + "' exists already");
    }
}

void Create(Host& host, const ProfileRequest& request)
{
    RequireNewName(request.name);
    const std::u16string name = Utf16(request.name);
    CheckResult(mapisvc::CreateProfile(name, request.bDefault), "cannot create the profile '" + request.name + "'");
    // Like a new Outlook profile it gets a store with the standard folders, unless the user adds stores himself.
    if (request.bEmpty)
        return;
    const HRESULT hr = mapisvc::AddStore(name, mapisvc::StoreOptions());
    if (hr != S_OK)
        mapisvc::DeleteProfile(name); // no half-made profile stays behind
    CheckResult(hr, "cannot add a store to the profile '" + request.name + "'");
}

void Delete(Host& host, const ProfileRequest& request)
{
    CheckResult(mapisvc::DeleteProfile(Utf16(request.name)), "cannot delete the profile '" + request.name + "'");
}

void MakeDefault(Host& host, const ProfileRequest& request)
{
    CheckResult(mapisvc::SetDefaultProfile(Utf16(request.name)),
                "cannot make '" + request.name + "' the default profile");
}

void AddNameArgument(CLI::App& command, ProfileRequest& request)
{
    command.add_option("name", request.name, "Profile name")->required();
}
} // namespace

void AddProfileCommands(CommandSet& commands)
{
    CLI::App& group = commands.AddGroup("profile", "List, create and delete profiles");
    auto request = std::make_shared<ProfileRequest>();
    commands.Add(group, "list", "List the profiles, marking the default one", List, request);

    CLI::App& create = commands.Add(group, "create", "Create a profile with a Personal Folders store", Create, request);
    AddNameArgument(create, *request);
    create.add_flag("--default", request->bDefault, "Make it the default profile");
    create.add_flag("--empty", request->bEmpty, "Without a store (add stores with 'store add')");

    AddNameArgument(commands.Add(group, "delete", "Delete a profile and its stores", Delete, request), *request);
    AddNameArgument(commands.Add(group, "default", "Make a profile the default one", MakeDefault, request), *request);
}
} // namespace cli
