// The store records discovery hands to the host, owned as the host must own them: deleted when the list goes.
#pragma once

#include "Host.h"

#include <mapipim/OutlookStore.h>

#include <string>
#include <vector>

namespace cli
{
class StoreList
{
public:
    StoreList() = default;
    ~StoreList();
    StoreList(const StoreList&) = delete;
    StoreList& operator=(const StoreList&) = delete;

    // GetStoreFolder with the mask, for the named store or (empty name) all of them, reporting to the progress
    // window. Throws Cancelled when Ctrl-C stopped it.
    void Discover(Host& host, unsigned mask, const std::string& storeName);

    INT_PTR GetSize() const { return m_stores.GetSize(); }
    COutlookStore& operator[](INT_PTR index) const { return *m_stores.GetAt(index); }

    // Deletes the folder records whose type is not among the types (sub folders carry their first-level
    // folder's type, so whole branches go).
    void KeepFolderTypes(const std::vector<int>& types);

    // The store named (ignoring case), or the default store for an empty name; throws Failure when there is none.
    COutlookStore& Find(const std::string& storeName) const;

private:
    CArray<COutlookStore*, COutlookStore*> m_stores;
    IMAPISession* m_pSession = nullptr; // the session discovery ran on, to say why a store is missing
};
} // namespace cli
