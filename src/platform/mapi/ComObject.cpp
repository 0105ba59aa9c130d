#include "platform/mapi/ComObject.h"

namespace mapisvc
{
namespace
{
std::atomic<LONG> g_liveObjects{0};
}

LONG LiveObjectCount()
{
    return g_liveObjects.load();
}

void CountObjectCreated()
{
    ++g_liveObjects;
}

void CountObjectDestroyed()
{
    --g_liveObjects;
}

bool IsOneOf(REFIID riid, std::initializer_list<const IID*> iids)
{
    if (IsEqualGUID(riid, IID_IUnknown))
        return true;
    for (const IID* iid : iids)
        if (IsEqualGUID(riid, *iid))
            return true;
    return false;
}
} // namespace mapisvc
