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
Session::Session(std::string home, ProfileInfo profile) : m_home(std::move(home)), m_profile(std::move(profile))
{
    SessionStarted(m_home, m_profile.name);
}

Session::~Session()
{
    SessionEnded(m_home, m_profile.name);
}

const ProfileInfo& Session::CurrentProfile()
{
    std::unique_ptr<ProfileDatabase> profiles;
    ProfileInfo current;
    if (ProfileDatabase::Open(m_home, profiles) == S_OK && profiles->LoadProfile(m_profile.name, current) == S_OK)
        m_profile = std::move(current);
    return m_profile;
}

HRESULT Session::OpenStore(const MAPIUID& uid, bool writable, ComPtr<MsgStore>& store)
{
    for (const StoreInfo& info : CurrentProfile().stores)
    {
        if (std::memcmp(info.uid.ab, uid.ab, 16) != 0)
            continue;
        std::shared_ptr<StoreDatabase> db;
        if (HRESULT hr = StoreDatabase::Open(info.path, db))
            return hr;
        store.Reset(new MsgStore(std::move(db), info, writable));
        return S_OK;
    }
    return MAPI_E_NOT_FOUND;
}

HRESULT Session::GetLastError(HRESULT, ULONG ulFlags, LPMAPIERROR* lppMAPIError)
{
    return NoLastError("IMAPISession", ulFlags, lppMAPIError);
}

HRESULT Session::GetMsgStoresTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMAPISession", "GetMsgStoresTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppTable)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
    *lppTable = new Table(MakeStoresRows(CurrentProfile()), (ulFlags & MAPI_UNICODE) != 0);
    return call.Done(S_OK);
}

HRESULT Session::OpenMsgStore(ULONG_PTR, ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                              LPMDB* lppMDB)
{
    ServiceCall call(*this, "IMAPISession", "OpenMsgStore");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppMDB)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppMDB = nullptr;
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
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
    if (!lppAdrBook)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppAdrBook = nullptr;
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
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
    ServiceCall call(*this, "IMAPISession", "GetStatusTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppTable)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
    *lppTable = new Table(MakeStatusRows(CurrentProfile()), (ulFlags & MAPI_UNICODE) != 0);
    return call.Done(S_OK);
}

HRESULT Session::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                           LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IMAPISession", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppUnk)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppUnk = nullptr;
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
    if (HasProviderUid(cbEntryID, lpEntryID, kAddressBookProviderUid) || IsOneOffEntryId(cbEntryID, lpEntryID))
    {
        ComPtr<IAddrBook> book(new AddrBook(m_home, m_profile.name));
        return call.Done(book->OpenEntry(cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk));
    }
    ObjectId object;
    if (HRESULT hr = ParseStoreEntryId(cbEntryID, lpEntryID, object))
        return call.Done(
            HasProviderUid(cbEntryID, lpEntryID, kStoreProviderUid) || cbEntryID < 20 ? hr : MAPI_E_UNKNOWN_ENTRYID);
    std::array<BYTE, 16> key;
    std::copy(std::begin(object.store.ab), std::end(object.store.ab), key.begin());
    ComPtr<MsgStore>& store = m_entryStores[key];
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
    if (!lpcbEntryID || !lppEntryID)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppEntryID = nullptr;
    if (m_loggedOff)
        return call.Done(MAPI_E_END_OF_SESSION);
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
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = ProfileDatabase::Open(m_home, profiles))
        return call.Done(hr);
    StoreInfo store;
    if (HRESULT hr = profiles->FindStore(object.store, store))
        return call.Done(hr);
    store.isDefault = true;
    return call.Done(profiles->UpdateStore(store));
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
