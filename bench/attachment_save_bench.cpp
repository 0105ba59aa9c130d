// Saving a 10 MB attachment to a file through the interface against a plain copy of a 10 MB file, with the pauses
// off; and once at the default pause, whose 1 ms after every 1 KB chunk sets its pace.
#include "BenchWorld.h"

#include <cstdio>

using namespace benchworld;

namespace
{
const size_t kAttachmentBytes = 10 * 1024 * 1024;

void CopyFile(const fs::path& from, const fs::path& to)
{
    std::vector<char> buffer(64 * 1024);
    FILE* pIn = std::fopen(from.c_str(), "rb");
    FILE* pOut = std::fopen(to.c_str(), "wb");
    size_t cb = 0;
    while ((cb = std::fread(buffer.data(), 1, buffer.size(), pIn)) > 0)
        std::fwrite(buffer.data(), 1, cb, pOut);
    std::fclose(pIn);
    std::fclose(pOut);
}

// Arg: the pause in milliseconds.
void SaveAttachmentVsFileCopy(benchmark::State& state)
{
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    CMAPIInterface mapi;
    auto pFolder = NewFolder(store, u"Bench contacts", u"IPF.Contact");
    const fs::path source = home.Path() / "source.bin";
    {
        std::vector<char> data(kAttachmentBytes);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 7 + i / 4096);
        FILE* pFile = std::fopen(source.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), pFile);
        std::fclose(pFile);
    }
    CMAPIInterface::SetYield(0);
    CMAPIContactInfo info = TypicalContact(1);
    info.strAttachFile = CString(source.u16string().c_str());
    if (!mapi.CreateContact(pFolder.get(), &info))
        std::abort();

    CMAPIInterface::SetYield(static_cast<int>(state.range(0)));
    const fs::path saved = home.Path() / "saved.bin";
    const fs::path copied = home.Path() / "copied.bin";
    const CString strSaved(saved.u16string().c_str());
    SideBySide timing;
    timing.Run(
        state,
        [&]
        {
            if (!mapi.SaveAttachment(info.sbEntryID, strSaved, 0, 1) || fs::file_size(saved) != kAttachmentBytes)
                state.SkipWithError("the save failed");
        },
        [&] { CopyFile(source, copied); });
    CMAPIInterface::SetYield(1);
    timing.Report(state, 1);
    // The attachment save's speed as a share of the file copy's: 1 is as fast as a copy.
    state.counters["speed_vs_copy"] = 1.0 / state.counters["ratio"].value;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kAttachmentBytes));
}
} // namespace

BENCHMARK(SaveAttachmentVsFileCopy)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(SaveAttachmentVsFileCopy)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
