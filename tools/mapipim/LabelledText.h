// Records as text for people: one "Label:" column, then the value; multi-line values (notes, composed addresses)
// continue under the value column, and an empty value writes nothing.
#pragma once

#include <ostream>
#include <string>

namespace cli
{
void WriteLabelled(std::ostream& out, const std::string& label, const std::string& value);
} // namespace cli
