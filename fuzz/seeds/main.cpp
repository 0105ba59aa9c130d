// fuzz_seeds DIRECTORY [REGRESSIONS OUT]: writes the seed corpus of every fuzz target into DIRECTORY/<target>/,
// and the kept regression inputs (hexadecimal text below REGRESSIONS) as bytes into OUT/<target>/.
#include "seeds/SeedWriter.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4)
    {
        std::fprintf(stderr, "usage: fuzz_seeds DIRECTORY [REGRESSIONS OUT]\n");
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
    WriteRecurrenceSeeds(writer);
    WriteInteropSeeds(writer);
    WriteMsgSeeds(writer);
    bool regressionsWritten = true;
    if (argc == 4)
    {
        SeedWriter regressions(argv[3]);
        regressionsWritten = WriteRegressionInputs(argv[2], regressions) && regressions.Succeeded();
    }
    return writer.Succeeded() && regressionsWritten ? 0 : 1;
}
