// The folders a data file knows by role, and the folder identifiers its folders carry, in the store they are
// copied into. A file names its IPM subtree, Outbox, Sent Items and Deleted Items in its message store object;
// its Inbox (and, for Outlook's files, its root folder) names the Calendar, Contacts, Journal, Notes, Tasks and
// Drafts folders. The Inbox itself is the first folder below the IPM subtree that names special folders (some
// files name there only the reminders and the additional folders). Identifiers of the
// file name its nodes; once every folder is copied they are replaced by the store's identifiers of the copies.
#pragma once

#include "platform/mapi/StoreDatabase.h"

#include <map>
#include <string_view>

namespace mapisvc::pst
{
// The node a file's entry identifier names: 4 flag bytes, the file's 16-byte provider identifier, the node id.
bool NodeOfEntryId(std::string_view entryId, uint32_t& node);

class FolderRoles
{
public:
    // The message store object's properties.
    void NoteStore(const PropertyBag& props);
    uint32_t IpmSubtreeNode() const { return m_ipmSubtree; }
    // Whether a folder is the file's IPM subtree. An offline file's message store object names none: there it
    // is the "IPM_SUBTREE" of "Root - Mailbox", as Exchange names them.
    bool IsIpmSubtree(uint32_t node, const std::u16string& parentPath, const PropertyBag& props);

    // A folder copied from node `node` into `id`, with the properties read from the file; `ipmChild` for a
    // folder right below the IPM subtree. Folders that carry folder identifiers are remembered for Apply.
    void NoteFolder(uint32_t node, int64_t id, const PropertyBag& props, bool isRoot, bool ipmChild);

    // Gives the copies their roles and rewrites the folder identifiers they carry.
    HRESULT Apply(StoreDatabase& store);

private:
    void TranslateProps(StoreDatabase& store, PropertyBag& props) const;
    int64_t CopyOf(uint32_t node) const;

    uint32_t m_ipmSubtree = 0;
    std::map<FolderRole, uint32_t> m_storeRoles; // from the message store object
    std::map<FolderRole, uint32_t> m_inboxRoles; // from the Inbox
    std::map<FolderRole, uint32_t> m_rootRoles;  // from the root folder
    uint32_t m_inbox = 0;
    std::map<uint32_t, int64_t> m_copies;      // node -> folder of the store
    std::map<int64_t, PropertyBag> m_carriers; // folders that carry folder identifiers
};
} // namespace mapisvc::pst
