// The host's cancel request as the layers below the interface object read it. The interface object owns the
// flag (a host sets it directly) and binds it here as the library loads, so that items and the session stop on
// it without depending on the interface.
#pragma once

namespace mapipim
{
void BindCancelRequest(const int* pFlag);
// The flag's value; 0 while none is bound.
int CancelRequest();
} // namespace mapipim
