// A store's meta table as a damaged or hostile file holds it: any keys (the store's own and others) with any
// values. Opening the store must answer S_OK or MAPI_E_CORRUPT_DATA, never throw or read outside a value; a
// store that opens names its width from its stored flag and keeps the stored identity.
//
// Input: rows of the meta table, each a key (one of the store's own keys, or fuzz text) and a value of fuzz bytes.
#include "FuzzSupport.h"

#include "platform/mapi/StoreDatabase.h"

#include <cstring>
#include <string>
#include <unistd.h>

using namespace mapisvc;

namespace
{
const char* const kKeys[] = {"uid", "unicode", "props", "role0", "role1", "role2", "role3",
                             "role4", "role5", "role6", "role7", "role8", "role9", "role10"};

// One store file made once per run, whose meta table each input replaces.
const std::string& StorePath()
{
    static const std::string path = [] {
        char dir[] = "/tmp/store_meta_fuzzer.XXXXXX";
        FUZZ_CHECK(mkdtemp(dir) != nullptr);
        const std::string file = std::string(dir) + "/store.db";
        FUZZ_CHECK(StoreDatabase::Create(file, NewMAPIUID(), true, true) == S_OK);
        return file;
    }();
    return path;
}

void WriteMetaRows(FuzzedDataProvider& input)
{
    std::unique_ptr<Database> db;
    FUZZ_CHECK(Database::Open(StorePath(), false, db) == S_OK);
    FUZZ_CHECK(db->Execute("DELETE FROM meta") == S_OK);
    while (input.remaining_bytes() > 0)
    {
        const std::string key = input.ConsumeBool() ? std::string(input.PickValueInArray(kKeys))
                                                    : input.ConsumeRandomLengthString(16);
        const std::string value = input.ConsumeRandomLengthString(32);
        db->Prepare("INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)").BindText(1, key).BindBlob(2, value).Run();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    WriteMetaRows(input);
    std::shared_ptr<StoreDatabase> store;
    const HRESULT hr = StoreDatabase::Open(StorePath(), store);
    FUZZ_CHECK(hr == S_OK || hr == MAPI_E_CORRUPT_DATA);
    FUZZ_CHECK((hr == S_OK) == (store != nullptr));
    return 0;
}
