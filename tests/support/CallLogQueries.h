// Questions tests ask of the service's call log.
#pragma once

#include <mapipim/mapisvc.h>

#include <algorithm>
#include <string>
#include <vector>

// The logged calls of one method of one interface, in order; an empty name matches any.
inline std::vector<mapisvc::CallRecord> CallsOf(const std::string& interfaceName, const std::string& method)
{
    std::vector<mapisvc::CallRecord> calls;
    for (const mapisvc::CallRecord& record : mapisvc::GetCallLog())
        if ((method.empty() || record.method == method) &&
            (interfaceName.empty() || record.interfaceName == interfaceName))
            calls.push_back(record);
    return calls;
}

inline bool HasTag(const mapisvc::CallRecord& record, ULONG ulPropTag)
{
    return std::find(record.propTags.begin(), record.propTags.end(), ulPropTag) != record.propTags.end();
}

// A fault for the nth call of interfaceName::method (0: every call; an empty interface name matches any), to inject.
inline mapisvc::Fault FailCall(const std::string& interfaceName, const std::string& method, ULONG nthCall = 0,
                               HRESULT result = MAPI_E_CALL_FAILED)
{
    mapisvc::Fault fault;
    fault.interfaceName = interfaceName;
    fault.method = method;
    fault.nthCall = nthCall;
    fault.result = result;
    return fault;
}

// A fault on every call of interfaceName::method, removed when the guard ends.
class ScopedFault
{
public:
    ScopedFault(const std::string& interfaceName, const std::string& method, HRESULT result = MAPI_E_CALL_FAILED,
                ULONG nthCall = 0)
        : ScopedFault(FailCall(interfaceName, method, nthCall, result))
    {
    }
    explicit ScopedFault(const mapisvc::Fault& fault) : m_id(mapisvc::InjectFault(fault)) {}
    ~ScopedFault() { mapisvc::RemoveFault(m_id); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

private:
    ULONG m_id;
};
