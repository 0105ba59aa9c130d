#include "platform/mapi/pst/FolderRoles.h"

#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc::pst
{
namespace
{
constexpr ULONG kIpmSubtree = 0x35E0; // PR_IPM_SUBTREE_ENTRYID
constexpr ULONG kAdditionalRenEntryIds = 0x36D8;
constexpr ULONG kAdditionalRenEntryIdsEx = 0x36D9;
constexpr ULONG kFreeBusyEntryIds = 0x36E4;
constexpr ULONG kRemindersEntryId = 0x36D5; // PR_REM_ONLINE_ENTRYID

const std::pair<ULONG, FolderRole> kStoreRoleProps[] = {
    {PROP_ID(PR_IPM_OUTBOX_ENTRYID), FolderRole::Outbox},
    {PROP_ID(PR_IPM_SENTMAIL_ENTRYID), FolderRole::SentItems},
    {PROP_ID(PR_IPM_WASTEBASKET_ENTRYID), FolderRole::DeletedItems},
};

const std::pair<ULONG, FolderRole> kInboxRoleProps[] = {
    {PROP_ID(PR_IPM_APPOINTMENT_ENTRYID), FolderRole::Calendar},
    {PROP_ID(PR_IPM_CONTACT_ENTRYID), FolderRole::Contacts},
    {PROP_ID(PR_IPM_JOURNAL_ENTRYID), FolderRole::Journal},
    {PROP_ID(PR_IPM_NOTE_ENTRYID), FolderRole::Notes},
    {PROP_ID(PR_IPM_TASK_ENTRYID), FolderRole::Tasks},
    {PROP_ID(PR_IPM_DRAFTS_ENTRYID), FolderRole::Drafts},
};

bool NodeOfProp(const PropertyBag& props, ULONG propId, uint32_t& node)
{
    const Prop* prop = props.Find(propId);
    return prop && PROP_TYPE(prop->tag) == PT_BINARY && NodeOfEntryId(prop->data, node);
}

void CollectRoles(const PropertyBag& props, const std::pair<ULONG, FolderRole>* begin,
                  const std::pair<ULONG, FolderRole>* end, std::map<FolderRole, uint32_t>& roles)
{
    for (auto it = begin; it != end; ++it)
    {
        uint32_t node = 0;
        if (NodeOfProp(props, it->first, node))
            roles[it->second] = node;
    }
}

// Outlook keeps the identifiers of the special folders on the Inbox (and on the root folder). Some files name
// only the reminders folder and the additional folders (conflicts, sync issues, junk) there, none of the kinds'.
bool NamesSpecialFolders(const PropertyBag& props)
{
    return props.Find(PROP_ID(PR_IPM_APPOINTMENT_ENTRYID)) || props.Find(PROP_ID(PR_IPM_DRAFTS_ENTRYID)) ||
           props.Find(kRemindersEntryId) || props.Find(kAdditionalRenEntryIds);
}

bool IsFolderIdProp(ULONG propId)
{
    for (const auto& entry : kInboxRoleProps)
        if (entry.first == propId)
            return true;
    return propId == kAdditionalRenEntryIds || propId == kAdditionalRenEntryIdsEx || propId == kFreeBusyEntryIds;
}
} // namespace

bool NodeOfEntryId(std::string_view entryId, uint32_t& node)
{
    if (entryId.size() != 24)
        return false;
    std::memcpy(&node, entryId.data() + 20, 4);
    return node != 0;
}

void FolderRoles::NoteStore(const PropertyBag& props)
{
    NodeOfProp(props, kIpmSubtree, m_ipmSubtree);
    CollectRoles(props, std::begin(kStoreRoleProps), std::end(kStoreRoleProps), m_storeRoles);
}

bool FolderRoles::IsIpmSubtree(uint32_t node, const std::u16string& parentPath, const PropertyBag& props)
{
    if (m_ipmSubtree)
        return node == m_ipmSubtree;
    const Prop* name = props.Find(PROP_ID(PR_DISPLAY_NAME));
    if (parentPath != u"Root - Mailbox" || !name || name->tag != PR_DISPLAY_NAME_W ||
        BytesToUtf16(name->data) != u"IPM_SUBTREE")
        return false;
    m_ipmSubtree = node;
    return true;
}

void FolderRoles::NoteFolder(uint32_t node, int64_t id, const PropertyBag& props, bool isRoot, bool ipmChild)
{
    m_copies[node] = id;
    if (isRoot)
        CollectRoles(props, std::begin(kInboxRoleProps), std::end(kInboxRoleProps), m_rootRoles);
    if (ipmChild && !m_inbox && NamesSpecialFolders(props))
    {
        m_inbox = node;
        CollectRoles(props, std::begin(kInboxRoleProps), std::end(kInboxRoleProps), m_inboxRoles);
    }
    // The root's properties stay the store's own; only its role identifiers are used.
    for (const Prop& prop : props.Props())
        if (!isRoot && IsFolderIdProp(PROP_ID(prop.tag)))
        {
            m_carriers[id] = props;
            break;
        }
}

int64_t FolderRoles::CopyOf(uint32_t node) const
{
    auto it = m_copies.find(node);
    return it == m_copies.end() ? 0 : it->second;
}

void FolderRoles::TranslateProps(StoreDatabase& store, PropertyBag& props) const
{
    auto translate = [&](std::string_view entryId)
    {
        uint32_t node = 0;
        const int64_t copy = NodeOfEntryId(entryId, node) ? CopyOf(node) : 0;
        if (!copy)
            return std::string();
        const Bytes id = store.EntryIdOf(MAPI_FOLDER, copy);
        return std::string(id.begin(), id.end());
    };
    for (const auto& entry : kInboxRoleProps)
        if (Prop* prop = props.Find(entry.first))
        {
            std::string copy = translate(prop->data);
            if (copy.empty())
                props.Remove(entry.first);
            else
                prop->data = std::move(copy);
        }
    for (ULONG propId : {kAdditionalRenEntryIds, kFreeBusyEntryIds})
        if (Prop* prop = props.Find(propId))
        {
            if (PROP_TYPE(prop->tag) != PT_MV_BINARY)
            {
                props.Remove(propId);
                continue;
            }
            // Positions mean something (conflicts, sync issues, junk, ...): an unknown folder leaves its place empty.
            std::vector<std::string> elements;
            for (std::string_view element : SplitMultiValue(prop->data, PT_MV_BINARY))
                elements.push_back(translate(element));
            prop->data = JoinMultiValue(elements, PT_MV_BINARY);
        }
    // Blocks of identifiers in a layout of their own: not carried over.
    props.Remove(kAdditionalRenEntryIdsEx);
}

HRESULT FolderRoles::Apply(StoreDatabase& store)
{
    std::map<FolderRole, uint32_t> roles = m_rootRoles;
    for (const auto& entry : m_inboxRoles)
        roles[entry.first] = entry.second;
    for (const auto& entry : m_storeRoles)
        roles[entry.first] = entry.second;
    if (m_inbox)
        roles[FolderRole::Inbox] = m_inbox;
    for (const auto& entry : roles)
        if (const int64_t copy = CopyOf(entry.second))
            if (HRESULT hr = store.SetRoleFolder(entry.first, copy))
                return hr;
    for (const auto& carrier : m_carriers)
    {
        PropertyBag props = carrier.second;
        TranslateProps(store, props);
        if (HRESULT hr = store.SaveFolderProps(carrier.first, props))
            return hr;
    }
    return S_OK;
}
} // namespace mapisvc::pst
