#include "platform/Pause.h"

#include "platform/platform.h"

#include <atomic>

namespace mapipim
{
namespace
{
std::atomic<int> g_nPauseMilliseconds{1};
}

void SetPauseMilliseconds(int nMilliseconds)
{
    g_nPauseMilliseconds = nMilliseconds < 0 ? 0 : nMilliseconds;
}

int GetPauseMilliseconds()
{
    return g_nPauseMilliseconds;
}

void Pause()
{
    const int nMilliseconds = g_nPauseMilliseconds;
    if (nMilliseconds > 0)
        Sleep(static_cast<DWORD>(nMilliseconds));
}
} // namespace mapipim
