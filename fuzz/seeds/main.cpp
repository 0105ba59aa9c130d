// fuzz_seeds DIRECTORY: writes the seed corpus of every fuzz target into DIRECTORY/<target>/.
#include "seeds/SeedWriter.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: fuzz_seeds DIRECTORY\n");
        return 2;
    }
    SeedWriter writer(argv[1]);
    WritePropertyBagSeeds(writer);
    WriteEntryIdSeeds(writer);
    WriteSessionEntryIdSeeds(writer);
    WriteRestrictionSeeds(writer);
    WriteByteStreamSeeds(writer);
    WriteTextSeeds(writer);
    WriteImageSeeds(writer);
    return writer.Succeeded() ? 0 : 1;
}
