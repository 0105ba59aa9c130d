// The folders a new store starts with: the root, the IPM subtree below it, and below that the standard
// folders of Outlook with their container classes. The Inbox carries the entry identifiers of the folders of
// the other item kinds, as Outlook's stores do.
#pragma once

#include "platform/mapi/PropertyBag.h"
#include "platform/mapi/StoreDatabase.h"

#include <vector>

namespace mapisvc
{
struct FolderPlan
{
    FolderRole role;
    FolderRole parent; // FolderRole::Count: no parent (the root)
    const char16_t* name;
    const char16_t* containerClass; // null: none
};

class StoreLayout
{
public:
    StoreLayout(const MAPIUID& uid, bool unicode) : m_uid(uid), m_unicode(unicode) {}

    std::vector<FolderPlan> Folders(bool standardFolders) const;
    PropertyBag PropsOf(const FolderPlan& plan) const;
    PropertyBag InboxProps() const;

    void SetId(FolderRole role, int64_t id) { m_ids[static_cast<size_t>(role)] = id; }
    int64_t Id(FolderRole role) const { return m_ids[static_cast<size_t>(role)]; }

private:
    MAPIUID m_uid;
    bool m_unicode;
    int64_t m_ids[static_cast<size_t>(FolderRole::Count)] = {};
};

// A string property in the width of the store: PT_UNICODE, or PT_STRING8 in the ANSI code page.
Prop StringProp(ULONG propId, std::u16string_view text, bool unicode);
} // namespace mapisvc
