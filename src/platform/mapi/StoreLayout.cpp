#include "platform/mapi/StoreLayout.h"

#include "platform/mapi/Text.h"

namespace mapisvc
{
namespace
{
const FolderPlan kRoot = {FolderRole::Root, FolderRole::Count, u"", nullptr};
const FolderPlan kIpmSubtree = {FolderRole::IpmSubtree, FolderRole::Root, u"Top of Personal Folders", nullptr};

const FolderPlan kStandardFolders[] = {
    {FolderRole::Inbox, FolderRole::IpmSubtree, u"Inbox", u"IPF.Note"},
    {FolderRole::Outbox, FolderRole::IpmSubtree, u"Outbox", u"IPF.Note"},
    {FolderRole::SentItems, FolderRole::IpmSubtree, u"Sent Items", u"IPF.Note"},
    {FolderRole::DeletedItems, FolderRole::IpmSubtree, u"Deleted Items", u"IPF.Note"},
    {FolderRole::Drafts, FolderRole::IpmSubtree, u"Drafts", u"IPF.Note"},
    {FolderRole::Calendar, FolderRole::IpmSubtree, u"Calendar", u"IPF.Appointment"},
    {FolderRole::Contacts, FolderRole::IpmSubtree, u"Contacts", u"IPF.Contact"},
    {FolderRole::Tasks, FolderRole::IpmSubtree, u"Tasks", u"IPF.Task"},
    {FolderRole::Notes, FolderRole::IpmSubtree, u"Notes", u"IPF.StickyNote"},
    {FolderRole::Journal, FolderRole::IpmSubtree, u"Journal", u"IPF.Journal"},
};

// The Inbox's properties that name the folders of the other item kinds.
const std::pair<ULONG, FolderRole> kInboxRoleProps[] = {
    {PR_IPM_APPOINTMENT_ENTRYID, FolderRole::Calendar}, {PR_IPM_CONTACT_ENTRYID, FolderRole::Contacts},
    {PR_IPM_JOURNAL_ENTRYID, FolderRole::Journal},      {PR_IPM_NOTE_ENTRYID, FolderRole::Notes},
    {PR_IPM_TASK_ENTRYID, FolderRole::Tasks},           {PR_IPM_DRAFTS_ENTRYID, FolderRole::Drafts},
};
} // namespace

Prop StringProp(ULONG propId, std::u16string_view text, bool unicode)
{
    if (unicode)
        return MakeProp(PROP_TAG(PT_UNICODE, propId), Utf16ToBytes(text));
    return MakeProp(PROP_TAG(PT_STRING8, propId), ToAnsi(text));
}

std::vector<FolderPlan> StoreLayout::Folders(bool standardFolders) const
{
    std::vector<FolderPlan> folders{kRoot, kIpmSubtree};
    if (standardFolders)
        folders.insert(folders.end(), std::begin(kStandardFolders), std::end(kStandardFolders));
    return folders;
}

PropertyBag StoreLayout::PropsOf(const FolderPlan& plan) const
{
    PropertyBag props;
    props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), plan.name, m_unicode));
    if (plan.containerClass)
        props.Set(StringProp(PROP_ID(PR_CONTAINER_CLASS), plan.containerClass, m_unicode));
    return props;
}

PropertyBag StoreLayout::InboxProps() const
{
    PropertyBag props = PropsOf(kStandardFolders[0]);
    for (const auto& roleProp : kInboxRoleProps)
    {
        const Bytes entryId = MakeStoreEntryId(m_uid, MAPI_FOLDER, Id(roleProp.second));
        props.Set(roleProp.first, std::string(entryId.begin(), entryId.end()));
    }
    return props;
}
} // namespace mapisvc
