// The handler that answers IAddrBook::Address in place of a dialog (set through the control API).
#pragma once

#include <mapipim/mapisvc.h>

namespace mapisvc
{
AddressDialogHandler CurrentAddressDialogHandler();
} // namespace mapisvc
