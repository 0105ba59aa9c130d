#include "StoreProblems.h"

#include "MapiTable.h"
#include "Text.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace cli
{
namespace
{
struct StoreEntry
{
    std::string name;
    bool bDefault;
    std::vector<BYTE> id;
};

std::vector<StoreEntry> ReadStores(IMAPISession* pSession)
{
    std::vector<StoreEntry> stores;
    LPMAPITABLE table = nullptr;
    if (!pSession || pSession->GetMsgStoresTable(0, &table) != S_OK)
        return stores;
    try
    {
        const RowSet rows = ReadAllRows(table, {PR_DISPLAY_NAME_W, PR_DEFAULT_STORE, PR_ENTRYID}, "stores");
        for (ULONG i = 0; i < rows->cRows; ++i)
        {
            const SPropValue* props = rows->aRow[i].lpProps;
            const bool bId = PROP_TYPE(props[2].ulPropTag) == PT_BINARY;
            stores.push_back(StoreEntry{TextOf(props[0]), BoolOf(props[1]),
                                        bId ? std::vector<BYTE>(props[2].Value.bin.lpb,
                                                                props[2].Value.bin.lpb + props[2].Value.bin.cb)
                                            : std::vector<BYTE>()});
        }
    }
    catch (const std::exception&)
    {
    }
    return stores;
}

HRESULT OpenResult(IMAPISession* pSession, StoreEntry& store)
{
    LPMDB pStore = nullptr;
    const HRESULT hr = pSession->OpenMsgStore(0, static_cast<ULONG>(store.id.size()),
                                              reinterpret_cast<LPENTRYID>(store.id.data()), nullptr,
                                              MDB_NO_DIALOG | MAPI_BEST_ACCESS, &pStore);
    if (pStore)
        pStore->Release();
    return hr;
}

bool IsMeant(const StoreEntry& store, const std::string& storeName)
{
    return storeName.empty() ? store.bDefault : WideText(store.name).CompareNoCase(WideText(storeName)) == 0;
}
} // namespace

bool HasDefaultStore(IMAPISession* pSession)
{
    for (const StoreEntry& store : ReadStores(pSession))
    {
        if (store.bDefault)
            return true;
    }
    return false;
}

std::string StoreOpenProblem(HRESULT hr, const std::string& name)
{
    switch (hr)
    {
    case MAPI_E_CORRUPT_DATA:
    case MAPI_E_CORRUPT_STORE:
        return "the store file of '" + name + "' is damaged";
    case MAPI_E_NOT_FOUND:
    case MAPI_E_DISK_ERROR:
    case MAPI_E_NO_ACCESS:
        return "the store file of '" + name + "' is missing or cannot be read";
    case MAPI_E_BUSY:
        return "the store '" + name + "' is locked by another process; try again when it has finished";
    default:
        break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    return "the store '" + name + "' cannot be opened (MAPI error " + code + ")";
}

std::string StoreProblem(IMAPISession* pSession, const std::string& storeName)
{
    std::vector<StoreEntry> stores = ReadStores(pSession);
    if (stores.empty())
        return "the profile has no message store";
    std::string names;
    for (StoreEntry& store : stores)
    {
        if (IsMeant(store, storeName))
        {
            const HRESULT hr = OpenResult(pSession, store);
            return hr == S_OK ? "the store '" + store.name + "' holds no folders" : StoreOpenProblem(hr, store.name);
        }
        names += (names.empty() ? "" : ", ") + ("'" + store.name + "'");
    }
    if (storeName.empty())
        return "the profile has no default store";
    return "no store named '" + storeName + "' in the profile (its stores: " + names + ")";
}
} // namespace cli
