// Entry identifiers as they come back from stored properties, records and hosts: the service's store and
// address-book identifiers, one-off identifiers, and CompareEntryIDs over any two of them. A damaged identifier
// must be refused, never read past its end; one that parses names the object it is made from again; an
// identifier names the same object as itself, and comparing is symmetric.
//
// Input: one byte that splits the rest into two identifiers (its value modulo the rest's length + 1).
#include "FuzzSupport.h"

#include "platform/mapi/EntryId.h"
#include "platform/mapi/EntryIdCompare.h"
#include "platform/mapi/OneOff.h"

#include <vector>

using namespace mapisvc;

namespace
{
void CheckObjectId(const Bytes& id)
{
    const ULONG cb = static_cast<ULONG>(id.size());
    ObjectId object;
    if (ParseStoreEntryId(cb, id.data(), object) == S_OK)
        FUZZ_CHECK(MakeStoreEntryId(object.store, object.type, object.id, object.shortTerm) == id);
    if (ParseAddressBookEntryId(cb, id.data(), object) == S_OK)
    {
        ObjectId again;
        const Bytes made = MakeAddressBookEntryId(object.type, object.id);
        FUZZ_CHECK(ParseAddressBookEntryId(static_cast<ULONG>(made.size()), made.data(), again) == S_OK);
        FUZZ_CHECK(again.type == object.type && again.id == object.id);
    }
}

void CheckOneOff(const Bytes& id)
{
    OneOffAddress address;
    if (ParseOneOff(static_cast<ULONG>(id.size()), id.data(), address) != S_OK)
        return;
    const Bytes made = MakeOneOff(address);
    OneOffAddress again;
    FUZZ_CHECK(ParseOneOff(static_cast<ULONG>(made.size()), made.data(), again) == S_OK);
    FUZZ_CHECK(again.flags == address.flags);
    // 8-bit names pass through the ANSI code page, where bytes it lacks come back as "?": only UTF-16 names
    // must come back exactly.
    if (address.flags & MAPI_ONE_OFF_UNICODE)
        FUZZ_CHECK(again.displayName == address.displayName && again.addressType == address.addressType &&
                   again.address == address.address);
}

HRESULT Compare(const Bytes& a, const Bytes& b, ULONG& result)
{
    result = 2;
    const HRESULT hr =
        CompareEntryIds(static_cast<ULONG>(a.size()), a.data(), static_cast<ULONG>(b.size()), b.data(), &result);
    FUZZ_CHECK(result == TRUE || result == FALSE);
    return hr;
}

void CheckCompare(const Bytes& first, const Bytes& second)
{
    ULONG same = 0;
    if (Compare(first, first, same) == S_OK)
        FUZZ_CHECK(same == TRUE);
    ULONG forward = 0, backward = 0;
    const HRESULT hrForward = Compare(first, second, forward);
    const HRESULT hrBackward = Compare(second, first, backward);
    FUZZ_CHECK((hrForward == S_OK) == (hrBackward == S_OK));
    if (hrForward == S_OK)
        FUZZ_CHECK(forward == backward);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t split = data[0] % size;
    const Bytes first(data + 1, data + 1 + split);
    const Bytes second(data + 1 + split, data + size);
    for (const Bytes* id : {&first, &second})
    {
        CheckObjectId(*id);
        CheckOneOff(*id);
    }
    CheckCompare(first, second);
    return 0;
}
