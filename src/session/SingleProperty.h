// Reading one property of a MAPI object (a store, folder, message or mail user) with IMAPIProp::GetProps.
#pragma once

#include "platform/platform.h"
#include "session/Scoped.h"

namespace mapipim
{
// Reads ulPropTag of pObject with the GetProps flags ulFlags into value. True only when GetProps returned the
// property in full: S_OK, and a value under the tag asked for (a missing property comes back as PT_ERROR, with a
// warning).
bool ReadSingleProperty(IMAPIProp* pObject, ULONG ulPropTag, ULONG ulFlags, ScopedBuffer<SPropValue>& value);
} // namespace mapipim
