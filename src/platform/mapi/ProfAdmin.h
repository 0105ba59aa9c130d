// IProfAdmin (MAPIAdminProfiles): creates empty profiles, deletes profiles, lists them and sets the default.
// Profile names are 8-bit text in the ANSI code page unless MAPI_UNICODE is among the flags.
#pragma once

#include "platform/mapi/ComObject.h"

#include <functional>

namespace mapisvc
{
class ProfileDatabase;

class ProfAdmin : public ComObject<IProfAdmin>
{
public:
    const char* InterfaceName() const override { return "IProfAdmin"; }

    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override;
    HRESULT STDMETHODCALLTYPE GetProfileTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE CreateProfile(LPTSTR lpszProfileName, LPTSTR lpszPassword, ULONG_PTR ulUIParam,
                                            ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE DeleteProfile(LPTSTR lpszProfileName, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE ChangeProfilePassword(LPTSTR lpszProfileName, LPTSTR lpszOldPassword,
                                                    LPTSTR lpszNewPassword, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE CopyProfile(LPTSTR lpszOldProfileName, LPTSTR lpszOldPassword, LPTSTR lpszNewProfileName,
                                          ULONG_PTR ulUIParam, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE RenameProfile(LPTSTR lpszOldProfileName, LPTSTR lpszOldPassword,
                                            LPTSTR lpszNewProfileName, ULONG_PTR ulUIParam, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE SetDefaultProfile(LPTSTR lpszProfileName, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE AdminServices(LPTSTR lpszProfileName, LPTSTR lpszPassword, ULONG_PTR ulUIParam,
                                            ULONG ulFlags, LPSERVICEADMIN* lppServiceAdmin) override;

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {&IID_IProfAdmin}); }

private:
    // A call that changes the profile it names (an empty name is refused first when `nameRequired`).
    HRESULT ChangeProfile(const char* method, LPTSTR lpszProfileName, ULONG ulFlags, bool nameRequired,
                          const std::function<HRESULT(ProfileDatabase&, const std::u16string&)>& change);
};
} // namespace mapisvc
