// Code-page conversion throughput: every string property of an ANSI-only store goes through these calls.
#include "platform/platform.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
const std::u16string kWestern = u"Meeting about the quarterly report \u2013 caf\u00E9 at 10:00, room B\u00FCro";
const std::u16string kJapanese = u"四半期報告書についての会議は午前十時から第二会議室で行います";

void WideToMulti(benchmark::State& state, UINT codePage, const std::u16string& text)
{
    char buffer[512];
    for (auto _ : state)
        benchmark::DoNotOptimize(
            WideCharToMultiByte(codePage, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
}

void MultiToWide(benchmark::State& state, UINT codePage, const std::u16string& text)
{
    char bytes[512];
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, bytes, sizeof(bytes), nullptr, nullptr);
    WCHAR buffer[512];
    for (auto _ : state)
    {
        const int size = MultiByteToWideChar(codePage, 0, bytes, -1, nullptr, 0);
        benchmark::DoNotOptimize(MultiByteToWideChar(codePage, 0, bytes, -1, buffer, size));
    }
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK_CAPTURE(WideToMulti, cp1252, 1252, kWestern);
BENCHMARK_CAPTURE(WideToMulti, utf8, CP_UTF8, kWestern);
BENCHMARK_CAPTURE(WideToMulti, cp932, 932, kJapanese);
BENCHMARK_CAPTURE(MultiToWide, cp1252_size_then_convert, 1252, kWestern);
BENCHMARK_CAPTURE(MultiToWide, cp932_size_then_convert, 932, kJapanese);
