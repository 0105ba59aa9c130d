#include "platform/mapi/ProfAdmin.h"

#include "platform/mapi/Profiles.h"
#include "platform/mapi/ServiceCall.h"
#include "platform/mapi/StoreLayout.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Text.h"

namespace mapisvc
{
HRESULT ProfAdmin::GetLastError(HRESULT, ULONG ulFlags, LPMAPIERROR* lppMAPIError)
{
    return NoLastError("IProfAdmin", ulFlags, lppMAPIError);
}

HRESULT ProfAdmin::GetProfileTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IProfAdmin", "GetProfileTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppTable)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return call.Done(hr);
    std::u16string defaultName;
    profiles->DefaultProfileName(defaultName);
    std::vector<TableRow> rows;
    for (const std::u16string& name : profiles->ProfileNames())
    {
        TableRow& row = AppendRow(rows);
        row.props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), name, true));
        row.props.Set(PR_DEFAULT_PROFILE, EncodeBool(EqualIgnoreCase(name, defaultName)));
    }
    return call.Done(
        NewTable(std::move(rows), {PR_DISPLAY_NAME, PR_DEFAULT_PROFILE, PR_INSTANCE_KEY}, ulFlags, lppTable));
}

HRESULT ProfAdmin::ChangeProfile(const char* method, LPTSTR lpszProfileName, ULONG ulFlags, bool nameRequired,
                                 const std::function<HRESULT(ProfileDatabase&, const std::u16string&)>& change)
{
    const std::u16string name = ArgumentText(lpszProfileName, ulFlags);
    ServiceCall call(*this, "IProfAdmin", method);
    if (HRESULT hr = call.Flags(ulFlags).Text(name).Fault())
        return hr;
    if (nameRequired && name.empty())
        return call.Done(MAPI_E_INVALID_PARAMETER);
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return call.Done(hr);
    return call.Done(change(*profiles, name));
}

HRESULT ProfAdmin::CreateProfile(LPTSTR lpszProfileName, LPTSTR, ULONG_PTR, ULONG ulFlags)
{
    return ChangeProfile("CreateProfile", lpszProfileName, ulFlags, true,
                         [](ProfileDatabase& profiles, const std::u16string& name)
                         { return profiles.CreateProfile(name, false); });
}

HRESULT ProfAdmin::DeleteProfile(LPTSTR lpszProfileName, ULONG ulFlags)
{
    return ChangeProfile("DeleteProfile", lpszProfileName, ulFlags, true, DeleteProfileWithStores);
}

HRESULT ProfAdmin::ChangeProfilePassword(LPTSTR, LPTSTR, LPTSTR, ULONG ulFlags)
{
    return Unsupported("ChangeProfilePassword", ulFlags);
}

HRESULT ProfAdmin::CopyProfile(LPTSTR, LPTSTR, LPTSTR, ULONG_PTR, ULONG ulFlags)
{
    return Unsupported("CopyProfile", ulFlags);
}

HRESULT ProfAdmin::RenameProfile(LPTSTR, LPTSTR, LPTSTR, ULONG_PTR, ULONG ulFlags)
{
    return Unsupported("RenameProfile", ulFlags);
}

HRESULT ProfAdmin::SetDefaultProfile(LPTSTR lpszProfileName, ULONG ulFlags)
{
    return ChangeProfile("SetDefaultProfile", lpszProfileName, ulFlags, false,
                         [](ProfileDatabase& profiles, const std::u16string& name)
                         { return profiles.SetDefaultProfile(name); });
}

HRESULT ProfAdmin::AdminServices(LPTSTR, LPTSTR, ULONG_PTR, ULONG ulFlags, LPSERVICEADMIN*)
{
    return Unsupported("AdminServices", ulFlags);
}
} // namespace mapisvc
