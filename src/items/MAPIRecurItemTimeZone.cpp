// The time-zone properties of an appointment: the definition blob built from the registry's rules of the zone
// (with its per-year dynamic rules), the older fixed-size structure, and the definition read back into a zone.
#include "items/MAPIRecurItem.h"

#include "items/TimeZoneDefinitionBlob.h"
#include "items/TimeZoneRegistry.h"
#include "items/TimeZoneStructBlob.h"

#include <mapipim/MAPIEx.h>

#include <vector>

using namespace mapipim;

namespace
{
// The zone's key name (the machine's when the record has none, which the record then keeps) and its "TZI"; the
// rule stays zero when the registry has no such zone.
bool ReadZone(CMAPITimeZone& zone, TziValue& tzi)
{
    if (zone.strKeyName.IsEmpty())
        GetLocalTimeZoneKeyName(zone.strKeyName);
    return !zone.strKeyName.IsEmpty() && ReadZoneTzi(zone.strKeyName, tzi);
}

template <typename Write> BOOL WriteBlob(CMAPIItem& item, int nSet, ULONG ulID, ULONG cbSize, Write write)
{
    std::vector<BYTE> buffer(cbSize);
    CMAPIByteStream stream;
    stream.Init(cbSize, buffer.data());
    write(stream);
    return item.SetPropertyBinary(ulID, stream, nSet);
}
} // namespace

BOOL CMAPIRecurItem::SetTimeZoneDefinition(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone, BOOL bRecurrence)
{
    if (!pTimeZone)
        return FALSE;
    TziValue tzi;
    if (ReadZone(*pTimeZone, tzi))
    {
        pTimeZone->nBias = tzi.nBias;
        pTimeZone->nStandardBias = tzi.nStandardBias;
        pTimeZone->nDaylightBias = tzi.nDaylightBias;
    }
    std::vector<YearRule> years;
    if (!pTimeZone->strKeyName.IsEmpty())
        years = ReadDynamicRules(pTimeZone->strKeyName);
    const TimeZoneDefinition definition = DefinitionFromYears(pTimeZone->strKeyName, years, tzi, bRecurrence != FALSE);
    return WriteBlob(*this, nSet, ulID, TimeZoneDefinitionSize(definition),
                     [&](CMAPIByteStream& stream) { WriteTimeZoneDefinition(stream, definition); });
}

BOOL CMAPIRecurItem::SetTimeZoneStruct(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone)
{
    if (!pTimeZone)
        return FALSE;
    TziValue tzi;
    ReadZone(*pTimeZone, tzi);
    return WriteBlob(*this, nSet, ulID, kTimeZoneStructBytes,
                     [&](CMAPIByteStream& stream) { WriteTimeZoneStruct(stream, tzi); });
}

BOOL CMAPIRecurItem::GetTimeZoneDefinition(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone)
{
    if (!pTimeZone)
        return FALSE;
    BlobReader stream;
    if (!GetPropertyBinary(ulID, stream, nSet))
        return FALSE;
    const TimeZoneDefinition definition = ReadTimeZoneDefinition(stream);
    pTimeZone->strKeyName = definition.strKeyName;
    if (const TimeZoneRule* pRule = EffectiveRule(definition))
    {
        pTimeZone->nBias = pRule->tzi.nBias;
        pTimeZone->nStandardBias = pRule->tzi.nStandardBias;
        pTimeZone->nDaylightBias = pRule->tzi.nDaylightBias;
    }
    return TRUE;
}
