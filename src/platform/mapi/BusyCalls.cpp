#include "platform/mapi/BusyCalls.h"

#include <mapipim/mapisvc.h>

#include <atomic>

namespace mapisvc
{
namespace
{
std::atomic<ULONG> g_busyCalls{0};
} // namespace

void CountBusyCall()
{
    g_busyCalls.fetch_add(1, std::memory_order_relaxed);
}

ULONG GetBusyCallCount()
{
    return g_busyCalls.load(std::memory_order_relaxed);
}
} // namespace mapisvc
