// IMAPISession: a logon to one profile. It lists the profile's stores and status, opens stores, any store object
// and address-book entry by identifier, and the address book, and names the profile's identity. The profile is
// read again at each listing, so stores added since show up; a session whose profile was deleted keeps working
// with the profile as it last read it. A session keeps profiles.db and every store it opened open until it ends,
// so that opening a store again, or a folder of it, costs no file open.
#pragma once

#include "platform/mapi/ComObject.h"
#include "platform/mapi/MsgStore.h"
#include "platform/mapi/ProfileDatabase.h"

#include <array>
#include <map>

namespace mapisvc
{
class RowSource;

class Session : public ComObject<IMAPISession>
{
public:
    Session(std::unique_ptr<ProfileDatabase> profiles, ProfileInfo profile);
    ~Session() override;

    const char* InterfaceName() const override { return "IMAPISession"; }

    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override;
    HRESULT STDMETHODCALLTYPE GetMsgStoresTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE OpenMsgStore(ULONG_PTR ulUIParam, ULONG cbEntryID, LPENTRYID lpEntryID,
                                           LPCIID lpInterface, ULONG ulFlags, LPMDB* lppMDB) override;
    HRESULT STDMETHODCALLTYPE OpenAddressBook(ULONG_PTR ulUIParam, LPCIID lpInterface, ULONG ulFlags,
                                              LPADRBOOK* lppAdrBook) override;
    HRESULT STDMETHODCALLTYPE OpenProfileSection(LPMAPIUID lpUID, LPCIID lpInterface, ULONG ulFlags,
                                                 LPPROFSECT* lppProfSect) override;
    HRESULT STDMETHODCALLTYPE GetStatusTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                        ULONG* lpulObjType, LPUNKNOWN* lppUnk) override;
    HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2,
                                              LPENTRYID lpEntryID2, ULONG ulFlags, ULONG* lpulResult) override;
    HRESULT STDMETHODCALLTYPE Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask,
                                     LPMAPIADVISESINK lpAdviseSink, ULONG* lpulConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG ulConnection) override;
    HRESULT STDMETHODCALLTYPE MessageOptions(ULONG_PTR ulUIParam, ULONG ulFlags, LPTSTR lpszAdrType,
                                             LPMESSAGE lpMessage) override;
    HRESULT STDMETHODCALLTYPE QueryDefaultMessageOpt(LPTSTR lpszAdrType, ULONG ulFlags, ULONG* lpcValues,
                                                     LPSPropValue* lppOptions) override;
    HRESULT STDMETHODCALLTYPE EnumAdrTypes(ULONG ulFlags, ULONG* lpcAdrTypes, LPTSTR** lpppszAdrTypes) override;
    HRESULT STDMETHODCALLTYPE QueryIdentity(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;
    HRESULT STDMETHODCALLTYPE Logoff(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG ulReserved) override;
    HRESULT STDMETHODCALLTYPE SetDefaultStore(ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID) override;
    HRESULT STDMETHODCALLTYPE AdminServices(ULONG ulFlags, LPSERVICEADMIN* lppServiceAdmin) override;
    HRESULT STDMETHODCALLTYPE ShowForm(ULONG_PTR ulUIParam, LPMDB lpMsgStore, LPMAPIFOLDER lpParentFolder,
                                       LPCIID lpInterface, ULONG ulMessageToken, LPMESSAGE lpMessageSent, ULONG ulFlags,
                                       ULONG ulMessageStatus, ULONG ulMessageFlags, ULONG ulAccess,
                                       LPSTR lpszMessageClass) override;
    HRESULT STDMETHODCALLTYPE PrepareForm(LPCIID lpInterface, LPMESSAGE lpMessage, ULONG* lpulMessageToken) override;

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {&IID_IMAPISession}); }

private:
    const ProfileInfo& CurrentProfile();
    HRESULT OpenStore(const MAPIUID& uid, bool writable, ComPtr<MsgStore>& store);
    // Clears where a call puts what it opens: MAPI_E_INVALID_PARAMETER when there is no such place,
    // MAPI_E_END_OF_SESSION once the session logged off.
    template <class T> HRESULT CheckLoggedOn(T** lppResult) const;
    // A table of the profile as it is now, made by `rowsOf`.
    HRESULT ProfileTable(const char* method, std::unique_ptr<RowSource> (*rowsOf)(const ProfileInfo&), ULONG ulFlags,
                         LPMAPITABLE* lppTable);

    typedef std::array<BYTE, 16> StoreKey;
    static StoreKey KeyOf(const MAPIUID& uid);

    std::unique_ptr<ProfileDatabase> m_profiles;
    std::string m_home;
    ProfileInfo m_profile;
    bool m_loggedOff = false;
    // The stores OpenEntry opened objects through, kept so that opening item after item costs no profile read.
    std::map<StoreKey, ComPtr<MsgStore>> m_entryStores;
    // The databases of the stores the session opened, kept open for its life.
    std::map<StoreKey, std::shared_ptr<StoreDatabase>> m_databases;
};
} // namespace mapisvc
