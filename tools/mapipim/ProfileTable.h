// The profiles under the profile root, as MAPI's profile table lists them.
#pragma once

#include <string>
#include <vector>

namespace cli
{
struct Profile
{
    std::string name;
    bool bDefault;
};

// The rows of IProfAdmin::GetProfileTable: the name and whether it is the default profile. Throws Failure.
std::vector<Profile> ReadProfileTable();
// The profile of that name (ignoring case), or null.
const Profile* FindProfile(const std::vector<Profile>& profiles, const std::string& name);
} // namespace cli
