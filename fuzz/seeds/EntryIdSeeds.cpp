#include "seeds/SeedWriter.h"

#include "platform/mapi/EntryId.h"
#include "platform/mapi/OneOff.h"

using namespace mapisvc;

namespace
{
const MAPIUID kStore = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}};

// The input of entry_id_fuzzer: a byte that splits, then both identifiers.
Bytes Pair(const Bytes& first, const Bytes& second)
{
    Bytes input(1, static_cast<BYTE>(first.size()));
    input.insert(input.end(), first.begin(), first.end());
    input.insert(input.end(), second.begin(), second.end());
    return input;
}

OneOffAddress OneOff(WORD flags)
{
    OneOffAddress address;
    address.displayName = u"Ann Example \u00E9";
    address.addressType = u"SMTP";
    address.address = u"ann@example.com";
    address.flags = flags;
    return address;
}
} // namespace

void WriteEntryIdSeeds(SeedWriter& writer)
{
    const Bytes message = MakeStoreEntryId(kStore, MAPI_MESSAGE, 42);
    const Bytes shortTerm = MakeStoreEntryId(kStore, MAPI_MESSAGE, 42, true);
    const Bytes folder = MakeStoreEntryId(kStore, MAPI_FOLDER, 7);
    const Bytes user = MakeAddressBookEntryId(MAPI_MAILUSER, 3);
    const Bytes list = MakeAddressBookEntryId(MAPI_DISTLIST, 4);
    const Bytes unicode = MakeOneOff(OneOff(MAPI_ONE_OFF_UNICODE));
    const Bytes ansi = MakeOneOff(OneOff(MAPI_ONE_OFF_NO_RICH_INFO));
    writer.Write("entry_id_fuzzer", "message-short-term", Pair(message, shortTerm));
    writer.Write("entry_id_fuzzer", "folder-message", Pair(folder, message));
    writer.Write("entry_id_fuzzer", "user-list", Pair(user, list));
    writer.Write("entry_id_fuzzer", "one-offs", Pair(unicode, ansi));
    writer.Write("entry_id_fuzzer", "one-off-user", Pair(unicode, user));
}
