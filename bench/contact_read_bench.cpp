// One GetContact by entry identifier (every field) against a raw prepared-statement lookup of the same message
// row, with the pauses off; the contact lies in a folder of 1,000. Read again into the record that holds it (arg
// 0), or each time into a new record made and freed with the read (arg 1: what a first read costs).
#include "BenchWorld.h"

using namespace benchworld;

namespace
{
const ULONG kAllFields = 0x7;
const int kFolderSize = 1000;
// Reads per timing, so that the clock's own cost (about half a microsecond a reading) does not dilute both sides.
const int kReadsPerRun = 32;

void ReadContactVsRawLookup(benchmark::State& state)
{
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    CMAPIInterface mapi;
    RawStore raw(home.StoreFile());
    auto pFolder = NewFolder(store, u"Contacts 1000", u"IPF.Contact");
    const int64_t nFolder = raw.LastRow(kFolderRow);
    CMAPIInterface::SetYield(0);
    CMAPIContactInfo written = TypicalContact(1);
    if (!mapi.CreateContact(pFolder.get(), &written))
        std::abort();
    const int64_t nMessage = raw.LastRow(kMessageRow);
    raw.CloneMessage(nMessage, nFolder, kFolderSize - 1);

    sqlite3_stmt* pLookup = raw.Prepare("SELECT type, parent, flags, props FROM object WHERE id = ?1");
    const bool bFreshRecord = state.range(0) != 0;
    CMAPIContactInfo read;
    CopySBinary(read.sbEntryID, written.sbEntryID);
    read.strEntryID = written.strEntryID;
    auto readInto = [&](CMAPIContactInfo& record)
    {
        if (!mapi.GetContact(&record, kAllFields))
            state.SkipWithError("the read failed");
    };
    SideBySide timing;
    timing.Run(
        state,
        [&]
        {
            for (int i = 0; i < kReadsPerRun; ++i)
            {
                if (!bFreshRecord)
                {
                    readInto(read);
                    continue;
                }
                CMAPIContactInfo fresh;
                CopySBinary(fresh.sbEntryID, read.sbEntryID);
                readInto(fresh);
            }
        },
        [&]
        {
            for (int i = 0; i < kReadsPerRun; ++i)
            {
                sqlite3_bind_int64(pLookup, 1, nMessage);
                if (sqlite3_step(pLookup) == SQLITE_ROW)
                    benchmark::DoNotOptimize(sqlite3_column_blob(pLookup, 3));
                sqlite3_reset(pLookup);
            }
        });
    sqlite3_finalize(pLookup);
    CMAPIInterface::SetYield(1);
    timing.Report(state, kReadsPerRun);
}
} // namespace

BENCHMARK(ReadContactVsRawLookup)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("fresh")
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->MinTime(2);
