#include "platform/mapi/DatabaseOpens.h"

#include <mapipim/mapisvc.h>

#include <atomic>

namespace mapisvc
{
namespace
{
std::atomic<LONG> g_opens{0};
} // namespace

void CountDatabaseOpen()
{
    g_opens.fetch_add(1, std::memory_order_relaxed);
}

LONG GetDatabaseOpenCount()
{
    return g_opens.load(std::memory_order_relaxed);
}
} // namespace mapisvc
