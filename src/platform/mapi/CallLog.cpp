#include "platform/mapi/CallLog.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace mapisvc
{
namespace
{
constexpr size_t kMaxRecords = 100000;

// Off unless asked for: a host pays for what it records (a copy of every call's arguments) only when it reads it.
std::atomic<bool> g_enabled{false};
std::mutex g_mutex;
std::deque<CallRecord> g_records;
} // namespace

bool CallLogEnabled()
{
    return g_enabled.load(std::memory_order_relaxed);
}

void AppendCallRecord(CallRecord&& record)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_records.size() == kMaxRecords)
        g_records.pop_front();
    g_records.push_back(std::move(record));
}

void SetCallLogEnabled(bool enabled)
{
    g_enabled = enabled;
}

void ClearCallLog()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_records.clear();
}

std::vector<CallRecord> GetCallLog()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::vector<CallRecord>(g_records.begin(), g_records.end());
}
} // namespace mapisvc
