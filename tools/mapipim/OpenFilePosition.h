// How far this process has read or written a file it holds open: the position of its descriptor on the file, as
// Linux shows it under /proc/self. The host learns from it how far the library has come in a file it copies,
// without the library telling.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace cli
{
// The position of the first descriptor of this process open on the file (the same file, whatever the path it was
// opened by); nothing when none is, or the file does not exist.
std::optional<std::int64_t> OpenFilePosition(const std::string& path);
} // namespace cli
