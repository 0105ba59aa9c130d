#include "session/SessionState.h"

#include <mapipim/MAPIEx.h>

#include "session/Scoped.h"
#include "session/SingleProperty.h"

namespace mapipim
{
namespace
{
std::string KeyOf(const SBinary& bin)
{
    return std::string(reinterpret_cast<const char*>(bin.lpb), bin.cb);
}
} // namespace

SessionState::~SessionState()
{
    ULONG ulConnection = 0;
    EndAdvise(nullptr, ulConnection);
}

void SessionState::KeepAdvisedStore(IMsgStore* pOpenStore, ULONG ulConnection)
{
    // An advise already kept was made on an earlier store; the open one has none of its own.
    if (!ulConnection || !pOpenStore || m_pAdvisedStore)
        return;
    pOpenStore->AddRef();
    m_pAdvisedStore = pOpenStore;
}

void SessionState::EndAdvise(IMsgStore* pOpenStore, ULONG& ulConnection)
{
    IMsgStore* pAdvised = m_pAdvisedStore ? m_pAdvisedStore : pOpenStore;
    if (ulConnection && pAdvised)
        pAdvised->Unadvise(ulConnection);
    ulConnection = 0;
    if (m_pAdvisedStore)
        m_pAdvisedStore->Release();
    m_pAdvisedStore = nullptr;
}

void SessionState::SetOpenStore(const SBinary* pEntryID)
{
    if (pEntryID && pEntryID->cb && pEntryID->lpb)
        m_openStore.assign(pEntryID->lpb, pEntryID->lpb + pEntryID->cb);
    else
        m_openStore.clear();
    m_openStoreBinary = {static_cast<ULONG>(m_openStore.size()), m_openStore.data()};
}

void SessionState::ForgetUnmappedNames()
{
    for (auto& store : m_stores)
        store.second->names.ForgetUnmapped();
}

std::shared_ptr<StoreFacts> SessionState::FactsOf(CMAPIEx& mapi, const SBinary& recordKey, IMAPIProp* pObject)
{
    if (!recordKey.cb || !recordKey.lpb)
        return nullptr;
    const std::string strKey = KeyOf(recordKey);
    const auto known = m_stores.find(strKey);
    if (known != m_stores.end())
    {
        m_pLastStore = known->second;
        return known->second;
    }
    ULONG ulSupportMask = 0;
    if (AskOpenStore(mapi, strKey, ulSupportMask) || AskObjectStore(mapi, pObject, ulSupportMask))
        return Remember(strKey, ulSupportMask);
    return nullptr;
}

std::shared_ptr<StoreFacts> SessionState::Remember(const std::string& strKey, ULONG ulSupportMask)
{
    auto pFacts = std::make_shared<StoreFacts>(ulSupportMask, strKey);
    m_stores[strKey] = pFacts;
    m_pLastStore = pFacts;
    return pFacts;
}

bool SessionState::AskOpenStore(CMAPIEx& mapi, const std::string& strKey, ULONG& ulSupportMask)
{
    IMsgStore* pStore = mapi.GetMessageStore();
    if (!pStore)
        return false;
    enum
    {
        nRecordKey,
        nSupportMask,
        nColumns
    };
    SizedSPropTagArray(nColumns, tags) = {nColumns, {PR_STORE_RECORD_KEY, PR_STORE_SUPPORT_MASK}};
    ULONG cValues = 0;
    ScopedBuffer<SPropValue> values;
    if (pStore->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &cValues, &values.Receive()) != S_OK || !values ||
        cValues != nColumns || values.Get()[nRecordKey].ulPropTag != PR_STORE_RECORD_KEY ||
        values.Get()[nSupportMask].ulPropTag != PR_STORE_SUPPORT_MASK)
        return false;
    if (KeyOf(values.Get()[nRecordKey].Value.bin) != strKey)
        return false;
    ulSupportMask = values.Get()[nSupportMask].Value.ul;
    return true;
}

bool SessionState::AskObjectStore(CMAPIEx& mapi, IMAPIProp* pObject, ULONG& ulSupportMask)
{
    ScopedBuffer<SPropValue> storeID;
    IMAPISession* pSession = mapi.GetSession();
    if (!pSession || !ReadSingleProperty(pObject, PR_STORE_ENTRYID, 0, storeID))
        return false;
    ScopedInterface<IMsgStore> store;
    if (pSession->OpenMsgStore(0, storeID->Value.bin.cb, reinterpret_cast<LPENTRYID>(storeID->Value.bin.lpb), NULL,
                               MDB_NO_DIALOG | MAPI_BEST_ACCESS, &store.Receive()) != S_OK ||
        !store)
        return false;
    ScopedBuffer<SPropValue> mask;
    if (!ReadSingleProperty(store.Get(), PR_STORE_SUPPORT_MASK, 0, mask))
        return false;
    ulSupportMask = mask->Value.ul;
    return true;
}
} // namespace mapipim
