#include "platform/mapi/AddressDialog.h"

#include <mutex>

namespace mapisvc
{
namespace
{
std::mutex g_mutex;
AddressDialogHandler g_handler;
} // namespace

AddressDialogHandler CurrentAddressDialogHandler()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_handler;
}

void SetAddressDialogHandler(AddressDialogHandler handler)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handler = std::move(handler);
}
} // namespace mapisvc
