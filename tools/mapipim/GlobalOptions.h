// The options every command takes, before or after the command's name.
#pragma once

#include <string>

namespace cli
{
struct GlobalOptions
{
    std::string home;  // the profile root; empty: MAPIPIM_HOME, else the service's default
    std::string store; // the store whose folders are meant; empty: the profile's default store
    std::string trace; // file that receives the library's trace lines
    bool bJson = false;
    bool bNoYield = false; // accepted as before; running without pauses is the default
    int yield = 0;         // --yield MS: the library's pause after each item and stream chunk
};
} // namespace cli
