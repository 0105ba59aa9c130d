// UTC-to-local conversion in the machine zone: every time property the library reads goes through it.
#include "platform/platform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{
void UtcToLocal(benchmark::State& state)
{
    setenv("TZ", "Europe/Berlin", 1);
    SYSTEMTIME utc{};
    utc.wYear = 2024;
    utc.wMonth = 7;
    utc.wDay = 1;
    utc.wHour = 12;
    SYSTEMTIME local{};
    for (auto _ : state)
    {
        utc.wDay = static_cast<WORD>(utc.wDay % 28 + 1);
        benchmark::DoNotOptimize(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    }
    state.SetItemsProcessed(state.iterations());
}

void LocalToUtc(benchmark::State& state)
{
    setenv("TZ", "Europe/Berlin", 1);
    SYSTEMTIME local{};
    local.wYear = 2024;
    local.wMonth = 3;
    local.wDay = 1;
    local.wHour = 2;
    SYSTEMTIME utc{};
    for (auto _ : state)
    {
        local.wDay = static_cast<WORD>(local.wDay % 31 + 1);
        benchmark::DoNotOptimize(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    }
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK(UtcToLocal);
BENCHMARK(LocalToUtc);
