// Seeds of recurrence_pattern_fuzzer and time_zone_definition_fuzzer: the worked blobs of the published formats,
// the blobs of real Outlook items, and blobs the library's own writers produce.
#include "seeds/SeedWriter.h"

#include "../../tests/items/OutlookBlobSamples.h"
#include "../../tests/items/WorkedBlobs.h"

#include "items/RecurrencePatternBlob.h"
#include "items/TimeZoneDefinitionBlob.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
std::string Bytes(const char* pszHex)
{
    std::string digits;
    for (const char* p = pszHex; *p; ++p)
        if (std::isxdigit(static_cast<unsigned char>(*p)))
            digits += *p;
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::string ManyDeletedInstances()
{
    mapipim::RecurrencePatternBlob blob;
    blob.wFrequency = 0x200A;
    blob.dwPeriod = 1440;
    blob.dwEndType = 0x2021;
    for (DWORD i = 0; i < 600; ++i)
        blob.deletedInstanceDates.push_back(0x0CDC7E20 + i * 1440);
    blob.modifiedInstanceDates = {0x0CDC7E20};
    blob.dwStartDate = 0x0CDC7E20;
    blob.dwEndDate = 0x0CE00000;
    std::string bytes(mapipim::RecurrencePatternSize(blob), '\0');
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(bytes.size()), reinterpret_cast<LPBYTE>(&bytes[0]));
    mapipim::WriteRecurrencePattern(stream, blob);
    return bytes;
}

std::string ThreeRuleDefinition()
{
    mapipim::TziValue tzi;
    tzi.nBias = 480;
    tzi.nDaylightBias = -60;
    const mapipim::TimeZoneDefinition definition =
        mapipim::DefinitionFromYears(_T("Pacific Standard Time"), {{2006, tzi}, {2007, tzi}, {2008, tzi}}, tzi, true);
    std::string bytes(mapipim::TimeZoneDefinitionSize(definition), '\0');
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(bytes.size()), reinterpret_cast<LPBYTE>(&bytes[0]));
    mapipim::WriteTimeZoneDefinition(stream, definition);
    return bytes;
}
} // namespace

void WriteRecurrenceSeeds(SeedWriter& writer)
{
    const std::string recurrence = "recurrence_pattern_fuzzer";
    const std::string zone = "time_zone_definition_fuzzer";
    writer.Write(recurrence, "worked_weekly", Bytes(kWeeklyBlob));
    writer.Write(recurrence, "worked_daily_deleted", Bytes(kDailyWithDeletionsBlob));
    writer.Write(recurrence, "worked_weekly_exception", Bytes(kWeeklyWithExceptionBlob));
    writer.Write(recurrence, "worked_hebrew_never", Bytes(kHebrewYearlyBlob));
    writer.Write(recurrence, "many_deleted", ManyDeletedInstances());
    writer.Write(zone, "worked_pacific", Bytes(kPacificDefinitionBlob));
    writer.Write(zone, "worked_pacific_struct", Bytes(kPacificStructBlob));
    writer.Write(zone, "three_rules", ThreeRuleDefinition());
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
    {
        const bool bRecurrence = sample.id == 0x8216 || sample.id == 0x8116;
        char szName[160];
        std::snprintf(szName, sizeof(szName), "%s_%04lx", sample.file, sample.id);
        writer.Write(bRecurrence ? recurrence : zone, szName, Bytes(sample.hex));
    }
}
