// Import throughput of Outlook data files, next to pffexport (libpff's own exporter, run as a program that writes
// every item of the file into a temporary directory) as the baseline:
// - the largest sample, imported whole into a new store (ImportDataFile), against pffexport of the same file;
// - a synthetic folder of 10,000 items copied out of the samples: every message of every sample, read by the
//   import's reader and written by its writer into one folder of a store, round after round until the folder
//   holds 10,000; against pffexport of all the samples, per item.
// Items/s and bytes/s are the counters (wall time), with the same per CPU second (user and system time of this
// process, or of the pffexport processes) as items_per_cpu_s and MB_per_cpu_s, which a busy machine disturbs
// less. The samples come from MAPIPIM_SAMPLES (default /work/shared/samples).
#include "BenchWorld.h"

#include "platform/mapi/Profiles.h"
#include "platform/mapi/StoreDatabase.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/pst/DataFile.h"
#include "platform/mapi/pst/ItemReader.h"
#include "platform/mapi/pst/MessageWriter.h"

#include <algorithm>
#include <optional>
#include <set>
#include <sys/resource.h>

using namespace benchworld;

namespace
{
const size_t kSyntheticItems = 10000;

fs::path SampleFolder()
{
    const char* samples = std::getenv("MAPIPIM_SAMPLES");
    return fs::path(samples ? samples : "/work/shared/samples") / "pst";
}

std::vector<fs::path> Samples()
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SampleFolder(), error))
        if (entry.path().extension() == ".pst" || entry.path().extension() == ".ost")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<fs::path> LargestSample()
{
    std::optional<fs::path> largest;
    for (const fs::path& file : Samples())
        if (!largest || fs::file_size(file) > fs::file_size(*largest))
            largest = file;
    return largest;
}

// CPU seconds (user and system) of this process, or of its finished child processes.
double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void SetCpuRates(benchmark::State& state, double cpuSeconds, size_t items, size_t bytes)
{
    if (cpuSeconds <= 0)
        return;
    state.counters["items_per_cpu_s"] = double(items) / cpuSeconds;
    state.counters["MB_per_cpu_s"] = double(bytes) / 1e6 / cpuSeconds;
}

// The messages of every folder of a file, walked as the import walks it (each folder once).
void CountItems(libpff_item_t* folder, std::set<uint32_t>& seen, size_t& items)
{
    if (!seen.insert(mapisvc::pst::ItemIdentifier(folder)).second)
        return;
    bool readable = false;
    items += static_cast<size_t>(mapisvc::pst::MessageCount(folder, readable));
    for (int i = 0; i < mapisvc::pst::SubFolderCount(folder); ++i)
    {
        std::string reason;
        mapisvc::pst::ItemHandle sub = mapisvc::pst::SubFolder(folder, i, reason);
        if (sub)
            CountItems(sub.get(), seen, items);
    }
}

size_t ItemsOf(const fs::path& path)
{
    std::unique_ptr<mapisvc::pst::DataFile> file;
    std::string reason;
    if (!mapisvc::pst::DataFile::Open(path.string(), file, reason))
        return 0;
    mapisvc::pst::ItemHandle root = file->RootFolder(reason);
    size_t items = 0;
    std::set<uint32_t> seen;
    if (root)
        CountItems(root.get(), seen, items);
    return items;
}

// pffexport of one file into a directory that is removed again; false when the program is missing or fails.
bool Pffexport(const fs::path& file, const fs::path& scratch)
{
    const std::string command =
        "pffexport -q -f all -m all -t '" + (scratch / "export").string() + "' '" + file.string() + "' >/dev/null 2>&1";
    const bool done = std::system(command.c_str()) == 0;
    std::error_code error;
    fs::remove_all(scratch / "export.export", error);
    fs::remove_all(scratch / "export.orphans", error);
    fs::remove_all(scratch / "export.recovered", error);
    return done;
}

void BM_ImportLargestSample(benchmark::State& state)
{
    const auto file = LargestSample();
    if (!file)
    {
        state.SkipWithError("no samples (MAPIPIM_SAMPLES)");
        return;
    }
    TemporaryHome home;
    std::u16string profile;
    mapisvc::EnsureDefaultProfile(&profile);
    size_t items = 0, round = 0;
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    for (auto _ : state)
    {
        mapisvc::ImportOptions options;
        options.storeName = u"Import " + mapisvc::FromUtf8(std::to_string(++round));
        mapisvc::ImportResult result;
        if (mapisvc::ImportDataFile(profile, file->string(), options, result) != S_OK)
        {
            state.SkipWithError(result.reason.c_str());
            return;
        }
        items += result.items;
    }
    SetCpuRates(state, CpuSeconds(RUSAGE_SELF) - cpuStart, items, fs::file_size(*file) * round);
    state.SetLabel(file->filename().string());
    state.SetItemsProcessed(static_cast<int64_t>(items));
    state.SetBytesProcessed(static_cast<int64_t>(fs::file_size(*file) * round));
}
BENCHMARK(BM_ImportLargestSample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_PffexportLargestSample(benchmark::State& state)
{
    const auto file = LargestSample();
    if (!file)
    {
        state.SkipWithError("no samples (MAPIPIM_SAMPLES)");
        return;
    }
    TemporaryHome scratch;
    const size_t items = ItemsOf(*file);
    size_t rounds = 0;
    const double cpuStart = CpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state)
    {
        if (!Pffexport(*file, scratch.Path()))
        {
            state.SkipWithError("pffexport (pff-tools) failed or is not installed");
            return;
        }
        ++rounds;
    }
    SetCpuRates(state, CpuSeconds(RUSAGE_CHILDREN) - cpuStart, items * rounds, fs::file_size(*file) * rounds);
    state.SetLabel(file->filename().string());
    state.SetItemsProcessed(static_cast<int64_t>(items * rounds));
    state.SetBytesProcessed(static_cast<int64_t>(fs::file_size(*file) * rounds));
}
BENCHMARK(BM_PffexportLargestSample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Every message of the samples, open through libpff, to be read again and again; each file with the reader of
// its own name map, as an import has.
struct SourceMessage
{
    mapisvc::pst::ItemReader* reader;
    libpff_item_t* folder;
    int index;
};

class SampleSet
{
public:
    explicit SampleSet(const mapisvc::pst::NameMap::Resolver& resolver)
    {
        for (const fs::path& path : Samples())
        {
            std::unique_ptr<mapisvc::pst::DataFile> file;
            std::string reason;
            if (!mapisvc::pst::DataFile::Open(path.string(), file, reason))
                continue;
            mapisvc::pst::ItemHandle root = file->RootFolder(reason);
            if (!root)
                continue;
            m_names.emplace_back(new mapisvc::pst::NameMap(resolver));
            // Items name their own code page; 1252 serves those that do not.
            m_readers.emplace_back(
                new mapisvc::pst::ItemReader(*m_names.back(), 1252, mapisvc::pst::ReadLimits{file->Size()}));
            Collect(m_readers.back().get(), file.get(), root.get(), reason);
            m_roots.push_back(std::move(root));
            m_files.push_back(std::move(file));
        }
    }

    const std::vector<SourceMessage>& Messages() const { return m_messages; }

private:
    void Collect(mapisvc::pst::ItemReader* reader, mapisvc::pst::DataFile* file, libpff_item_t* folder,
                 std::string& reason)
    {
        if (!m_seen.insert({file, mapisvc::pst::ItemIdentifier(folder)}).second)
            return;
        bool readable = false;
        const int count = mapisvc::pst::MessageCount(folder, readable);
        for (int i = 0; i < count; ++i)
            m_messages.push_back({reader, folder, i});
        for (int i = 0; i < mapisvc::pst::SubFolderCount(folder); ++i)
        {
            mapisvc::pst::ItemHandle sub = mapisvc::pst::SubFolder(folder, i, reason);
            if (!sub)
                continue;
            libpff_item_t* raw = sub.get();
            m_folders.push_back(std::move(sub));
            Collect(reader, file, raw, reason);
        }
    }

    std::vector<std::unique_ptr<mapisvc::pst::DataFile>> m_files;
    std::vector<std::unique_ptr<mapisvc::pst::NameMap>> m_names;
    std::vector<std::unique_ptr<mapisvc::pst::ItemReader>> m_readers;
    std::vector<mapisvc::pst::ItemHandle> m_roots;
    std::vector<mapisvc::pst::ItemHandle> m_folders;
    std::set<std::pair<mapisvc::pst::DataFile*, uint32_t>> m_seen;
    std::vector<SourceMessage> m_messages;
};

void BM_CopyTenThousandItemsIntoOneFolder(benchmark::State& state)
{
    TemporaryHome home;
    std::u16string profile;
    mapisvc::EnsureDefaultProfile(&profile);
    std::shared_ptr<mapisvc::StoreDatabase> store;
    if (mapisvc::StoreDatabase::Open(home.StoreFile().string(), store) != S_OK)
    {
        state.SkipWithError("the store cannot be opened");
        return;
    }
    SampleSet samples([&store](const mapisvc::NamedProperty& name, ULONG& id)
                      { return store->Names().IdOfName(name, true, id); });
    if (samples.Messages().empty())
    {
        state.SkipWithError("no samples (MAPIPIM_SAMPLES)");
        return;
    }
    size_t items = 0, bytes = 0, round = 0;
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    for (auto _ : state)
    {
        mapisvc::PropertyBag props;
        props.Set(PR_DISPLAY_NAME_W,
                  mapisvc::EncodeUnicode(u"Synthetic " + mapisvc::FromUtf8(std::to_string(++round))));
        int64_t folder = 0;
        if (store->CreateFolder(store->RoleFolder(mapisvc::FolderRole::IpmSubtree), props, folder) != S_OK)
        {
            state.SkipWithError("the folder cannot be made");
            return;
        }
        for (size_t i = 0; i < kSyntheticItems; ++i)
        {
            const SourceMessage& source = samples.Messages()[i % samples.Messages().size()];
            std::string reason;
            mapisvc::pst::ItemHandle message = mapisvc::pst::Message(source.folder, source.index, reason);
            mapisvc::MessageImage image;
            if (!message || !source.reader->ReadMessage(message.get(), image, reason))
                continue;
            if (mapisvc::pst::WriteMessage(*store, folder, image) != S_OK)
            {
                state.SkipWithError("a message cannot be written");
                return;
            }
            bytes += image.props.ValueBytes();
            ++items;
        }
    }
    SetCpuRates(state, CpuSeconds(RUSAGE_SELF) - cpuStart, items, bytes);
    state.counters["sources"] = static_cast<double>(samples.Messages().size());
    state.SetItemsProcessed(static_cast<int64_t>(items));
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_CopyTenThousandItemsIntoOneFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_PffexportEverySample(benchmark::State& state)
{
    const std::vector<fs::path> files = Samples();
    if (files.empty())
    {
        state.SkipWithError("no samples (MAPIPIM_SAMPLES)");
        return;
    }
    TemporaryHome scratch;
    size_t items = 0, bytes = 0;
    for (const fs::path& file : files)
    {
        items += ItemsOf(file);
        bytes += fs::file_size(file);
    }
    size_t rounds = 0;
    const double cpuStart = CpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state)
    {
        for (const fs::path& file : files)
            if (!Pffexport(file, scratch.Path()))
            {
                state.SkipWithError("pffexport (pff-tools) failed or is not installed");
                return;
            }
        ++rounds;
    }
    SetCpuRates(state, CpuSeconds(RUSAGE_CHILDREN) - cpuStart, items * rounds, bytes * rounds);
    state.SetItemsProcessed(static_cast<int64_t>(items * rounds));
    state.SetBytesProcessed(static_cast<int64_t>(bytes * rounds));
}
BENCHMARK(BM_PffexportEverySample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
} // namespace
