#include "platform/mapi/ProcessCounters.h"

#include <mapipim/mapisvc.h>
#include <mapipim/mapisvc_testing.h>

#include <atomic>

namespace mapisvc
{
namespace
{
std::atomic<ULONG> g_busyCalls{0};
std::atomic<LONG> g_databaseOpens{0};
} // namespace

void CountBusyCall()
{
    g_busyCalls.fetch_add(1, std::memory_order_relaxed);
}

ULONG GetBusyCallCount()
{
    return g_busyCalls.load(std::memory_order_relaxed);
}

void CountDatabaseOpen()
{
    g_databaseOpens.fetch_add(1, std::memory_order_relaxed);
}

LONG GetDatabaseOpenCount()
{
    return g_databaseOpens.load(std::memory_order_relaxed);
}
} // namespace mapisvc
