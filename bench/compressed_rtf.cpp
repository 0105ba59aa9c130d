// Compressed RTF throughput on a 1 MB RTF body: decompressing (every RTF read) and compressing (every RTF
// write), next to a plain copy of the same bytes as the floor.
#include "platform/mapi/CompressedRtf.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

namespace
{
// 1 MB with the shape of a mail's RTF: header words, paragraphs of words, escapes and line breaks.
const std::string& RtfBody()
{
    static const std::string body = []
    {
        static const char* const kWords[] = {"\\par ", "\\pard\\plain\\f0\\fs20 ", "the ", "quarterly ", "report ",
                                             "{\\b meeting} ", "\\'e9", "room ", "\r\n", "\\tab ", "agenda ",
                                             "{\\*\\htmltag84 <td>}", "Lorem ", "ipsum "};
        std::mt19937 random(11);
        std::string text = "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n";
        while (text.size() < (1u << 20))
        {
            if (random() % 7 == 0)
                text += std::to_string(random() % 100000);
            text += kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
        }
        text.resize(1u << 20);
        return text;
    }();
    return body;
}

void Decompress(benchmark::State& state)
{
    const std::string stored = mapisvc::CompressRtf(RtfBody());
    std::string rtf;
    for (auto _ : state)
    {
        mapisvc::DecompressRtf(stored, rtf);
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(RtfBody().size()));
    state.counters["ratio"] = static_cast<double>(stored.size()) / RtfBody().size();
}

void Compress(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(mapisvc::CompressRtf(RtfBody()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(RtfBody().size()));
}

void Copy(benchmark::State& state)
{
    const std::string& body = RtfBody();
    std::string copy(body.size(), '\0');
    for (auto _ : state)
    {
        std::memcpy(&copy[0], body.data(), body.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
} // namespace

BENCHMARK(Decompress)->Unit(benchmark::kMillisecond);
BENCHMARK(Compress)->Unit(benchmark::kMillisecond);
BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
