#include "platform/mapi/Session.h"

#include "platform/mapi/AddrBook.h"
#include "platform/mapi/EntryIdCompare.h"
#include "platform/mapi/OneOff.h"
#include "platform/mapi/ProfileTables.h"
#include "platform/mapi/Profiles.h"
#include "platform/mapi/Table.h"

#include <algorithm>
#include <cstring>

namespace mapisvc
{
Session::Session(std::unique_ptr<ProfileDatabase> profiles, ProfileInfo profile)
    : m_profiles(std::move(profiles)), m_home(m_profiles->Home()), m_profile(std::move(profile))
{
    SessionStarted(m_home, m_profile.name);
}

Session::~Session()
{
    SessionEnded(m_home, m_profile.name);
}

Session::StoreKey Session::KeyOf(const MAPIUID& uid)
{
    StoreKey key;
    std::copy(std::begin(uid.ab), std::end(uid.ab), key.begin());
    return key;
}

const ProfileInfo& Session::CurrentProfile()
{
    ProfileInfo current;
    if (m_profiles->LoadProfile(m_profile.name, current) == S_OK)
        m_profile = std::move(current);
    return m_profile;
}

HRESULT Session::OpenStore(const MAPIUID& uid, bool writable, ComPtr<MsgStore>& store)
{
    for (const StoreInfo& info : CurrentProfile().stores)
    {
        if (std::memcmp(info.uid.ab, uid.ab, 16) != 0)
            continue;
        std::shared_ptr<StoreDatabase>& db = m_databases[KeyOf(uid)];
        if (!db)
            if (HRESULT hr = StoreDatabase::Open(info.path, db))
                return hr;
        store.Reset(new MsgStore(db, info, writable));
        return S_OK;
    }
    return MAPI_E_NOT_FOUND;
}

HRESULT Session::GetLastError(HRESULT, ULONG ulFlags, LPMAPIERROR* lppMAPIError)
{
    return NoLastError("IMAPISession", ulFlags, lppMAPIError);
}

template <class T> HRESULT Session::CheckLoggedOn(T** lppResult) const
{
    if (!lppResult)
        return MAPI_E_INVALID_PARAMETER;
    *lppResult = nullptr;
    return m_loggedOff ? MAPI_E_END_OF_SESSION : S_OK;
}

HRESULT Session::ProfileTable(const char* method, std::unique_ptr<RowSource> (*rowsOf)(const ProfileInfo&),
                              ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMAPISession", method);
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckLoggedOn(lppTable))
        return call.Done(hr);
    return call.Done(NewTable(rowsOf(CurrentProfile()), ulFlags, lppTable));
}

HRESULT Session::GetMsgStoresTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    return ProfileTable("GetMsgStoresTable", MakeStoresRows, ulFlags, lppTable);
}

HRESULT Session::OpenMsgStore(ULONG_PTR, ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                              LPMDB* lppMDB)
{
    ServiceCall call(*this, "IMAPISession", "OpenMsgStore");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckLoggedOn(lppMDB))
        return call.Done(hr);
    if (lpInterface && !IsEqualGUID(*lpInterface, IID_IMsgStore) && !IsEqualGUID(*lpInterface, IID_IMAPIProp))
        return call.Done(MAPI_E_INTERFACE_NOT_SUPPORTED);
    ObjectId object;
    if (HRESULT hr = ParseStoreEntryId(cbEntryID, lpEntryID, object))
        return call.Done(hr);
    if (object.type != MAPI_STORE)
        return call.Done(MAPI_E_INVALID_ENTRYID);
    ComPtr<MsgStore> store;
    if (HRESULT hr = OpenStore(object.store, (ulFlags & (MAPI_BEST_ACCESS | MDB_WRITE)) != 0, store))
        return call.Done(hr);
    *lppMDB = store.Detach();
    return call.Done(S_OK);
}

HRESULT Session::OpenAddressBook(ULONG_PTR, LPCIID lpInterface, ULONG ulFlags, LPADRBOOK* lppAdrBook)
{
    ServiceCall call(*this, "IMAPISession", "OpenAddressBook");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckLoggedOn(lppAdrBook))
        return call.Done(hr);
    if (lpInterface && !IsEqualGUID(*lpInterface, IID_IAddrBook))
        return call.Done(MAPI_E_INTERFACE_NOT_SUPPORTED);
    *lppAdrBook = new AddrBook(m_home, m_profile.name);
    return call.Done(S_OK);
}

HRESULT Session::OpenProfileSection(LPMAPIUID, LPCIID, ULONG ulFlags, LPPROFSECT*)
{
    return Unsupported("OpenProfileSection", ulFlags);
}

HRESULT Session::GetStatusTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    return ProfileTable("GetStatusTable", MakeStatusRows, ulFlags, lppTable);
}

HRESULT Session::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                           LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IMAPISession", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckLoggedOn(lppUnk))
        return call.Done(hr);
    if (HasProviderUid(cbEntryID, lpEntryID, kAddressBookProviderUid) || IsOneOffEntryId(cbEntryID, lpEntryID))
    {
        ComPtr<IAddrBook> book(new AddrBook(m_home, m_profile.name));
        return call.Done(book->OpenEntry(cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk));
    }
    ObjectId object;
    if (HRESULT hr = ParseStoreEntryId(cbEntryID, lpEntryID, object))
        return call.Done(
            HasProviderUid(cbEntryID, lpEntryID, kStoreProviderUid) || cbEntryID < 20 ? hr : MAPI_E_UNKNOWN_ENTRYID);
    ComPtr<MsgStore>& store = m_entryStores[KeyOf(object.store)];
    if (!store)
        if (HRESULT hr = OpenStore(object.store, true, store))
            return call.Done(hr);
    return call.Done(store->OpenObject(object, lpInterface, ulFlags, lpulObjType, lppUnk));
}

HRESULT Session::CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                 ULONG ulFlags, ULONG* lpulResult)
{
    ServiceCall call(*this, "IMAPISession", "CompareEntryIDs");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(CompareEntryIds(cbEntryID1, lpEntryID1, cbEntryID2, lpEntryID2, lpulResult));
}

HRESULT Session::Advise(ULONG, LPENTRYID, ULONG ulEventMask, LPMAPIADVISESINK, ULONG*)
{
    return Unsupported("Advise", ulEventMask);
}

HRESULT Session::Unadvise(ULONG)
{
    return Unsupported("Unadvise");
}

HRESULT Session::MessageOptions(ULONG_PTR, ULONG ulFlags, LPTSTR, LPMESSAGE)
{
    return Unsupported("MessageOptions", ulFlags);
}

HRESULT Session::QueryDefaultMessageOpt(LPTSTR, ULONG ulFlags, ULONG*, LPSPropValue*)
{
    return Unsupported("QueryDefaultMessageOpt", ulFlags);
}

HRESULT Session::EnumAdrTypes(ULONG ulFlags, ULONG*, LPTSTR**)
{
    return Unsupported("EnumAdrTypes", ulFlags);
}

HRESULT Session::QueryIdentity(ULONG* lpcbEntryID, LPENTRYID* lppEntryID)
{
    ServiceCall call(*this, "IMAPISession", "QueryIdentity");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!lpcbEntryID)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = CheckLoggedOn(lppEntryID))
        return call.Done(hr);
    const int64_t identity = CurrentProfile().identity;
    if (!identity)
        return call.Done(MAPI_E_NOT_FOUND);
    return call.Done(CopyToMAPIBuffer(MakeAddressBookEntryId(MAPI_MAILUSER, identity), lpcbEntryID, lppEntryID));
}

HRESULT Session::Logoff(ULONG_PTR, ULONG ulFlags, ULONG)
{
    ServiceCall call(*this, "IMAPISession", "Logoff");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    m_loggedOff = true;
    return call.Done(S_OK);
}

HRESULT Session::SetDefaultStore(ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID)
{
    ServiceCall call(*this, "IMAPISession", "SetDefaultStore");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (ulFlags != MAPI_DEFAULT_STORE)
        return call.Done(MAPI_E_NO_SUPPORT);
    ObjectId object;
    if (HRESULT hr = ParseStoreEntryId(cbEntryID, lpEntryID, object))
        return call.Done(hr);
    StoreInfo store;
    if (HRESULT hr = m_profiles->FindStore(object.store, store))
        return call.Done(hr);
    store.isDefault = true;
    return call.Done(m_profiles->UpdateStore(store));
}

HRESULT Session::AdminServices(ULONG ulFlags, LPSERVICEADMIN*)
{
    return Unsupported("AdminServices", ulFlags);
}

HRESULT Session::ShowForm(ULONG_PTR, LPMDB, LPMAPIFOLDER, LPCIID, ULONG, LPMESSAGE, ULONG ulFlags, ULONG, ULONG, ULONG,
                          LPSTR)
{
    return Unsupported("ShowForm", ulFlags);
}

HRESULT Session::PrepareForm(LPCIID, LPMESSAGE, ULONG*)
{
    return Unsupported("PrepareForm");
}
} // namespace mapisvc
