// profile list|create|delete|default: the profiles under the profile root. MAPI's profile table lists them;
// the service's control API makes, removes and chooses them, which MAPI leaves to a setup program.
#include "CommandSet.h"
#include "Failure.h"
#include "Host.h"
#include "OptionChecks.h"
#include "ProfileTable.h"
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
    bool bForce = false;
};

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
    if (!request.bEmpty)
    {
        const HRESULT hr = mapisvc::AddStore(name, mapisvc::StoreOptions());
        if (hr != S_OK)
            mapisvc::DeleteProfile(name); // no half-made profile stays behind
        CheckResult(hr, "cannot add a store to the profile '" + request.name + "'");
    }
    if (host.Json())
    {
        const std::vector<Profile> profiles = ReadProfileTable();
        const Profile* profile = FindProfile(profiles, request.name);
        Host::Print(Json{{"name", request.name},
                         {"default", profile && profile->bDefault},
                         {"stores", request.bEmpty ? 0 : 1},
                         {"home", mapisvc::GetHome()}});
    }
}

void Delete(Host& host, const ProfileRequest& request)
{
    const std::vector<Profile> profiles = ReadProfileTable();
    const Profile* profile = FindProfile(profiles, request.name);
    if (!profile)
        throw Failure("no profile named '" + request.name + "'");
    if (profile->bDefault && !request.bForce)
        throw Failure("'" + profile->name + "' is the default profile: deleting it deletes its stores and every item " +
                      "in them; give --force to delete it");
    CheckResult(mapisvc::DeleteProfile(Utf16(request.name)), "cannot delete the profile '" + request.name + "'");
}

void MakeDefault(Host& host, const ProfileRequest& request)
{
    CheckResult(mapisvc::SetDefaultProfile(Utf16(request.name)),
                "cannot make '" + request.name + "' the default profile");
}

void AddNameArgument(CLI::App& command, ProfileRequest& request)
{
    command.add_option("name", request.name, "Profile name")->required()->check(kNameValidator);
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

    CLI::App& remove = commands.Add(group, "delete", "Delete a profile and its stores", Delete, request);
    AddNameArgument(remove, *request);
    remove.add_flag("--force", request->bForce, "Delete it even when it is the default profile");
    AddNameArgument(commands.Add(group, "default", "Make a profile the default one", MakeDefault, request), *request);
}
} // namespace cli
