// Named properties of a data file in the store they are copied into. A file numbers its named properties
// through its own name-to-id map; the store has its own numbers for the same names. Each file id is mapped once,
// by its name, and remembered.
#pragma once

#include "platform/mapi/pst/PffObjects.h"

#include <mapipim/mapisvc.h>

#include <functional>
#include <unordered_map>

namespace mapisvc::pst
{
class NameMap
{
public:
    // The store's id for a name, made when the store has none yet.
    typedef std::function<HRESULT(const NamedProperty& name, ULONG& storeId)> Resolver;

    explicit NameMap(Resolver resolver) : m_resolver(std::move(resolver)) {}

    // The store's id of the file's named property `fileId` (0x8000 and up), named in the file's map for this
    // record entry; false when the file does not name it or the store cannot take the name.
    bool StoreId(libpff_record_entry_t* entry, ULONG fileId, ULONG& storeId);

private:
    std::unordered_map<ULONG, ULONG> m_ids; // file id -> store id; 0: not mappable
    Resolver m_resolver;
};

// The name libpff gives a record entry's property; false when the entry has none.
bool NameOfEntry(libpff_record_entry_t* entry, NamedProperty& name);
} // namespace mapisvc::pst
