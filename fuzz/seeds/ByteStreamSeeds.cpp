// Seeds of byte_stream_fuzzer: values with operation bytes after them (FuzzedDataProvider takes the value's bytes
// from the front and the choices from the back).
#include "seeds/SeedWriter.h"

void WriteByteStreamSeeds(SeedWriter& writer)
{
    std::string input;
    for (int i = 0; i < 80; ++i)
        input += static_cast<char>(i * 13 + 1);
    writer.Write("byte_stream_fuzzer", "mixed", input);
    writer.Write("byte_stream_fuzzer", "short", std::string("\x04\x00\x00\x00\x00\x00\x01\x02\x03\x05", 10));
}
