// Lets GoogleTest print CString values (as UTF-8) in failure messages.
#pragma once

#include "platform/platform.h"

#include <ostream>

inline void PrintTo(const CString& text, std::ostream* pStream)
{
    *pStream << '"' << text.ToUtf8() << '"';
}
