// The profile's outgoing directory on disk, where delivery leaves each sent message as an .eml file.
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapisvc
{
// <home>/outgoing/<profile>, the profile's name folded to lower case, with bytes outside letters, digits, "-",
// "_" and "." written as "%XX" so that any name makes one directory name.
std::string OutgoingDirectory(const std::string& home, const std::u16string& profile);

// Writes `bytes` as a new file of `directory` named after `stem` (".eml" added; "-2", "-3", ... when taken): first
// into a hidden temporary file, synced, then renamed, so that a file of the directory is always whole. The
// path written, or an empty string on failure.
std::string WriteNewFile(const std::string& directory, const std::string& stem, const std::string& bytes);
} // namespace mapisvc
