// Finds the folder a command names: by its path below the store's root ("Contacts", "Inbox/Projects", any case)
// in the store chosen with --store (else the default store), or by its entry identifier in any store. Discovery
// runs once, over every folder of every store. "/" names the folder the store's folders lie in (the top of an
// imported data file, which may hold items of its own).
#pragma once

#include "StoreList.h"

#include <map>
#include <memory>
#include <string>

namespace cli
{
class FolderLocator
{
public:
    explicit FolderLocator(Host& host);

    // An empty name gives the store's contacts folder. Throws Failure when no folder matches.
    COutlookFolder& Find(const std::string& folder);
    // An empty name gives the store's standard folder of the type (a discovery type bit, kFolderType...).
    COutlookFolder& Find(const std::string& folder, unsigned defaultType);
    // The folder of an existing item: the one named, else the folder that holds it (in any store), else the
    // store's standard folder of the type.
    COutlookFolder& FolderOfItem(const std::string& folder, SBinary& itemID, unsigned defaultType);
    COutlookFolder& Contacts();
    // The store's standard folder of a type: the one of that type right below the root.
    COutlookFolder& StandardFolder(unsigned type);
    // The store chosen with --store, else the default store.
    COutlookStore& Store() { return m_stores.Find(m_storeName); }

    std::string PathOf(const COutlookFolder& folder) const;

private:
    COutlookFolder* FindByPath(const std::string& path);
    COutlookFolder* FindById(const std::string& text);
    COutlookFolder* TopFolder();

    Host& m_host;
    StoreList m_stores;
    std::string m_storeName;
    std::map<const COutlookFolder*, std::string> m_paths;
    std::unique_ptr<COutlookFolder> m_top;
};
} // namespace cli
