#include "platform/CancelRequest.h"

#include <atomic>

namespace mapipim
{
namespace
{
std::atomic<const int*> g_pCancelFlag{nullptr};
}

void BindCancelRequest(const int* pFlag)
{
    g_pCancelFlag = pFlag;
}

int CancelRequest()
{
    const int* pFlag = g_pCancelFlag;
    return pFlag ? *pFlag : 0;
}
} // namespace mapipim
