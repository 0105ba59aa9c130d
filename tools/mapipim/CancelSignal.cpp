#include "CancelSignal.h"

#include "ProgressBar.h"

#include <mapipim/MAPIInterface.h>

#include <csignal>

namespace cli
{
namespace
{
volatile std::sig_atomic_t g_nInterrupts = 0;

void EndByInterrupt()
{
    // The process ends as an interrupted one, so that the shell sees the ordinary status; the bar's line goes first.
    EraseProgressLineFromSignal();
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGINT, &fallback, nullptr);
    raise(SIGINT);
}

void OnInterrupt(int)
{
    if (g_nInterrupts++ == 0)
        CMAPIInterface::m_bCancel = 1;
    else
        EndByInterrupt();
}
} // namespace

void InstallCancelHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}
} // namespace cli
