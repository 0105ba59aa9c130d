#include "seeds/SampleProps.h"
#include "seeds/SeedWriter.h"

#include <cstdio>

using namespace mapisvc;

void WritePropertyBagSeeds(SeedWriter& writer)
{
    const PropertyBag sample = SampleProps();
    writer.Write("property_bag_fuzzer", "message", sample.Serialize());
    for (const Prop& prop : sample.Props())
    {
        PropertyBag single;
        single.Set(prop);
        char name[32];
        std::snprintf(name, sizeof(name), "prop-%08x", static_cast<unsigned>(prop.tag));
        writer.Write("property_bag_fuzzer", name, single.Serialize());
    }
    writer.Write("property_bag_fuzzer", "empty", PropertyBag().Serialize());
}
