// The registry key name of the machine's time zone as the records read it. The session finds and keeps the name
// (CMAPIEx::m_strTMKeyName, which a host may read or set) and binds it here as the library loads, so that the
// records take it without depending on the session.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
void BindTimeZoneKeyName(const CString* pName);
// The name's value; empty while none is bound.
CString TimeZoneKeyName();
} // namespace mapipim
