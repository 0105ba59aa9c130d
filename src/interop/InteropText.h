// UTF-16 record text and the UTF-8 the files hold.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>

namespace mapipim::interop
{
inline std::string Utf8Of(const CString& text)
{
    return text.ToUtf8();
}

inline CString TextOf(std::string_view utf8)
{
    return CString::FromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}
} // namespace mapipim::interop
