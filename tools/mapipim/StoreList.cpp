#include "StoreList.h"

#include "Failure.h"
#include "StoreProblems.h"
#include "Text.h"

#include <algorithm>

namespace cli
{
StoreList::~StoreList()
{
    for (INT_PTR i = 0; i < m_stores.GetSize(); ++i)
        delete m_stores.GetAt(i);
}

void StoreList::Discover(Host& host, unsigned mask, const std::string& storeName)
{
    CMAPIInterface& mapi = host.Mapi();
    m_pSession = host.Session();
    const CString name = WideText(storeName);
    host.Progress().ExpectFolders();
    mapi.GetStoreFolder(m_stores, mask, storeName.empty() ? nullptr : name.GetString());
    host.Progress().Done();
    Host::CheckCancel();
}

COutlookStore& StoreList::Find(const std::string& storeName) const
{
    const CString name = WideText(storeName);
    for (INT_PTR i = 0; i < m_stores.GetSize(); ++i)
    {
        COutlookStore& store = *m_stores.GetAt(i);
        if (storeName.empty() ? store.bDefault != 0 : store.strName.CompareNoCase(name) == 0)
            return store;
    }
    if (!storeName.empty() || m_stores.GetSize() == 0)
        throw Failure(StoreProblem(m_pSession, storeName));
    // A profile without a default store: its first store stands in. A default store that discovery passed over is
    // no such profile: the user hears why, rather than finding the items in another store.
    if (HasDefaultStore(m_pSession))
        throw Failure(StoreProblem(m_pSession, storeName));
    return *m_stores.GetAt(0);
}

void StoreList::KeepFolderTypes(const std::vector<int>& types)
{
    for (INT_PTR s = 0; s < m_stores.GetSize(); ++s)
    {
        CArray<COutlookFolder*, COutlookFolder*>& folders = m_stores.GetAt(s)->arrFolders;
        for (INT_PTR f = folders.GetSize() - 1; f >= 0; --f)
        {
            if (std::find(types.begin(), types.end(), folders.GetAt(f)->nFolderType) == types.end())
            {
                delete folders.GetAt(f);
                folders.RemoveAt(f);
            }
        }
    }
}
} // namespace cli
