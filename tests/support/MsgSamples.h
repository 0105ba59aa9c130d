// Outlook item files (.msg) for the tests: the sample files (found through MAPIPIM_SAMPLES, default
// /work/shared/samples when it exists; tests skip when they are absent) and scratch files of a test.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace msgtest
{
namespace fs = std::filesystem;

// The folder of .msg samples; none when the samples are not on this machine.
std::optional<fs::path> SampleFolder();
// The names of the .msg samples, sorted; empty when there are none.
std::vector<std::string> SampleNames();
// A sample by name; GTEST_SKIP in the caller when it returns none.
std::optional<fs::path> Sample(const std::string& name);
// A path as the WCHAR text the MAPI calls take.
std::u16string WidePath(const fs::path& path);
} // namespace msgtest
