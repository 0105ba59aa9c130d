// The time-zone definition parser behind CMAPIRecurItem::GetTimeZoneDefinition, and the time-zone structure
// parser, over any bytes a store may hold.
// Checks: no more than 1023 rules and none that starts at or past the end of the value; the effective rule is one of
// the rules (and there is one exactly when there are rules); writing what was read and reading it again gives the same
// definition; a structure written from what was read is 48 bytes and reads back the same.
//
// Input: the value's bytes.
#include "FuzzSupport.h"

#include "items/TimeZoneDefinitionBlob.h"
#include "items/TimeZoneStructBlob.h"

#include <cstring>
#include <vector>

using namespace mapipim;

namespace
{
bool SameTzi(const TziValue& a, const TziValue& b)
{
    return a.nBias == b.nBias && a.nStandardBias == b.nStandardBias && a.nDaylightBias == b.nDaylightBias &&
           std::memcmp(&a.stStandardDate, &b.stStandardDate, sizeof(SYSTEMTIME)) == 0 &&
           std::memcmp(&a.stDaylightDate, &b.stDaylightDate, sizeof(SYSTEMTIME)) == 0;
}

bool SameDefinition(const TimeZoneDefinition& a, const TimeZoneDefinition& b)
{
    if (a.strKeyName != b.strKeyName || a.rules.size() != b.rules.size())
        return false;
    for (size_t i = 0; i < a.rules.size(); ++i)
        if (a.rules[i].wFlags != b.rules[i].wFlags ||
            std::memcmp(&a.rules[i].stStart, &b.rules[i].stStart, sizeof(SYSTEMTIME)) != 0 ||
            !SameTzi(a.rules[i].tzi, b.rules[i].tzi))
            return false;
    return true;
}

void CheckDefinition(const uint8_t* data, size_t size)
{
    BlobReader reader(data, static_cast<ULONG>(size));
    const TimeZoneDefinition definition = ReadTimeZoneDefinition(reader);
    FUZZ_CHECK(definition.rules.size() <= kMaxTimeZoneRulesRead);
    // Each rule read starts inside the value.
    FUZZ_CHECK(definition.rules.empty() || 10 + 2 * static_cast<size_t>(definition.strKeyName.GetLength()) +
                                                   kTimeZoneRuleBytes * (definition.rules.size() - 1) <
                                               size);
    const TimeZoneRule* pEffective = EffectiveRule(definition);
    FUZZ_CHECK((pEffective != NULL) == !definition.rules.empty());
    if (pEffective)
        FUZZ_CHECK(pEffective >= &definition.rules.front() && pEffective <= &definition.rules.back());

    std::vector<BYTE> buffer(TimeZoneDefinitionSize(definition));
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteTimeZoneDefinition(stream, definition);
    FUZZ_CHECK(stream.GetLength() == buffer.size());
    BlobReader again(buffer.data(), static_cast<ULONG>(buffer.size()));
    FUZZ_CHECK(SameDefinition(definition, ReadTimeZoneDefinition(again)));
}

void CheckStructure(const uint8_t* data, size_t size)
{
    BlobReader reader(data, static_cast<ULONG>(size));
    TziValue tzi = ReadTimeZoneStruct(reader);
    // The year fields repeat the dates' years when written.
    std::vector<BYTE> buffer(kTimeZoneStructBytes);
    CMAPIByteStream stream;
    stream.Init(kTimeZoneStructBytes, buffer.data());
    WriteTimeZoneStruct(stream, tzi);
    FUZZ_CHECK(stream.GetLength() == kTimeZoneStructBytes);
    BlobReader again(buffer.data(), kTimeZoneStructBytes);
    FUZZ_CHECK(SameTzi(tzi, ReadTimeZoneStruct(again)));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckDefinition(data, size);
    CheckStructure(data, size);
    return 0;
}
