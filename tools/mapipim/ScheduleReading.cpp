#include "ScheduleReading.h"

#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>

namespace cli
{
void ReadSchedule(Host& host, const std::string& entryId, CMAPIScheduleInfo& schedule)
{
    const EntryId id = EntryId::Parse(ExpandEntryIdTail(host, entryId));
    CopySBinary(schedule.sbEntryID, id.Value());
    schedule.strEntryID = WideText(id.Text());
    if (!host.Mapi().GetSchedule(&schedule, kReadAllScheduleFields))
    {
        Host::CheckCancel();
        throw Failure("no item with the entry identifier " + id.Text());
    }
}

void ListSchedules(Host& host, COutlookFolder& folder, const std::string& path,
                   RecordArray<CMAPIScheduleInfo>& schedules)
{
    CMAPIInterface& mapi = host.Mapi();
    host.Progress().ExpectItems("Reading " + path, mapi.GetRowCount(&folder));
    const BOOL bListed = mapi.GetSchedule(&folder, schedules.Array(), kReadAllScheduleFields);
    host.Progress().Done();
    Host::CheckCancel();
    if (!bListed)
        throw Failure("cannot read the folder '" + path + "'");
}
} // namespace cli
