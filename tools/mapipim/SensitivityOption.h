// --sensitivity of the commands that write items: none, personal, private, confidential, or their numbers 0 to 3.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace cli
{
const CLI::Validator& SensitivityValidator();

// The number of a name or digit that the validator accepted.
int SensitivityOf(const std::string& text);
} // namespace cli
