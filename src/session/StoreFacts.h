// What the library keeps about one message store for as long as a session uses it: whether the store holds
// strings as UTF-16, and its named-property map. Every object opened in the store shares them, so that each
// object reads and writes its strings in the form its own store supports (whatever the process-wide mode says)
// and a name is resolved once per store rather than once per object; likewise the tags of each kind's batch read.
#pragma once

#include "session/BatchTagCache.h"
#include "session/NamedPropertyMap.h"

#include <cstring>
#include <string>

namespace mapipim
{
struct StoreFacts
{
    StoreFacts(ULONG ulStoreSupportMask, std::string strStoreRecordKey)
        : bUnicode((ulStoreSupportMask & STORE_UNICODE_OK) != 0), ulSupportMask(ulStoreSupportMask),
          recordKey(std::move(strStoreRecordKey))
    {
    }

    // Whether an object's PR_STORE_RECORD_KEY names this store.
    bool IsStore(const SBinary& storeRecordKey) const
    {
        return storeRecordKey.cb == recordKey.size() &&
               (recordKey.empty() || std::memcmp(storeRecordKey.lpb, recordKey.data(), recordKey.size()) == 0);
    }

    const bool bUnicode;
    const ULONG ulSupportMask; // PR_STORE_SUPPORT_MASK as the store answered it
    const std::string recordKey; // PR_STORE_RECORD_KEY
    NamedPropertyMap names;
    BatchTagCache batchTags; // valid for the generation of `names` each entry was made at
};
} // namespace mapipim
