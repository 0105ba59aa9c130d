// The check of options that take a date (DateText.h): YYYY-MM-DD with an optional THH:MM[:SS].
#pragma once

#include <CLI/CLI.hpp>

namespace cli
{
const CLI::Validator& DateValidator();
} // namespace cli
