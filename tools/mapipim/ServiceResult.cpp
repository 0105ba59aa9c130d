#include "ServiceResult.h"

#include "Failure.h"

#include <mapipim/mapisvc.h>

#include <cstdio>

namespace cli
{
namespace
{
const char* const kBusyStore = "the store is busy, locked by another process; try again when it has finished";

bool StoreWasBusy()
{
    return mapisvc::GetBusyCallCount() > 0;
}

std::string Reason(HRESULT hr)
{
    switch (hr)
    {
    case MAPI_E_NOT_FOUND:
        return "not found";
    case MAPI_E_COLLISION:
        return "it exists already";
    case MAPI_E_INVALID_PARAMETER:
        return "invalid name or value";
    case MAPI_E_NO_ACCESS:
        return "access denied";
    case MAPI_E_DISK_ERROR:
    case MAPI_E_NOT_ENOUGH_DISK:
        return "cannot write the profile root";
    case MAPI_E_LOGON_FAILED:
        return "the logon failed";
    case MAPI_E_BUSY:
        return kBusyStore;
    default:
        break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "MAPI error 0x%08X", static_cast<unsigned>(hr));
    return text;
}
} // namespace

void CheckResult(HRESULT hr, const std::string& what)
{
    if (hr != S_OK)
        throw Failure(what + ": " + Reason(hr));
}

std::string WithServiceCause(const std::string& message)
{
    if (message.empty() || message.find("locked by another process") != std::string::npos || !StoreWasBusy())
        return message;
    return message + ": " + kBusyStore;
}
} // namespace cli
