// The MAPI functions that start and stop the service and log on: MAPIInitialize and MAPIUninitialize are
// counted per process; MAPILogonEx opens a session on a profile of $MAPIPIM_HOME as it is at that moment.
#include "platform/platform.h"

#include "platform/mapi/Home.h"
#include "platform/mapi/NotificationDelivery.h"
#include "platform/mapi/ProfAdmin.h"
#include "platform/mapi/Profiles.h"
#include "platform/mapi/ServiceCall.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Text.h"

#include <mutex>

namespace mapisvc
{
namespace
{
std::mutex g_mutex;
int g_initCount = 0;

bool Initialized()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_initCount > 0;
}

// The profile a logon asks for: the named one, or the default one (made when there is none) with
// MAPI_USE_DEFAULT.
HRESULT LogonProfile(ProfileDatabase& profiles, const std::u16string& name, ULONG ulFlags, ProfileInfo& profile)
{
    std::u16string chosen = name;
    if (chosen.empty())
    {
        if (!(ulFlags & MAPI_USE_DEFAULT))
            return MAPI_E_LOGON_FAILED;
        if (HRESULT hr = EnsureDefaultProfile(profiles, chosen))
            return hr;
    }
    HRESULT hr = profiles.LoadProfile(chosen, profile);
    return hr == MAPI_E_NOT_FOUND ? MAPI_E_LOGON_FAILED : hr;
}
} // namespace
} // namespace mapisvc

extern "C"
{
    HRESULT STDMETHODCALLTYPE MAPIInitialize(LPVOID lpMapiInit)
    {
        using namespace mapisvc;
        const auto* init = static_cast<const MAPIINIT_0*>(lpMapiInit);
        ServiceCall call("MAPI", nullptr, "MAPIInitialize");
        if (HRESULT hr = call.Flags(init ? init->ulFlags : 0).Fault())
            return hr;
        if (init && init->ulVersion > MAPI_INIT_VERSION)
            return call.Done(MAPI_E_VERSION);
        bool start = false;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            start = g_initCount++ == 0;
        }
        // Starts and stops of delivery are ordered by a lock of their own, never taken inside this one.
        if (start)
            StartNotificationDelivery(init ? init->ulFlags : 0);
        return call.Done(S_OK);
    }

    void STDMETHODCALLTYPE MAPIUninitialize(void)
    {
        using namespace mapisvc;
        ServiceCall call("MAPI", nullptr, "MAPIUninitialize");
        bool stop = false;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (g_initCount > 0)
                stop = --g_initCount == 0;
        }
        // Outside the initialisation lock: the notification thread may be inside a sink that calls MAPI.
        if (stop)
            StopNotificationDelivery([] { return !Initialized(); });
    }

    HRESULT STDMETHODCALLTYPE MAPILogonEx(ULONG_PTR, LPTSTR lpszProfileName, LPTSTR, ULONG ulFlags,
                                          LPMAPISESSION* lppSession)
    {
        using namespace mapisvc;
        const std::u16string name = ArgumentText(lpszProfileName, ulFlags);
        ServiceCall call("MAPI", nullptr, "MAPILogonEx");
        if (HRESULT hr = call.Flags(ulFlags).Text(name).Fault())
            return hr;
        if (!lppSession)
            return call.Done(MAPI_E_INVALID_PARAMETER);
        *lppSession = nullptr;
        if (!Initialized())
            return call.Done(MAPI_E_NOT_INITIALIZED);
        std::unique_ptr<ProfileDatabase> profiles;
        if (HRESULT hr = OpenProfiles(profiles))
            return call.Done(hr);
        ProfileInfo profile;
        if (HRESULT hr = LogonProfile(*profiles, name, ulFlags, profile))
            return call.Done(hr);
        *lppSession = new Session(std::move(profiles), std::move(profile));
        return call.Done(S_OK);
    }

    HRESULT STDMETHODCALLTYPE MAPIAdminProfiles(ULONG ulFlags, LPPROFADMIN* lppProfAdmin)
    {
        using namespace mapisvc;
        ServiceCall call("MAPI", nullptr, "MAPIAdminProfiles");
        if (HRESULT hr = call.Flags(ulFlags).Fault())
            return hr;
        if (!lppProfAdmin)
            return call.Done(MAPI_E_INVALID_PARAMETER);
        *lppProfAdmin = new ProfAdmin;
        return call.Done(S_OK);
    }
}
