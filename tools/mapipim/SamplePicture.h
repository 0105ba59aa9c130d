// A portrait made on the fly for the demo's contact picture: a PNG of a head and shoulders on a gradient.
#pragma once

#include <string>

namespace cli
{
// Throws Failure when the file cannot be written.
void WriteSamplePicture(const std::string& path);
} // namespace cli
