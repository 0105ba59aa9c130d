#include "ProfileTable.h"

#include "MapiRuntime.h"
#include "MapiTable.h"
#include "ServiceResult.h"
#include "Text.h"

namespace cli
{
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

const Profile* FindProfile(const std::vector<Profile>& profiles, const std::string& name)
{
    for (const Profile& profile : profiles)
    {
        if (WideText(profile.name).CompareNoCase(WideText(name)) == 0)
            return &profile;
    }
    return nullptr;
}
} // namespace cli
