#include "SeriesEdits.h"

#include "SessionEntry.h"

#include "items/RecurrenceCalendar.h"
#include "items/RecurrencePatternBlob.h"

#include <algorithm>
#include <memory>

namespace cli
{
namespace
{
const LONG kAppointmentRecurId = 0x8216; // PidLidAppointmentRecur

struct BufferFreer
{
    void operator()(void* pBuffer) const { MAPIFreeBuffer(pBuffer); }
};

// The blob's property tag in the item's store; 0 when the store has never mapped the name (no series there).
ULONG RecurrenceBlobTag(IMessage& message)
{
    MAPINAMEID name = {const_cast<LPGUID>(&PSETID_Appointment), MNID_ID, {kAppointmentRecurId}};
    LPMAPINAMEID names[] = {&name};
    LPSPropTagArray pTags = nullptr;
    if (FAILED(message.GetIDsFromNames(1, names, 0, &pTags)) || !pTags)
        return 0;
    std::unique_ptr<SPropTagArray, BufferFreer> tags(pTags);
    const ULONG ulTag = tags->cValues == 1 ? tags->aulPropTag[0] : 0;
    return PROP_TYPE(ulTag) == PT_ERROR ? 0 : PROP_TAG(PT_BINARY, PROP_ID(ulTag));
}
} // namespace

bool SeriesEdits::Misses(LONG day) const
{
    return std::find(missingDays.begin(), missingDays.end(), day) != missingDays.end();
}

SeriesEdits ReadSeriesEdits(IMAPISession* pSession, const SBinary& entryID)
{
    SeriesEdits edits;
    const MapiObject<IMessage> message = OpenEntryAs<IMessage>(pSession, entryID, MAPI_MESSAGE);
    const ULONG ulTag = message ? RecurrenceBlobTag(*message) : 0;
    LPSPropValue pValue = nullptr;
    if (!ulTag || HrGetOneProp(message.get(), ulTag, &pValue) != S_OK)
        return edits;
    const std::unique_ptr<SPropValue, BufferFreer> value(pValue);
    mapipim::BlobReader stream(value->Value.bin.lpb, value->Value.bin.cb);
    mapipim::RecurrencePatternBlob blob = mapipim::ReadRecurrencePattern(stream);
    // Outlook lists a changed occurrence's original day among the deleted ones too; either way the pattern's
    // occurrence on that day is not shown.
    for (DWORD dwDate : blob.deletedInstanceDates)
        edits.missingDays.push_back(static_cast<LONG>(dwDate / mapipim::kMinutesPerDay));
    for (const mapipim::RecurrenceException& changed : blob.exceptions)
        edits.missingDays.push_back(static_cast<LONG>(changed.dwOriginalStartTime / mapipim::kMinutesPerDay));
    edits.changed = std::move(blob.exceptions);
    return edits;
}
} // namespace cli
