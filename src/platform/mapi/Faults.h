// Fault injection: calls that match an installed fault fail with the fault's HRESULT before they do anything.
#pragma once

#include <mapipim/mapisvc.h>

namespace mapisvc
{
// What a call names, as matched against the faults.
struct CallSite
{
    const char* interfaceName;
    const char* declaringInterface;
    const char* method;
    const std::vector<ULONG>& propTags;
    const std::vector<NamedProperty>& names;
};

bool FaultsInstalled();
bool NamedFaultsInstalled();
// The HRESULT of the first fault the call matches, counting the call against each fault it matches; S_OK when
// the call is not to fail.
HRESULT MatchFault(const CallSite& call);

bool SameName(const NamedProperty& a, const NamedProperty& b);
} // namespace mapisvc
