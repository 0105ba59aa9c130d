#include "FolderLocator.h"

#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "FolderPaths.h"
#include "FolderTypes.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>

namespace cli
{
namespace
{
std::string Trimmed(const std::string& path)
{
    const size_t first = path.find_first_not_of('/');
    const size_t last = path.find_last_not_of('/');
    return first == std::string::npos ? std::string() : path.substr(first, last - first + 1);
}
} // namespace

FolderLocator::FolderLocator(Host& host) : m_host(host), m_storeName(host.Options().store)
{
    m_stores.Discover(host, kDiscoverEverything, std::string());
    for (INT_PTR s = 0; s < m_stores.GetSize(); ++s)
    {
        const COutlookStore& store = m_stores[s];
        const std::vector<std::string> paths = FolderPaths(store);
        for (INT_PTR f = 0; f < store.arrFolders.GetSize(); ++f)
            m_paths[store.arrFolders.GetAt(f)] = paths[static_cast<size_t>(f)];
    }
}

COutlookFolder& FolderLocator::Find(const std::string& folder)
{
    return Find(folder, kFolderTypeContacts);
}

COutlookFolder& FolderLocator::Find(const std::string& folder, unsigned defaultType)
{
    if (folder.empty())
        return StandardFolder(defaultType);
    if (Trimmed(folder).empty())
        if (COutlookFolder* top = TopFolder())
            return *top;
    if (COutlookFolder* found = FindByPath(folder))
        return *found;
    if (COutlookFolder* found = FindById(folder))
        return *found;
    throw Failure("no folder '" + folder + "' in the store '" + Utf8(Store().strName) + "'");
}

COutlookFolder& FolderLocator::FolderOfItem(const std::string& folder, SBinary& itemID, unsigned defaultType)
{
    if (!folder.empty())
        return Find(folder, defaultType);
    const std::string parent = m_host.ParentFolderOf(itemID);
    if (COutlookFolder* found = parent.empty() ? nullptr : FindById(parent))
        return *found;
    return StandardFolder(defaultType);
}

COutlookFolder& FolderLocator::Contacts()
{
    return StandardFolder(kFolderTypeContacts);
}

COutlookFolder& FolderLocator::StandardFolder(unsigned type)
{
    COutlookStore& store = Store();
    for (INT_PTR i = 0; i < store.arrFolders.GetSize(); ++i)
    {
        COutlookFolder& folder = *store.arrFolders.GetAt(i);
        if (folder.nFolderType == static_cast<int>(type) && folder.nDepth == 1)
            return folder;
    }
    throw Failure("the store '" + Utf8(store.strName) + "' has no " + FolderTypeName(static_cast<int>(type)) +
                  " folder");
}

std::string FolderLocator::PathOf(const COutlookFolder& folder) const
{
    const auto found = m_paths.find(&folder);
    return found != m_paths.end() ? found->second : Utf8(folder.strName);
}

COutlookFolder* FolderLocator::FindByPath(const std::string& path)
{
    const CString wanted = WideText(Trimmed(path));
    const COutlookStore& store = Store();
    for (INT_PTR i = 0; i < store.arrFolders.GetSize(); ++i)
    {
        COutlookFolder* folder = store.arrFolders.GetAt(i);
        if (WideText(m_paths[folder]).CompareNoCase(wanted) == 0)
            return folder;
    }
    return nullptr;
}

// Discovery lists the folders below the store's top folder, not the top folder itself: its identifier is the
// parent identifier its first-level folders carry.
COutlookFolder* FolderLocator::TopFolder()
{
    COutlookStore& store = Store();
    if (store.arrFolders.GetSize() == 0)
        return nullptr;
    if (!m_top || !CompareSBinary(m_top->sbStoreEntryID, store.sbEntryID))
    {
        m_top.reset(new COutlookFolder);
        CopySBinary(m_top->sbEntryID, store.arrFolders.GetAt(0)->sbParentEntryID);
        CopySBinary(m_top->sbStoreEntryID, store.sbEntryID);
        m_top->strName = store.strName;
        m_paths[m_top.get()] = "/";
    }
    return m_top.get();
}

COutlookFolder* FolderLocator::FindById(const std::string& text)
{
    // Shorter hexadecimal text is a folder's name rather than a tail.
    const std::string whole =
        IsEntryIdTail(text) && text.size() >= kShortestTail ? ExpandEntryIdTail(m_host, text) : text;
    if (!IsEntryIdText(whole))
        return nullptr;
    const EntryId id = EntryId::Parse(whole);
    for (INT_PTR s = 0; s < m_stores.GetSize(); ++s)
    {
        const COutlookStore& store = m_stores[s];
        for (INT_PTR f = 0; f < store.arrFolders.GetSize(); ++f)
        {
            if (CompareSBinary(store.arrFolders.GetAt(f)->sbEntryID, id.Value()))
                return store.arrFolders.GetAt(f);
        }
    }
    return nullptr;
}
} // namespace cli
