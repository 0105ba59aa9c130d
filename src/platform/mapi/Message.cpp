#include "platform/mapi/Message.h"

#include "platform/mapi/Attach.h"
#include "platform/mapi/MessageBody.h"
#include "platform/mapi/MessageCopy.h"
#include "platform/mapi/ObjectIdentity.h"
#include "platform/mapi/Table.h"

#include <algorithm>
#include <chrono>

namespace mapisvc
{
namespace
{
std::string Now()
{
    // FILETIME: 100-nanosecond intervals since 1601-01-01 UTC.
    constexpr int64_t kUnixEpoch = 116444736000000000LL;
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return EncodeInt64(kUnixEpoch + std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100);
}

// A copy for a table row: values stored out of line are not carried (tables give MAPI_E_NOT_ENOUGH_MEMORY).
PropertyBag TableCopy(const PropertyBag& props)
{
    PropertyBag copy = props;
    for (Prop& prop : copy.Props())
        if (IsLargeValue(prop))
        {
            prop.outOfLineSize = static_cast<ULONG>(prop.Size());
            prop.loaded = false;
            prop.data.clear();
        }
    return copy;
}

void ComputedMessageIds(std::vector<ULONG>& ids)
{
    IdentityPropIds(ids);
    ids.push_back(PROP_ID(PR_ACCESS_LEVEL));
    ids.push_back(PROP_ID(PR_BODY_W));
    ids.push_back(PROP_ID(PR_NATIVE_BODY_INFO));
}

// Asked of every property a read names, most of them stored ones: those are told apart at once.
const PropIdSet& ComputedMessageIdSet()
{
    static const PropIdSet computed = []
    {
        std::vector<ULONG> ids;
        ComputedMessageIds(ids);
        return PropIdSet(ids);
    }();
    return computed;
}

std::string KeyBytes(int64_t id, ULONG sub)
{
    std::string key = EncodeInt64(id);
    key += EncodeLong(static_cast<LONG>(sub));
    return key;
}
} // namespace

Message::Message(ComPtr<MsgStore> store, ObjectRecord record, bool isNew, bool writable)
    : m_store(std::move(store)), m_record(std::move(record)), m_isNew(isNew)
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
    m_computedIds = &ComputedMessageIdSet();
    m_queued = !m_isNew && (m_record.flags & MSGFLAG_SUBMIT);
    if (m_isNew)
    {
        m_record.props.Set(PR_MESSAGE_FLAGS, EncodeLong(MSGFLAG_READ | MSGFLAG_UNSENT));
        m_attachmentsLoaded = true;
        m_recipientsLoaded = true;
    }
}

Message::~Message()
{
    if (m_isNew)
        Store().Db().ReleaseMessageId(m_record.id);
}

bool Message::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMessage});
}

bool Message::ComputeProp(ULONG propId, Prop& prop)
{
    if (!ComputedMessageIdSet().Has(propId))
        return false;
    const bool embedded = m_record.id == 0;
    if (propId == PROP_ID(PR_BODY_W))
        return ComputeBestBody(*this, prop);
    if (propId == PROP_ID(PR_NATIVE_BODY_INFO))
        return ComputeNativeBodyInfo(*this, prop);
    return (!embedded && IdentityProp({&Store().Db(), MAPI_MESSAGE, m_record.id, m_record.parent}, propId, prop)) ||
           AccessLevelProp(propId, prop);
}

bool Message::ViewHeldProp(ULONG propId, PropView& view)
{
    // An embedded message has no identity of its own.
    if (m_record.id == 0)
        return false;
    const MAPIUID& store = Store().Db().Uid();
    if (propId == PROP_ID(PR_STORE_RECORD_KEY))
    {
        view = PropView(PR_STORE_RECORD_KEY, UidBytes(store));
        return true;
    }
    if (propId != PROP_ID(PR_ENTRYID))
        return false;
    if (m_entryIdOf != m_record.id)
    {
        WriteStoreEntryId(store, MAPI_MESSAGE, m_record.id, false, m_entryId.data());
        m_entryIdOf = m_record.id;
    }
    view = PropView(PR_ENTRYID, std::string_view(reinterpret_cast<const char*>(m_entryId.data()), m_entryId.size()));
    return true;
}

void Message::ComputedIds(std::vector<ULONG>& ids)
{
    ComputedMessageIds(ids);
}

bool Message::ConvertProp(const Prop& stored, ULONG requestedType, Prop& converted)
{
    return ConvertHtmlBody(*this, stored, requestedType, converted);
}

bool Message::IsReadOnlyProp(ULONG propId) const
{
    return IsIdentityProp(propId) || propId == PROP_ID(PR_ACCESS_LEVEL) || propId == PROP_ID(PR_MESSAGE_SIZE) ||
           propId == PROP_ID(PR_HASATTACH) || propId == PROP_ID(PR_NATIVE_BODY_INFO);
}

HRESULT Message::LoadLargeValue(Prop& prop)
{
    return Store().Db().LoadLargeValue(m_record.id, 0, PROP_ID(prop.tag), prop.data);
}

bool Message::OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value)
{
    // A message held in memory (new, or attached to another) has every value loaded.
    return !m_isNew && m_record.id != 0 &&
           Store().Db().OpenLargeValue(m_record.id, 0, PROP_ID(prop.tag), value) == S_OK;
}

HRESULT Message::LoadAttachments()
{
    if (m_attachmentsLoaded)
        return S_OK;
    std::vector<SubRecord> records;
    if (HRESULT hr = Store().Db().LoadAttachments(m_record.id, records))
        return hr;
    for (SubRecord& record : records)
    {
        const ULONG num = record.key;
        m_attachments[num] = Attachment{std::move(record), true, false};
    }
    m_attachmentsLoaded = true;
    return S_OK;
}

HRESULT Message::LoadRecipients()
{
    if (m_recipientsLoaded)
        return S_OK;
    if (HRESULT hr = Store().Db().LoadRecipients(m_record.id, m_recipients.rows))
        return hr;
    m_recipientsLoaded = true;
    return S_OK;
}

HRESULT Message::CommitAttachment(ULONG num, const PropertyBag& props)
{
    if (HRESULT hr = CheckWritable())
        return hr;
    if (HRESULT hr = LoadAttachments())
        return hr;
    if (m_deletedAttachments.count(num))
        return MAPI_E_OBJECT_DELETED;
    Attachment& attachment = m_attachments[num];
    attachment.record.key = num;
    attachment.record.props = props;
    attachment.record.props.Set(PR_ATTACH_SIZE, EncodeLong(static_cast<LONG>(props.ValueBytes())));
    attachment.dirty = true;
    return S_OK;
}

HRESULT Message::LoadAttachmentValue(ULONG num, Prop& prop)
{
    auto it = m_attachments.find(num);
    if (it != m_attachments.end())
    {
        const Prop* held = it->second.record.props.Find(PROP_ID(prop.tag));
        if (held && held->loaded)
        {
            prop.data = held->data;
            return S_OK;
        }
    }
    return Store().Db().LoadLargeValue(m_record.id, num + 1, PROP_ID(prop.tag), prop.data);
}

bool Message::OpenAttachmentValue(ULONG num, const Prop& prop, std::unique_ptr<StoredValue>& value)
{
    // An attachment saved into this message since it was read has its values here, not in the store.
    auto it = m_attachments.find(num);
    if (it != m_attachments.end())
    {
        const Prop* held = it->second.record.props.Find(PROP_ID(prop.tag));
        if (held && held->loaded)
            return false;
    }
    return !m_isNew && m_record.id != 0 &&
           Store().Db().OpenLargeValue(m_record.id, num + 1, PROP_ID(prop.tag), value) == S_OK;
}

HRESULT Message::GetAttachmentTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMessage", "GetAttachmentTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = LoadAttachments())
        return call.Done(hr);
    std::vector<TableRow> rows;
    for (const auto& entry : m_attachments)
    {
        TableRow row{entry.first, TableCopy(entry.second.record.props)};
        row.props.Set(PR_ATTACH_NUM, EncodeLong(static_cast<LONG>(entry.first)));
        row.props.Set(PR_INSTANCE_KEY, KeyBytes(m_record.id, entry.first));
        row.props.Set(PR_RECORD_KEY, KeyBytes(m_record.id, entry.first));
        row.props.Set(PR_OBJECT_TYPE, EncodeLong(MAPI_ATTACH));
        rows.push_back(std::move(row));
    }
    return call.Done(NewTable(std::move(rows),
                              {PR_ATTACH_NUM, PR_INSTANCE_KEY, PR_RECORD_KEY, PR_RENDERING_POSITION, PR_ATTACH_METHOD,
                               PR_ATTACH_FILENAME, PR_ATTACH_LONG_FILENAME, PR_DISPLAY_NAME, PR_ATTACH_SIZE},
                              ulFlags, lppTable));
}

HRESULT Message::OpenAttach(ULONG ulAttachmentNum, LPCIID lpInterface, ULONG ulFlags, LPATTACH* lppAttach)
{
    ServiceCall call(*this, "IMessage", "OpenAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = PrepareOpen(lppAttach, lpInterface, IID_IAttachment))
        return call.Done(hr);
    if (HRESULT hr = LoadAttachments())
        return call.Done(hr);
    auto it = m_attachments.find(ulAttachmentNum);
    if (it == m_attachments.end())
        return call.Done(MAPI_E_NOT_FOUND);
    const bool writable = (ulFlags & (MAPI_MODIFY | MAPI_BEST_ACCESS)) && m_access == Access::ReadWrite;
    *lppAttach = new Attach(ComPtr<Message>::AddRefed(this), ulAttachmentNum, it->second.record.props, writable);
    return call.Done(S_OK);
}

HRESULT Message::CreateAttach(LPCIID lpInterface, ULONG ulFlags, ULONG* lpulAttachmentNum, LPATTACH* lppAttach)
{
    ServiceCall call(*this, "IMessage", "CreateAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpulAttachmentNum)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = PrepareOpen(lppAttach, lpInterface, IID_IAttachment))
        return call.Done(hr);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    // Numbers are never given twice within a message, so the others keep theirs whatever is deleted.
    const ULONG num = m_record.attachSeq++;
    *lpulAttachmentNum = num;
    *lppAttach = new Attach(ComPtr<Message>::AddRefed(this), num, PropertyBag(), true);
    return call.Done(S_OK);
}

HRESULT Message::DeleteAttach(ULONG ulAttachmentNum, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMessage", "DeleteAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    if (HRESULT hr = LoadAttachments())
        return call.Done(hr);
    auto it = m_attachments.find(ulAttachmentNum);
    if (it == m_attachments.end())
        return call.Done(MAPI_E_NOT_FOUND);
    if (it->second.stored)
        m_deletedAttachments.insert(ulAttachmentNum);
    m_attachments.erase(it);
    return call.Done(S_OK);
}

HRESULT Message::GetRecipientTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMessage", "GetRecipientTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = LoadRecipients())
        return call.Done(hr);
    return call.Done(NewTable(m_recipients.TableRows(EncodeInt64(m_record.id)), RecipientColumns(), ulFlags, lppTable));
}

HRESULT Message::ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods)
{
    ServiceCall call(*this, "IMessage", "ModifyRecipients");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpMods)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    if (HRESULT hr = LoadRecipients())
        return call.Done(hr);
    m_recipients.nextRowId = m_record.recipSeq;
    HRESULT hr = m_recipients.Modify(ulFlags, *lpMods, StoresUnicode());
    m_record.recipSeq = m_recipients.nextRowId;
    if (hr != S_OK)
        return call.Done(hr);
    m_recipientsChanged = true;
    return call.Done(S_OK);
}

HRESULT Message::SubmitMessage(ULONG ulFlags)
{
    ServiceCall call(*this, "IMessage", "SubmitMessage");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    if (HRESULT hr = LoadRecipients())
        return call.Done(hr);
    if (m_recipients.rows.empty())
        return call.Done(MAPI_E_NO_RECIPIENTS);
    // Queued, as a spooler queues it: the message stays where it is until the queue is delivered
    // (DeliverOutgoingQueue), which files it in Sent Items or deletes it.
    m_queued = true;
    if (!m_record.props.Find(PROP_ID(PR_CLIENT_SUBMIT_TIME)))
        m_record.props.Set(PR_CLIENT_SUBMIT_TIME, Now());
    if (HRESULT hr = Save(KEEP_OPEN_READWRITE))
        return call.Done(hr);
    m_access = Access::ReadOnly;
    return call.Done(S_OK);
}

HRESULT Message::SetReadFlag(ULONG ulFlags)
{
    ServiceCall call(*this, "IMessage", "SetReadFlag");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (ulFlags & GENERATE_RECEIPT_ONLY)
        return call.Done(S_OK);
    const LONG set = ulFlags & CLEAR_READ_FLAG ? 0 : MSGFLAG_READ;
    const LONG clear = ulFlags & CLEAR_READ_FLAG ? MSGFLAG_READ : 0;
    m_record.props.Set(PR_MESSAGE_FLAGS, EncodeLong((Flags() & ~clear) | set));
    // Read state changes at once in the store, as for Outlook's stores; other changes wait for SaveChanges.
    if (!m_isNew)
    {
        bool changed = false;
        if (HRESULT hr = Store().Db().SetMessageFlags(m_record.id, set, clear, changed))
            return call.Done(hr);
    }
    return call.Done(S_OK);
}

HRESULT Message::CopyTo(ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps, ULONG, LPMAPIPROGRESS,
                        LPCIID lpInterface, LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray* lppProblems)
{
    ServiceCall call(*this, "IMAPIProp", "CopyTo");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(
        CopyMessageTo(this, ciidExclude, rgiidExclude, lpExcludeProps, lpInterface, lpDestObj, ulFlags, lppProblems));
}

LONG Message::Flags() const
{
    const Prop* flags = m_record.props.Find(PROP_ID(PR_MESSAGE_FLAGS));
    return flags && PROP_TYPE(flags->tag) == PT_LONG ? DecodeLong(flags->data) : 0;
}

HRESULT Message::UpdateMaintainedProps()
{
    if (HRESULT hr = LoadAttachments())
        return hr;
    if (HRESULT hr = LoadRecipients())
        return hr;
    const std::string now = Now();
    if (m_isNew && !m_record.props.Find(PROP_ID(PR_CREATION_TIME)))
        m_record.props.Set(PR_CREATION_TIME, now);
    m_record.props.Set(PR_LAST_MODIFICATION_TIME, now);
    const bool hasAttach = !m_attachments.empty();
    LONG flags = hasAttach ? Flags() | MSGFLAG_HASATTACH : Flags() & ~MSGFLAG_HASATTACH;
    flags = m_queued ? flags | MSGFLAG_SUBMIT : flags & ~MSGFLAG_SUBMIT;
    m_record.props.Set(PR_MESSAGE_FLAGS, EncodeLong(flags));
    m_record.props.Set(PR_HASATTACH, EncodeBool(hasAttach));
    size_t size = 0;
    for (const auto& entry : m_attachments)
        size += entry.second.record.props.ValueBytes();
    for (const SubRecord& recipient : m_recipients.rows)
        size += recipient.props.ValueBytes();
    m_record.props.Set(PR_MESSAGE_SIZE, EncodeLong(0));
    size += m_record.props.ValueBytes();
    m_record.props.Set(PR_MESSAGE_SIZE, EncodeLong(static_cast<LONG>(std::min<size_t>(size, 0x7FFFFFFF))));
    return S_OK;
}

HRESULT Message::Save(ULONG)
{
    if (HRESULT hr = UpdateMaintainedProps())
        return hr;
    MessageSave save;
    save.id = m_record.id;
    save.folder = m_record.parent;
    save.isNew = m_isNew;
    save.flags = Flags();
    save.attachSeq = m_record.attachSeq;
    save.recipSeq = m_record.recipSeq;
    save.props = &m_record.props;
    for (const auto& entry : m_attachments)
        if (entry.second.dirty)
            save.savedAttachments.push_back(&entry.second.record);
    save.deletedAttachments.assign(m_deletedAttachments.begin(), m_deletedAttachments.end());
    if (m_recipientsChanged || m_isNew)
        save.recipients = &m_recipients.rows;
    if (HRESULT hr = Store().Db().SaveMessage(save))
        return hr;
    m_isNew = false;
    for (Prop& prop : m_record.props.Props())
        prop.dirty = false;
    for (auto& entry : m_attachments)
    {
        entry.second.stored = true;
        entry.second.dirty = false;
        for (Prop& prop : entry.second.record.props.Props())
            prop.dirty = false;
    }
    m_deletedAttachments.clear();
    m_recipientsChanged = false;
    return S_OK;
}
} // namespace mapisvc
