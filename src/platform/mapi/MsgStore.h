// IMsgStore: one message store opened in a session. Its properties come from the profile (display name,
// provider, support mask, state, default flag) and from the store itself (the folders it knows by role); it
// opens the store's folders and messages, hands out the Inbox as receive folder and keeps the advise
// registrations its caller made.
#pragma once

#include "platform/mapi/MAPIProp.h"
#include "platform/mapi/ProfileDatabase.h"
#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
class MsgStore : public MAPIProp<IMsgStore>
{
public:
    MsgStore(std::shared_ptr<StoreDatabase> db, StoreInfo info, bool writable);
    ~MsgStore() override;

    const char* InterfaceName() const override { return "IMsgStore"; }
    StoreDatabase& Db() const { return *m_db; }
    const std::shared_ptr<StoreDatabase>& DbPtr() const { return m_db; }
    const StoreInfo& Info() const { return m_info; }

    // Opens a folder or message of this store by its identifier.
    HRESULT OpenObject(const ObjectId& object, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                       LPUNKNOWN* lppUnk);
    // Parses an identifier and checks it names an object of this store.
    HRESULT ParseOwnEntryId(ULONG cbEntryID, LPENTRYID lpEntryID, ObjectId& object) const;
    // OpenEntry of the store and its folders: the object an identifier of this store names, or with an empty
    // identifier the folder `emptyIdFolder`.
    HRESULT OpenOwnEntry(int64_t emptyIdFolder, ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                         ULONG* lpulObjType, LPUNKNOWN* lppUnk);

    // IMsgStore
    HRESULT STDMETHODCALLTYPE Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask,
                                     LPMAPIADVISESINK lpAdviseSink, ULONG* lpulConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG ulConnection) override;
    HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2,
                                              LPENTRYID lpEntryID2, ULONG ulFlags, ULONG* lpulResult) override;
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                        ULONG* lpulObjType, LPUNKNOWN* lppUnk) override;
    HRESULT STDMETHODCALLTYPE SetReceiveFolder(LPTSTR lpszMessageClass, ULONG ulFlags, ULONG cbEntryID,
                                               LPENTRYID lpEntryID) override;
    HRESULT STDMETHODCALLTYPE GetReceiveFolder(LPTSTR lpszMessageClass, ULONG ulFlags, ULONG* lpcbEntryID,
                                               LPENTRYID* lppEntryID, LPTSTR* lppszExplicitClass) override;
    HRESULT STDMETHODCALLTYPE GetReceiveFolderTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE StoreLogoff(ULONG* lpulFlags) override;
    HRESULT STDMETHODCALLTYPE AbortSubmit(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE GetOutgoingQueue(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE SetLockState(LPMESSAGE lpMessage, ULONG ulLockState) override;
    HRESULT STDMETHODCALLTYPE FinishedMsg(ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID) override;
    HRESULT STDMETHODCALLTYPE NotifyNewMail(LPNOTIFICATION lpNotification) override;

    // PropertyHost
    PropertyBag& StoredProps() override { return m_props; }
    bool ComputeProp(ULONG propId, Prop& prop) override;
    void ComputedIds(std::vector<ULONG>& ids) override;
    bool IsReadOnlyProp(ULONG propId) const override;
    NamedProps* Names() override { return &m_db->Names(); }
    bool StoresUnicode() const override { return m_info.unicode; }
    HRESULT PropsChanged() override { return m_db->SaveStoreProps(m_props); }
    HRESULT LoadLargeValue(Prop& prop) override;
    bool OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    // The computed properties by where they come from; each false for an id not its own (FolderProp also for a
    // folder the store lacks).
    bool ProfileProp(ULONG propId, Prop& prop) const;  // name, provider, support mask, state, default flag
    bool IdentityProp(ULONG propId, Prop& prop) const; // entry identifier, record key, provider, object type
    bool FolderProp(ULONG propId, Prop& prop) const;   // the folders the store knows by role
    ULONG ValidFolderMask() const;
    // The identifier of the store's folder of that role; false when the store has none.
    bool FolderEntryIdProp(ULONG tag, FolderRole role, Prop& prop) const;

    std::shared_ptr<StoreDatabase> m_db;
    StoreInfo m_info;
    PropertyBag m_props;
};

// A copy of `text` in a new MAPI buffer, in the width `ulFlags` asks for (MAPI_UNICODE or 8-bit).
HRESULT CopyText(std::u16string_view text, ULONG ulFlags, LPTSTR* lppsz);
} // namespace mapisvc
