#include "CancelSignal.h"

#include <mapipim/MAPIInterface.h>

#include <csignal>

namespace cli
{
namespace
{
void OnInterrupt(int)
{
    CMAPIInterface::m_bCancel = 1;
}
} // namespace

void InstallCancelHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // the default disposition comes back for a second Ctrl-C
    sigaction(SIGINT, &action, nullptr);
}
} // namespace cli
