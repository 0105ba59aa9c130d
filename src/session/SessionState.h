// The library's own per-session state beside the fields of CMAPIEx: the entry identifier the open store was
// opened with (so that opening a folder of the store already open keeps the store instead of reopening it), the
// store a notification advise was made on once another store is open, and the facts of every store an object was
// opened in, found by the store's record key.
#pragma once

#include "session/StoreFacts.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CMAPIEx;

namespace mapipim
{
class SessionState
{
public:
    SessionState() = default;
    ~SessionState();
    SessionState(const SessionState&) = delete;
    SessionState& operator=(const SessionState&) = delete;

    // The store opened last, by the identifier it was opened with; empty when none is open.
    void SetOpenStore(const SBinary* pEntryID);
    const SBinary* GetOpenStore() const { return m_openStore.empty() ? nullptr : &m_openStoreBinary; }

    // The facts of the store whose record key an object reported. A store met for the first time is asked for its
    // support mask: the session's open store when it is that store, else the store the object names by
    // PR_STORE_ENTRYID, opened for the question. Null when the store cannot be asked.
    std::shared_ptr<StoreFacts> FactsOf(CMAPIEx& mapi, const SBinary& recordKey, IMAPIProp* pObject);

    // The open store is being replaced while the session's advise (ulConnection) lives on it: the store object is
    // kept, so that notifications go on reaching the host and the advise is later ended on the store that made it.
    void KeepAdvisedStore(IMsgStore* pOpenStore, ULONG ulConnection);
    // Ends the session's advise, on the kept store if there is one, else on the open store, and lets the kept
    // store go. ulConnection becomes 0.
    void EndAdvise(IMsgStore* pOpenStore, ULONG& ulConnection);

    // The store the last object identified lies in: where the next object opened most likely lies too.
    const std::shared_ptr<StoreFacts>& LastStore() const { return m_pLastStore; }

    // Called whenever the session opens a store: names the store had no mapping for may have one by now.
    void ForgetUnmappedNames();

private:
    std::shared_ptr<StoreFacts> Remember(const std::string& strKey, ULONG ulSupportMask);
    bool AskOpenStore(CMAPIEx& mapi, const std::string& strKey, ULONG& ulSupportMask);
    bool AskObjectStore(CMAPIEx& mapi, IMAPIProp* pObject, ULONG& ulSupportMask);

    IMsgStore* m_pAdvisedStore = nullptr; // held while another store is open
    std::vector<BYTE> m_openStore;
    SBinary m_openStoreBinary = {0, nullptr};
    std::map<std::string, std::shared_ptr<StoreFacts>> m_stores;
    std::shared_ptr<StoreFacts> m_pLastStore;
};
} // namespace mapipim
