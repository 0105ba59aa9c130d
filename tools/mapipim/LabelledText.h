// Records shown to people as "Label:   value" lines, one field a line, for the "show" commands of every kind.
#pragma once

#include <ostream>
#include <string>

namespace cli
{
// Nothing for an empty value; the lines of a multi-line value continue under the value column.
void WriteLabelled(std::ostream& out, const std::string& label, const std::string& value);
} // namespace cli
