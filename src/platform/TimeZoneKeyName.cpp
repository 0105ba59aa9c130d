#include "platform/TimeZoneKeyName.h"

#include <atomic>

namespace mapipim
{
namespace
{
std::atomic<const CString*> g_pKeyName{nullptr};
}

void BindTimeZoneKeyName(const CString* pName)
{
    g_pKeyName = pName;
}

CString TimeZoneKeyName()
{
    const CString* pName = g_pKeyName;
    return pName ? *pName : CString();
}
} // namespace mapipim
