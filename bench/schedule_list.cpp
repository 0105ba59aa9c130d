// GetSchedule over whole calendar folders of 1,000 and 10,000 appointments, half of them recurring (every field,
// pauses off): items per second and the cost per item, which should stay flat from one size to the other. And the
// occurrence enumerator walking a daily series over ten years, as a calendar view of a decade does.
#include "BenchWorld.h"

#include "items/OccurrenceEnumerator.h"

#include <map>

using namespace benchworld;

namespace
{
const ULONG kAllFields = 0x7;

CMAPIScheduleInfo TypicalSchedule(bool bRecurring)
{
    CMAPIScheduleInfo info;
    info.strSubject = u"Weekly planning 😀";
    info.strLocation = u"Room 4.12";
    info.strContents = u"Agenda\r\n1. Figures\r\n2. Plans";
    info.tzStartTime.tmDateTime = SYSTEMTIME{2010, 3, 0, 17, 10, 0, 0, 0};
    info.tzEndTime.tmDateTime = SYSTEMTIME{2010, 3, 0, 17, 11, 0, 0, 0};
    info.strLabel = u"Work";
    if (bRecurring)
    {
        info.bRecurSet = 1;
        info.lprcRecurring = new CMAPIRecurring;
        info.lprcRecurring->nDayMask = 0x08;
        info.lprcRecurring->tmStartDate = SYSTEMTIME{2010, 3, 0, 17, 0, 0, 0, 0};
    }
    return info;
}

// One home, one interface, and a folder per size: half single appointments, half weekly series, copied from one
// of each that the library wrote.
class CalendarWorld
{
public:
    static CalendarWorld& Get()
    {
        static CalendarWorld world;
        return world;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    COutlookFolder* Folder(int nItems)
    {
        auto it = m_folders.find(nItems);
        if (it != m_folders.end())
            return it->second.get();
        auto pFolder = NewFolder(m_store, u"Calendar " + Digits(nItems), u"IPF.Appointment");
        const int64_t nFolder = m_pRaw->LastRow(kFolderRow);
        CMAPIInterface::SetYield(0);
        for (bool bRecurring : {false, true})
        {
            CMAPIScheduleInfo info = TypicalSchedule(bRecurring);
            if (!m_pInterface->CreateSchedule(pFolder.get(), &info))
                std::abort();
            m_pRaw->CloneMessage(m_pRaw->LastRow(kMessageRow), nFolder, nItems / 2 - 1);
        }
        return m_folders.emplace(nItems, std::move(pFolder)).first->second.get();
    }

private:
    CalendarWorld()
    {
        m_store = DefaultStore();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pRaw = std::make_unique<RawStore>(m_home.StoreFile());
    }

    static std::u16string Digits(int n)
    {
        const std::string s = std::to_string(n);
        return std::u16string(s.begin(), s.end());
    }

    TemporaryHome m_home;
    mapisvc::EntryId m_store;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    std::unique_ptr<RawStore> m_pRaw;
    std::map<int, std::unique_ptr<COutlookFolder>> m_folders;
};

void GetScheduleList(benchmark::State& state)
{
    const int nItems = static_cast<int>(state.range(0));
    CalendarWorld& world = CalendarWorld::Get();
    COutlookFolder* pFolder = world.Folder(nItems);
    CMAPIInterface::SetYield(0);
    CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*> arrSchedules;
    for (auto _ : state)
    {
        if (!world.Interface().GetSchedule(pFolder, arrSchedules, kAllFields) || arrSchedules.GetSize() != nItems)
            state.SkipWithError("the list failed");
    }
    DeleteAll(arrSchedules);
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations() * nItems);
    state.counters["us_per_item"] = benchmark::Counter(static_cast<double>(state.iterations()) * nItems * 1e-6,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every day of ten years, from 2010-01-01 through 2019-12-31.
void EnumerateDailySeriesOverTenYears(benchmark::State& state)
{
    mapipim::RecurrenceRule rule;
    rule.kind = mapipim::RecurrenceRule::Kind::EveryNDays;
    rule.interval = 1;
    rule.start = mapipim::DayNumberOf(mapipim::CivilDate{2010, 1, 1});
    const mapipim::DayNumber last = mapipim::DayNumberOf(mapipim::CivilDate{2019, 12, 31});
    int64_t nOccurrences = 0;
    for (auto _ : state)
    {
        mapipim::OccurrenceEnumerator dates(rule);
        mapipim::DayNumber day = 0;
        int nRun = 0;
        while (dates.Next(day) && day <= last)
            ++nRun;
        if (nRun != 3652)
            state.SkipWithError("a day was missed");
        nOccurrences += nRun;
    }
    state.SetItemsProcessed(nOccurrences);
}
} // namespace

BENCHMARK(GetScheduleList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(EnumerateDailySeriesOverTenYears)->Unit(benchmark::kMicrosecond);
