#include "seeds/SeedWriter.h"

// session_entry_id_fuzzer: each identifier of the fuzzing profile unchanged (a selector and no XOR bytes), and a
// selector past the list with an identifier of no provider.
void WriteSessionEntryIdSeeds(SeedWriter& writer)
{
    for (unsigned char selector = 0; selector < 7; ++selector)
        writer.Write("session_entry_id_fuzzer", "object-" + std::to_string(selector), std::string(1, char(selector)));
    writer.Write("session_entry_id_fuzzer", "unknown-provider",
                 std::string("\xFF\x00\x00\x00\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"
                             "\x11\x12\x13",
                             24));
}
