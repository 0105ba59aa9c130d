// IMAPIFolder: one folder of a store. Property changes are written through at once (as Outlook's stores do for
// folders); messages are created, copied, moved and deleted here, and sub-folders created and deleted.
#pragma once

#include "platform/mapi/MsgStore.h"

#include <functional>

namespace mapisvc
{
class Folder : public MAPIProp<IMAPIFolder>
{
public:
    Folder(ComPtr<MsgStore> store, ObjectRecord record, bool writable);

    const char* InterfaceName() const override { return "IMAPIFolder"; }
    int64_t Id() const { return m_record.id; }
    MsgStore& Store() const { return *m_store.Get(); }

    // IMAPIContainer
    HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                        ULONG* lpulObjType, LPUNKNOWN* lppUnk) override;
    HRESULT STDMETHODCALLTYPE SetSearchCriteria(LPSRestriction lpRestriction, LPENTRYLIST lpContainerList,
                                                ULONG ulSearchFlags) override;
    HRESULT STDMETHODCALLTYPE GetSearchCriteria(ULONG ulFlags, LPSRestriction* lppRestriction,
                                                LPENTRYLIST* lppContainerList, ULONG* lpulSearchState) override;

    // IMAPIFolder
    HRESULT STDMETHODCALLTYPE CreateMessage(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE* lppMessage) override;
    HRESULT STDMETHODCALLTYPE CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder,
                                           ULONG ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE DeleteMessages(LPENTRYLIST lpMsgList, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                             ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE CreateFolder(ULONG ulFolderType, LPTSTR lpszFolderName, LPTSTR lpszFolderComment,
                                           LPCIID lpInterface, ULONG ulFlags, LPMAPIFOLDER* lppFolder) override;
    HRESULT STDMETHODCALLTYPE CopyFolder(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, LPVOID lpDestFolder,
                                         LPTSTR lpszNewFolderName, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                         ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE DeleteFolder(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulUIParam,
                                           LPMAPIPROGRESS lpProgress, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE SetReadFlags(LPENTRYLIST lpMsgList, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                           ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE GetMessageStatus(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags,
                                               ULONG* lpulMessageStatus) override;
    HRESULT STDMETHODCALLTYPE SetMessageStatus(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulNewStatus,
                                               ULONG ulNewStatusMask, ULONG* lpulOldStatus) override;
    HRESULT STDMETHODCALLTYPE SaveContentsSort(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE EmptyFolder(ULONG ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) override;

    // PropertyHost
    PropertyBag& StoredProps() override { return m_record.props; }
    bool ComputeProp(ULONG propId, Prop& prop) override;
    void ComputedIds(std::vector<ULONG>& ids) override;
    bool IsReadOnlyProp(ULONG propId) const override;
    NamedProps* Names() override { return &Store().Db().Names(); }
    bool StoresUnicode() const override { return Store().Info().unicode; }
    HRESULT PropsChanged() override { return Store().Db().SaveFolderProps(m_record.id, m_record.props); }
    HRESULT LoadLargeValue(Prop& prop) override;
    bool OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    // Applies `action` to every message of the list; the first failure is the result when all failed, a
    // partial completion when some did.
    HRESULT ForEachMessage(LPENTRYLIST lpMsgList, const std::function<HRESULT(const ObjectId&)>& action);
    HRESULT MessagesOfFolder(std::vector<ObjectId>& messages);

    ComPtr<MsgStore> m_store;
    ObjectRecord m_record;
};
} // namespace mapisvc
