#include "platform/mapi/Folder.h"

#include "platform/mapi/FolderProps.h"
#include "platform/mapi/HierarchyRows.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/ObjectIdentity.h"
#include "platform/mapi/StoreLayout.h"
#include "platform/mapi/StoreRowSources.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Text.h"

#include <limits>

namespace mapisvc
{
namespace
{
const ULONG kFolderAccess = MAPI_ACCESS_MODIFY | MAPI_ACCESS_READ | MAPI_ACCESS_DELETE | MAPI_ACCESS_CREATE_HIERARCHY |
                            MAPI_ACCESS_CREATE_CONTENTS;
} // namespace

Folder::Folder(ComPtr<MsgStore> store, ObjectRecord record, bool writable)
    : m_store(std::move(store)), m_record(std::move(record))
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
}

bool Folder::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMAPIContainer, &IID_IMAPIFolder});
}

bool Folder::ComputeProp(ULONG propId, Prop& prop)
{
    if (IdentityProp({&Store().Db(), MAPI_FOLDER, m_record.id, m_record.parent}, propId, prop))
        return true;
    if (FolderStatProp(Store().Db(), m_record.id, propId, prop))
        return true;
    if (propId == PROP_ID(PR_ACCESS))
    {
        prop = MakeProp(PR_ACCESS, EncodeLong(m_access == Access::ReadWrite ? kFolderAccess : MAPI_ACCESS_READ));
        return true;
    }
    return AccessLevelProp(propId, prop);
}

void Folder::ComputedIds(std::vector<ULONG>& ids)
{
    IdentityPropIds(ids);
    if (m_record.parent <= 0)
        ids.erase(std::remove(ids.begin(), ids.end(), PROP_ID(PR_PARENT_ENTRYID)), ids.end());
    FolderStatPropIds(ids);
    ids.push_back(PROP_ID(PR_ACCESS));
    ids.push_back(PROP_ID(PR_ACCESS_LEVEL));
}

bool Folder::IsReadOnlyProp(ULONG propId) const
{
    return IsIdentityProp(propId) || IsFolderStatProp(propId) || propId == PROP_ID(PR_ACCESS) ||
           propId == PROP_ID(PR_ACCESS_LEVEL);
}

HRESULT Folder::LoadLargeValue(Prop& prop)
{
    return Store().Db().LoadLargeValue(m_record.id, 0, PROP_ID(prop.tag), prop.data);
}

bool Folder::OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value)
{
    return Store().Db().OpenLargeValue(m_record.id, 0, PROP_ID(prop.tag), value) == S_OK;
}

HRESULT Folder::GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMAPIContainer", "GetContentsTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (ulFlags & MAPI_ASSOCIATED)
        return call.Done(NewTable({}, {PR_ENTRYID}, ulFlags, lppTable));
    return call.Done(NewTable(MakeContentsRows(Store().DbPtr(), m_record.id), ulFlags, lppTable));
}

HRESULT Folder::GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMAPIContainer", "GetHierarchyTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    std::unique_ptr<RowSource> rows;
    if (HRESULT hr = MakeHierarchyRows(Store().DbPtr(), m_record.id, (ulFlags & CONVENIENT_DEPTH) != 0, rows))
        return call.Done(hr);
    return call.Done(NewTable(std::move(rows), ulFlags, lppTable));
}

HRESULT Folder::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                          LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IMAPIContainer", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(
        Store().OpenOwnEntry(m_record.id, cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk));
}

HRESULT Folder::SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG ulSearchFlags)
{
    return Unsupported("SetSearchCriteria", ulSearchFlags);
}

HRESULT Folder::GetSearchCriteria(ULONG ulFlags, LPSRestriction*, LPENTRYLIST*, ULONG*)
{
    return Unsupported("GetSearchCriteria", ulFlags);
}

HRESULT Folder::CreateMessage(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE* lppMessage)
{
    ServiceCall call(*this, "IMAPIFolder", "CreateMessage");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = PrepareOpen(lppMessage, lpInterface, IID_IMessage))
        return call.Done(hr);
    if (ulFlags & MAPI_ASSOCIATED)
        return call.Done(MAPI_E_NO_SUPPORT);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    ObjectRecord record;
    if (HRESULT hr = Store().Db().ReserveMessageId(record.id))
        return call.Done(hr);
    record.type = MAPI_MESSAGE;
    record.parent = m_record.id;
    *lppMessage = new Message(m_store, std::move(record), true, true);
    return call.Done(S_OK);
}

HRESULT Folder::ForEachMessage(LPENTRYLIST lpMsgList, const std::function<HRESULT(const ObjectId&)>& action)
{
    if (!lpMsgList || (lpMsgList->cValues && !lpMsgList->lpbin))
        return MAPI_E_INVALID_PARAMETER;
    HRESULT first = S_OK;
    ULONG failed = 0;
    for (ULONG i = 0; i < lpMsgList->cValues; ++i)
    {
        const SBinary& entry = lpMsgList->lpbin[i];
        ObjectId object;
        HRESULT hr = Store().ParseOwnEntryId(entry.cb, reinterpret_cast<LPENTRYID>(entry.lpb), object);
        if (hr == S_OK && object.type != MAPI_MESSAGE)
            hr = MAPI_E_NOT_FOUND;
        if (hr == S_OK)
            hr = action(object);
        if (hr != S_OK)
        {
            first = failed++ ? first : hr;
        }
    }
    if (failed == 0)
        return S_OK;
    return failed == lpMsgList->cValues ? first : MAPI_W_PARTIAL_COMPLETION;
}

HRESULT Folder::CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder, ULONG ulUIParam,
                             LPMAPIPROGRESS lpProgress, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPIFolder", "CopyMessages");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    auto* destination = lpDestFolder ? dynamic_cast<Folder*>(static_cast<IMAPIFolder*>(lpDestFolder)) : nullptr;
    if (!destination)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = destination->CheckWritable())
        return call.Done(hr);
    const bool move = (ulFlags & MESSAGE_MOVE) != 0;
    StoreDatabase& source = Store().Db();
    StoreDatabase& target = destination->Store().Db();
    return call.Done(ForEachMessage(lpMsgList,
                                    [&](const ObjectId& message) -> HRESULT
                                    {
                                        if (move && &source == &target)
                                            return source.MoveMessage(message.id, m_record.id, destination->Id());
                                        int64_t copy = 0;
                                        if (HRESULT hr = source.CopyMessage(message.id, m_record.id, target,
                                                                            destination->Id(), copy))
                                            return hr;
                                        return move ? source.DeleteMessage(message.id, m_record.id) : S_OK;
                                    }));
}

HRESULT Folder::DeleteMessages(LPENTRYLIST lpMsgList, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPIFolder", "DeleteMessages");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    return call.Done(ForEachMessage(lpMsgList, [&](const ObjectId& message)
                                    { return Store().Db().DeleteMessage(message.id, m_record.id); }));
}

HRESULT Folder::CreateFolder(ULONG ulFolderType, LPTSTR lpszFolderName, LPTSTR lpszFolderComment, LPCIID lpInterface,
                             ULONG ulFlags, LPMAPIFOLDER* lppFolder)
{
    const std::u16string name = ArgumentText(lpszFolderName, ulFlags);
    ServiceCall call(*this, "IMAPIFolder", "CreateFolder");
    if (HRESULT hr = call.Flags(ulFlags).Text(name).Fault())
        return hr;
    if (!lppFolder || name.empty())
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppFolder = nullptr;
    if (ulFolderType != FOLDER_GENERIC)
        return call.Done(MAPI_E_NO_SUPPORT);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    StoreDatabase& db = Store().Db();
    ObjectId folder;
    folder.type = MAPI_FOLDER;
    HRESULT hr = db.FindChildFolder(m_record.id, name, folder.id);
    if (hr == S_OK && !(ulFlags & OPEN_IF_EXISTS))
        return call.Done(MAPI_E_COLLISION);
    if (hr == MAPI_E_NOT_FOUND)
    {
        PropertyBag props;
        props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), name, Store().Info().unicode));
        const std::u16string comment = ArgumentText(lpszFolderComment, ulFlags);
        if (!comment.empty())
            props.Set(StringProp(PROP_ID(PR_COMMENT), comment, Store().Info().unicode));
        hr = db.CreateFolder(m_record.id, props, folder.id);
    }
    if (hr)
        return call.Done(hr);
    return call.Done(
        Store().OpenObject(folder, lpInterface, MAPI_MODIFY, nullptr, reinterpret_cast<LPUNKNOWN*>(lppFolder)));
}

HRESULT Folder::CopyFolder(ULONG, LPENTRYID, LPCIID, LPVOID, LPTSTR, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    return Unsupported("CopyFolder", ulFlags);
}

HRESULT Folder::DeleteFolder(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPIFolder", "DeleteFolder");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    ObjectId object;
    if (HRESULT hr = Store().ParseOwnEntryId(cbEntryID, lpEntryID, object))
        return call.Done(hr);
    ObjectRecord record;
    if (HRESULT hr = Store().Db().LoadObject(object.id, record))
        return call.Done(hr);
    if (record.type != MAPI_FOLDER || record.parent != m_record.id)
        return call.Done(MAPI_E_NOT_FOUND);
    return call.Done(Store().Db().DeleteFolder(object.id, ulFlags));
}

HRESULT Folder::MessagesOfFolder(std::vector<ObjectId>& messages)
{
    std::vector<ObjectRecord> records;
    const std::vector<ULONG> none;
    if (HRESULT hr = Store().Db().ScanMessages(m_record.id, 0, std::numeric_limits<int64_t>::max(), &none, records))
        return hr;
    for (const ObjectRecord& record : records)
    {
        ObjectId object;
        object.type = MAPI_MESSAGE;
        object.id = record.id;
        messages.push_back(object);
    }
    return S_OK;
}

HRESULT Folder::SetReadFlags(LPENTRYLIST lpMsgList, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPIFolder", "SetReadFlags");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (ulFlags & GENERATE_RECEIPT_ONLY)
        return call.Done(S_OK);
    const LONG set = ulFlags & CLEAR_READ_FLAG ? 0 : MSGFLAG_READ;
    const LONG clear = ulFlags & CLEAR_READ_FLAG ? MSGFLAG_READ : 0;
    auto mark = [&](const ObjectId& message)
    {
        bool changed = false;
        return Store().Db().SetMessageFlags(message.id, set, clear, changed);
    };
    if (lpMsgList)
        return call.Done(ForEachMessage(lpMsgList, mark));
    std::vector<ObjectId> messages;
    if (HRESULT hr = MessagesOfFolder(messages))
        return call.Done(hr);
    for (const ObjectId& message : messages)
        if (HRESULT hr = mark(message))
            return call.Done(hr);
    return call.Done(S_OK);
}

HRESULT Folder::GetMessageStatus(ULONG, LPENTRYID, ULONG ulFlags, ULONG*)
{
    return Unsupported("GetMessageStatus", ulFlags);
}

HRESULT Folder::SetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG, ULONG*)
{
    return Unsupported("SetMessageStatus");
}

HRESULT Folder::SaveContentsSort(LPSSortOrderSet, ULONG ulFlags)
{
    return Unsupported("SaveContentsSort", ulFlags);
}

HRESULT Folder::EmptyFolder(ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPIFolder", "EmptyFolder");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    StoreDatabase& db = Store().Db();
    if (HRESULT hr = db.DeleteFoldersBelow(m_record.id))
        return call.Done(hr);
    std::vector<ObjectId> messages;
    if (HRESULT hr = MessagesOfFolder(messages))
        return call.Done(hr);
    for (const ObjectId& message : messages)
        if (HRESULT hr = db.DeleteMessage(message.id, m_record.id))
            return call.Done(hr);
    return call.Done(S_OK);
}
} // namespace mapisvc
