#include "platform/mapi/Faults.h"

#include <atomic>
#include <mutex>

namespace mapisvc
{
namespace
{
struct InstalledFault
{
    ULONG id;
    Fault fault;
    ULONG matchedCalls;
};

std::mutex g_mutex;
std::vector<InstalledFault> g_faults;
ULONG g_nextId = 1;
std::atomic<int> g_count{0};
std::atomic<int> g_namedCount{0};

void UpdateCounts()
{
    int named = 0;
    for (const InstalledFault& installed : g_faults)
        named += installed.fault.narrowToName ? 1 : 0;
    g_count = static_cast<int>(g_faults.size());
    g_namedCount = named;
}

bool InterfaceMatches(const Fault& fault, const CallSite& call)
{
    if (fault.interfaceName.empty() || fault.interfaceName == "*")
        return true;
    return fault.interfaceName == call.interfaceName ||
           (call.declaringInterface && fault.interfaceName == call.declaringInterface);
}

bool TagMatches(ULONG faultTag, ULONG callTag)
{
    if (PROP_ID(faultTag) != PROP_ID(callTag))
        return false;
    return PROP_TYPE(faultTag) == PT_UNSPECIFIED || PROP_TYPE(faultTag) == PROP_TYPE(callTag);
}

bool Matches(const Fault& fault, const CallSite& call)
{
    if (fault.method != call.method || !InterfaceMatches(fault, call))
        return false;
    if (fault.propTag != 0)
    {
        bool found = false;
        for (ULONG tag : call.propTags)
            found = found || TagMatches(fault.propTag, tag);
        if (!found)
            return false;
    }
    if (fault.narrowToName)
    {
        bool found = false;
        for (const NamedProperty& name : call.names)
            found = found || SameName(fault.name, name);
        if (!found)
            return false;
    }
    return true;
}
} // namespace

bool SameName(const NamedProperty& a, const NamedProperty& b)
{
    if (!IsEqualGUID(a.propertySet, b.propertySet) || a.kind != b.kind)
        return false;
    return a.kind == MNID_ID ? a.id == b.id : a.name == b.name;
}

bool FaultsInstalled()
{
    return g_count.load(std::memory_order_relaxed) != 0;
}

bool NamedFaultsInstalled()
{
    return g_namedCount.load(std::memory_order_relaxed) != 0;
}

HRESULT MatchFault(const CallSite& call)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    HRESULT result = S_OK;
    for (InstalledFault& installed : g_faults)
    {
        if (!Matches(installed.fault, call))
            continue;
        ++installed.matchedCalls;
        const ULONG nth = installed.fault.nthCall;
        if (result == S_OK && (nth == 0 || nth == installed.matchedCalls))
            result = installed.fault.result;
    }
    return result;
}

ULONG InjectFault(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_faults.push_back({g_nextId, fault, 0});
    UpdateCounts();
    return g_nextId++;
}

void RemoveFault(ULONG id)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    for (auto it = g_faults.begin(); it != g_faults.end(); ++it)
        if (it->id == id)
        {
            g_faults.erase(it);
            break;
        }
    UpdateCounts();
}

void ClearFaults()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_faults.clear();
    UpdateCounts();
}
} // namespace mapisvc
