#include "platform/mapi/MsgStore.h"

#include "platform/mapi/EntryIdCompare.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/StoreLayout.h"
#include "platform/mapi/Text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace mapisvc
{
namespace
{
const ULONG kComputedIds[] = {
    PROP_ID(PR_DISPLAY_NAME),       PROP_ID(PR_PROVIDER_DISPLAY),     PROP_ID(PR_ENTRYID),
    PROP_ID(PR_RECORD_KEY),         PROP_ID(PR_STORE_ENTRYID),        PROP_ID(PR_STORE_RECORD_KEY),
    PROP_ID(PR_OBJECT_TYPE),        PROP_ID(PR_STORE_SUPPORT_MASK),   PROP_ID(PR_STORE_STATE),
    PROP_ID(PR_DEFAULT_STORE),      PROP_ID(PR_MDB_PROVIDER),         PROP_ID(PR_IPM_SUBTREE_ENTRYID),
    PROP_ID(PR_IPM_OUTBOX_ENTRYID), PROP_ID(PR_IPM_SENTMAIL_ENTRYID), PROP_ID(PR_IPM_WASTEBASKET_ENTRYID),
    PROP_ID(PR_VALID_FOLDER_MASK),
};
} // namespace

HRESULT CopyText(std::u16string_view text, ULONG ulFlags, LPTSTR* lppsz)
{
    if (!lppsz)
        return S_OK;
    const std::string bytes = ulFlags & MAPI_UNICODE ? Utf16ToBytes(text) : ToAnsi(text);
    const size_t terminator = ulFlags & MAPI_UNICODE ? 2 : 1;
    void* buffer = nullptr;
    if (HRESULT hr = AllocateBuffer(bytes.size() + terminator, &buffer))
        return hr;
    std::memcpy(buffer, bytes.data(), bytes.size());
    *lppsz = static_cast<LPTSTR>(buffer);
    return S_OK;
}

MsgStore::MsgStore(std::shared_ptr<StoreDatabase> db, StoreInfo info, bool writable)
    : m_db(std::move(db)), m_info(std::move(info))
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
    m_db->LoadStoreProps(m_props);
}

MsgStore::~MsgStore()
{
    m_db->Notifications().RemoveOwner(this);
}

bool MsgStore::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMsgStore});
}

bool MsgStore::FolderEntryIdProp(ULONG tag, FolderRole role, Prop& prop) const
{
    const int64_t id = m_db->RoleFolder(role);
    prop = id ? MakeProp(tag, Blob(m_db->EntryIdOf(MAPI_FOLDER, id))) : Prop();
    return id != 0;
}

bool MsgStore::ComputeProp(ULONG propId, Prop& prop)
{
    return ProfileProp(propId, prop) || IdentityProp(propId, prop) || FolderProp(propId, prop);
}

bool MsgStore::ProfileProp(ULONG propId, Prop& prop) const
{
    switch (propId)
    {
    case PROP_ID(PR_DISPLAY_NAME):
        prop = StringProp(propId, m_info.displayName, m_info.unicode);
        return true;
    case PROP_ID(PR_PROVIDER_DISPLAY):
        prop = StringProp(propId, m_info.providerName, m_info.unicode);
        return true;
    case PROP_ID(PR_STORE_SUPPORT_MASK):
        prop = MakeProp(PR_STORE_SUPPORT_MASK, EncodeLong(static_cast<LONG>(m_info.supportMask)));
        return true;
    case PROP_ID(PR_STORE_STATE):
        prop = MakeProp(PR_STORE_STATE, EncodeLong(static_cast<LONG>(m_info.state)));
        return true;
    case PROP_ID(PR_DEFAULT_STORE):
        prop = MakeProp(PR_DEFAULT_STORE, EncodeBool(m_info.isDefault));
        return true;
    default:
        return false;
    }
}

bool MsgStore::IdentityProp(ULONG propId, Prop& prop) const
{
    switch (propId)
    {
    case PROP_ID(PR_ENTRYID):
    case PROP_ID(PR_STORE_ENTRYID):
        prop = MakeProp(PROP_TAG(PT_BINARY, propId), Blob(m_db->EntryIdOf(MAPI_STORE, 0)));
        return true;
    case PROP_ID(PR_RECORD_KEY):
    case PROP_ID(PR_STORE_RECORD_KEY):
        prop = MakeProp(PROP_TAG(PT_BINARY, propId), std::string(UidBytes(m_db->Uid())));
        return true;
    case PROP_ID(PR_MDB_PROVIDER):
        prop = MakeProp(PR_MDB_PROVIDER, std::string(UidBytes(kStoreProviderUid)));
        return true;
    case PROP_ID(PR_OBJECT_TYPE):
        prop = MakeProp(PR_OBJECT_TYPE, EncodeLong(MAPI_STORE));
        return true;
    default:
        return false;
    }
}

bool MsgStore::FolderProp(ULONG propId, Prop& prop) const
{
    switch (propId)
    {
    case PROP_ID(PR_VALID_FOLDER_MASK):
        prop = MakeProp(PR_VALID_FOLDER_MASK, EncodeLong(static_cast<LONG>(ValidFolderMask())));
        return true;
    case PROP_ID(PR_IPM_SUBTREE_ENTRYID):
        return FolderEntryIdProp(PR_IPM_SUBTREE_ENTRYID, FolderRole::IpmSubtree, prop);
    case PROP_ID(PR_IPM_OUTBOX_ENTRYID):
        return FolderEntryIdProp(PR_IPM_OUTBOX_ENTRYID, FolderRole::Outbox, prop);
    case PROP_ID(PR_IPM_SENTMAIL_ENTRYID):
        return FolderEntryIdProp(PR_IPM_SENTMAIL_ENTRYID, FolderRole::SentItems, prop);
    case PROP_ID(PR_IPM_WASTEBASKET_ENTRYID):
        return FolderEntryIdProp(PR_IPM_WASTEBASKET_ENTRYID, FolderRole::DeletedItems, prop);
    default:
        return false;
    }
}

// A bit is set only for a folder the store has: a store made without the standard folders has the subtree alone.
ULONG MsgStore::ValidFolderMask() const
{
    const std::pair<FolderRole, ULONG> bits[] = {{FolderRole::IpmSubtree, FOLDER_IPM_SUBTREE_VALID},
                                                 {FolderRole::Inbox, FOLDER_IPM_INBOX_VALID},
                                                 {FolderRole::Outbox, FOLDER_IPM_OUTBOX_VALID},
                                                 {FolderRole::DeletedItems, FOLDER_IPM_WASTEBASKET_VALID},
                                                 {FolderRole::SentItems, FOLDER_IPM_SENTMAIL_VALID}};
    ULONG mask = 0;
    for (const auto& bit : bits)
        if (m_db->RoleFolder(bit.first))
            mask |= bit.second;
    return mask;
}

void MsgStore::ComputedIds(std::vector<ULONG>& ids)
{
    for (ULONG id : kComputedIds)
    {
        Prop prop;
        if (ComputeProp(id, prop))
            ids.push_back(id);
    }
}

bool MsgStore::IsReadOnlyProp(ULONG propId) const
{
    return std::find(std::begin(kComputedIds), std::end(kComputedIds), propId) != std::end(kComputedIds);
}

HRESULT MsgStore::LoadLargeValue(Prop& prop)
{
    return m_db->LoadLargeValue(StoreDatabase::kStoreOwner, 0, PROP_ID(prop.tag), prop.data);
}

bool MsgStore::OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value)
{
    return m_db->OpenLargeValue(StoreDatabase::kStoreOwner, 0, PROP_ID(prop.tag), value) == S_OK;
}

HRESULT MsgStore::ParseOwnEntryId(ULONG cbEntryID, LPENTRYID lpEntryID, ObjectId& object) const
{
    if (HRESULT hr = ParseStoreEntryId(cbEntryID, lpEntryID, object))
        return hr;
    return std::memcmp(object.store.ab, m_db->Uid().ab, 16) == 0 ? S_OK : MAPI_E_NOT_FOUND;
}

HRESULT MsgStore::OpenOwnEntry(int64_t emptyIdFolder, ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                               ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk)
{
    ObjectId object;
    if (cbEntryID == 0)
    {
        object.type = MAPI_FOLDER;
        object.id = emptyIdFolder;
    }
    else if (HRESULT hr = ParseOwnEntryId(cbEntryID, lpEntryID, object))
        return hr;
    return OpenObject(object, lpInterface, ulFlags, lpulObjType, lppUnk);
}

HRESULT MsgStore::OpenObject(const ObjectId& object, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                             LPUNKNOWN* lppUnk)
{
    if (!lppUnk)
        return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    if (object.type == MAPI_STORE)
    {
        if (lpInterface && !Implements(*lpInterface))
            return MAPI_E_INTERFACE_NOT_SUPPORTED;
        AddRef();
        *lppUnk = static_cast<IMsgStore*>(this);
        if (lpulObjType)
            *lpulObjType = MAPI_STORE;
        return S_OK;
    }
    ObjectRecord record;
    if (HRESULT hr = m_db->LoadObject(object.id, record))
        return hr;
    if (record.type != object.type)
        return MAPI_E_NOT_FOUND;
    const bool writable = (ulFlags & (MAPI_MODIFY | MAPI_BEST_ACCESS)) && m_access == Access::ReadWrite;
    IUnknown* opened = nullptr;
    if (record.type == MAPI_FOLDER)
        opened = static_cast<IMAPIFolder*>(new Folder(ComPtr<MsgStore>::AddRefed(this), std::move(record), writable));
    else
        opened =
            static_cast<IMessage*>(new Message(ComPtr<MsgStore>::AddRefed(this), std::move(record), false, writable));
    ComPtr<IUnknown> holder(opened);
    if (lpInterface)
    {
        void* asked = nullptr;
        if (opened->QueryInterface(*lpInterface, &asked) != S_OK)
            return MAPI_E_INTERFACE_NOT_SUPPORTED;
        static_cast<IUnknown*>(asked)->Release();
    }
    if (lpulObjType)
        *lpulObjType = object.type;
    *lppUnk = holder.Detach();
    return S_OK;
}

HRESULT MsgStore::Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink,
                         ULONG* lpulConnection)
{
    ServiceCall call(*this, "IMsgStore", "Advise");
    if (HRESULT hr = call.Flags(ulEventMask).Fault())
        return hr;
    if (!lpAdviseSink || !lpulConnection || !ulEventMask)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (!(m_info.supportMask & STORE_NOTIFY_OK))
        return call.Done(MAPI_E_NO_SUPPORT);
    ObjectId filter;
    if (cbEntryID)
        if (HRESULT hr = ParseOwnEntryId(cbEntryID, lpEntryID, filter))
            return call.Done(hr);
    *lpulConnection = m_db->Notifications().Advise(this, ulEventMask, cbEntryID ? &filter : nullptr, lpAdviseSink);
    return call.Done(S_OK);
}

HRESULT MsgStore::Unadvise(ULONG ulConnection)
{
    ServiceCall call(*this, "IMsgStore", "Unadvise");
    if (HRESULT hr = call.Flags(ulConnection).Fault())
        return hr;
    return call.Done(m_db->Notifications().Unadvise(this, ulConnection));
}

HRESULT MsgStore::CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                  ULONG ulFlags, ULONG* lpulResult)
{
    ServiceCall call(*this, "IMsgStore", "CompareEntryIDs");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(CompareEntryIds(cbEntryID1, lpEntryID1, cbEntryID2, lpEntryID2, lpulResult));
}

HRESULT MsgStore::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                            LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IMsgStore", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(OpenOwnEntry(m_db->RoleFolder(FolderRole::Root), cbEntryID, lpEntryID, lpInterface, ulFlags,
                                  lpulObjType, lppUnk));
}

HRESULT MsgStore::SetReceiveFolder(LPTSTR, ULONG ulFlags, ULONG, LPENTRYID)
{
    return Unsupported("SetReceiveFolder", ulFlags);
}

HRESULT MsgStore::GetReceiveFolder(LPTSTR lpszMessageClass, ULONG ulFlags, ULONG* lpcbEntryID, LPENTRYID* lppEntryID,
                                   LPTSTR* lppszExplicitClass)
{
    ServiceCall call(*this, "IMsgStore", "GetReceiveFolder");
    if (HRESULT hr = call.Flags(ulFlags).Text(ArgumentText(lpszMessageClass, ulFlags)).Fault())
        return hr;
    if (!lpcbEntryID || !lppEntryID)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppEntryID = nullptr;
    const int64_t inbox = m_db->RoleFolder(FolderRole::Inbox);
    if (!inbox)
        return call.Done(MAPI_E_NOT_FOUND);
    // The Inbox receives every message class; its identifier is handed out in the short-term form.
    if (HRESULT hr = CopyToMAPIBuffer(m_db->EntryIdOf(MAPI_FOLDER, inbox, true), lpcbEntryID, lppEntryID))
        return call.Done(hr);
    if (lppszExplicitClass)
    {
        *lppszExplicitClass = nullptr;
        if (HRESULT hr = CopyText(u"", ulFlags, lppszExplicitClass))
        {
            MAPIFreeBuffer(*lppEntryID);
            *lppEntryID = nullptr;
            return call.Done(hr);
        }
    }
    return call.Done(S_OK);
}

HRESULT MsgStore::GetReceiveFolderTable(ULONG ulFlags, LPMAPITABLE*)
{
    return Unsupported("GetReceiveFolderTable", ulFlags);
}

HRESULT MsgStore::StoreLogoff(ULONG* lpulFlags)
{
    ServiceCall call(*this, "IMsgStore", "StoreLogoff");
    if (HRESULT hr = call.Flags(lpulFlags ? *lpulFlags : 0).Fault())
        return hr;
    if (lpulFlags)
        *lpulFlags = LOGOFF_COMPLETE;
    return call.Done(S_OK);
}

HRESULT MsgStore::AbortSubmit(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags)
{
    ServiceCall call(*this, "IMsgStore", "AbortSubmit");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    ObjectId object;
    if (HRESULT hr = ParseOwnEntryId(cbEntryID, lpEntryID, object))
        return call.Done(hr);
    ObjectRecord record;
    if (HRESULT hr = m_db->LoadObject(object.id, record))
        return call.Done(hr);
    if (record.type != MAPI_MESSAGE || !(record.flags & MSGFLAG_SUBMIT))
        return call.Done(MAPI_E_NOT_IN_QUEUE);
    bool changed = false;
    return call.Done(m_db->SetMessageFlags(object.id, 0, MSGFLAG_SUBMIT, changed));
}

HRESULT MsgStore::GetOutgoingQueue(ULONG ulFlags, LPMAPITABLE*)
{
    return Unsupported("GetOutgoingQueue", ulFlags);
}

HRESULT MsgStore::SetLockState(LPMESSAGE, ULONG ulLockState)
{
    return Unsupported("SetLockState", ulLockState);
}

HRESULT MsgStore::FinishedMsg(ULONG ulFlags, ULONG, LPENTRYID)
{
    return Unsupported("FinishedMsg", ulFlags);
}

HRESULT MsgStore::NotifyNewMail(LPNOTIFICATION)
{
    return Unsupported("NotifyNewMail");
}
} // namespace mapisvc
