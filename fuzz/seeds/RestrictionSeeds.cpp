// Seeds of restriction_fuzzer: a row of every stored type, a sub-object, and bytes for the restriction.
#include "seeds/SampleProps.h"
#include "seeds/SeedWriter.h"

using namespace mapisvc;

namespace
{
// A string as FuzzedDataProvider's ConsumeRandomLengthString reads it: "\" doubled, ended by "\" and another
// character.
std::string Escaped(const std::string& bytes)
{
    std::string out;
    for (char c : bytes)
    {
        out += c;
        if (c == '\\')
            out += c;
    }
    return out + "\\n";
}
} // namespace

void WriteRestrictionSeeds(SeedWriter& writer)
{
    PropertyBag recipient;
    recipient.Set(PR_DISPLAY_NAME_W, EncodeUnicode(u"Ann"));
    recipient.Set(PR_RECIPIENT_TYPE, EncodeLong(MAPI_TO));
    const std::string rows = Escaped(SampleProps().Serialize()) + Escaped(recipient.Serialize());
    std::string restriction;
    for (int i = 0; i < 96; ++i)
        restriction += static_cast<char>(i * 29 + 7);
    writer.Write("restriction_fuzzer", "sample-row", rows + restriction);
    writer.Write("restriction_fuzzer", "empty-row", Escaped("") + Escaped("") + restriction);
}
