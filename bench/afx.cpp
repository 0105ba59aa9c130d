// The host framework classes on the library's hot paths: every record field is a CString built, appended,
// compared and formatted; every time field passes through COleDateTime; every failure goes through LOGTRACE.
#include "platform/platform.h"
#include "platform/trace/Trace.h"

#include <benchmark/benchmark.h>

namespace
{
void StringAppend(benchmark::State& state)
{
    const CString strPart(_T("name@example.com"));
    for (auto _ : state)
    {
        CString strList;
        for (int i = 0; i < 32; ++i)
        {
            if (!strList.IsEmpty())
                strList += _T(';');
            strList += strPart;
        }
        benchmark::DoNotOptimize(strList.GetString());
    }
    state.SetItemsProcessed(state.iterations() * 32);
}
BENCHMARK(StringAppend);

void StringFormat(benchmark::State& state)
{
    const CString strName(_T("Meeting room"));
    CString strText;
    for (auto _ : state)
    {
        strText.Format(_T("%s<%s> %d %08X"), strName, _T("room@example.com"), 42, 0xBEEFu);
        benchmark::DoNotOptimize(strText.GetString());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StringFormat);

void StringCompareNoCase(benchmark::State& state)
{
    const CString strLeft(_T("Gelöschte Elemente / Deleted Items"));
    const CString strRight(_T("GELÖSCHTE ELEMENTE / DELETED ITEMS"));
    for (auto _ : state)
        benchmark::DoNotOptimize(strLeft.CompareNoCase(strRight));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StringCompareNoCase);

void DateArithmetic(benchmark::State& state)
{
    SYSTEMTIME st{2010, 3, 0, 7, 15, 4, 9, 0};
    const COleDateTimeSpan bias(0, -9, 0, 0);
    for (auto _ : state)
    {
        const COleDateTime shifted = COleDateTime(st) + bias;
        shifted.GetAsSystemTime(st);
        benchmark::DoNotOptimize(st);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DateArithmetic);

void TraceWithoutSink(benchmark::State& state)
{
    const CString strFolder(_T("Contacts"));
    for (auto _ : state)
        LOGTRACE(_T("[MAPI] Set failed : %s(strLocation) - Folder:%s"), _T("Room 1"), strFolder);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TraceWithoutSink);
} // namespace
