// CreateContact on a fresh interface (made just before the call, as a host that starts, writes one contact and
// ends does), against the same call on an interface that has already written one, with the pauses off.
#include "BenchWorld.h"

using namespace benchworld;

namespace
{
void CreateContactFreshVsWarm(benchmark::State& state)
{
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    auto pFolder = NewFolder(store, u"Bench contacts", u"IPF.Contact");
    CMAPIInterface::SetYield(0);
    CMAPIInterface warm;
    CMAPIContactInfo first = TypicalContact(0);
    warm.CreateContact(pFolder.get(), &first);
    int nIndex = 1;
    std::unique_ptr<CMAPIInterface> pFresh;
    for (auto _ : state)
    {
        state.PauseTiming();
        pFresh = std::make_unique<CMAPIInterface>();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        CMAPIContactInfo info = TypicalContact(nIndex++);
        if (!pFresh->CreateContact(pFolder.get(), &info))
            state.SkipWithError("CreateContact failed");
        const double dFresh = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto warmStart = std::chrono::steady_clock::now();
        CMAPIContactInfo other = TypicalContact(nIndex++);
        warm.CreateContact(pFolder.get(), &other);
        const double dWarm = std::chrono::duration<double>(std::chrono::steady_clock::now() - warmStart).count();
        state.SetIterationTime(dFresh);
        state.PauseTiming();
        pFresh.reset();
        state.ResumeTiming();
        state.counters["fresh_ms"] += dFresh * 1e3;
        state.counters["warm_ms"] += dWarm * 1e3;
    }
    const double dRuns = static_cast<double>(state.iterations());
    state.counters["fresh_ms"] = state.counters["fresh_ms"].value / dRuns;
    state.counters["warm_ms"] = state.counters["warm_ms"].value / dRuns;
    state.counters["ratio"] = state.counters["fresh_ms"].value / state.counters["warm_ms"].value;
    CMAPIInterface::SetYield(1);
}
} // namespace

BENCHMARK(CreateContactFreshVsWarm)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
