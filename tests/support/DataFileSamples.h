// Outlook data files for the import tests: the sample files (found through MAPIPIM_SAMPLES, default
// /work/shared/samples when it exists; tests skip when they are absent), the independent reader's view of a
// file (libpff's Python binding, run as a program), and the same view of an imported store read through MAPI.
#pragma once

#include "support/ServiceHelpers.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace datafiletest
{
namespace fs = std::filesystem;

// The folder of .pst/.ost samples; none when the samples are not on this machine.
std::optional<fs::path> SampleFolder();
// The names of the sample files, sorted; empty when there are none.
std::vector<std::string> SampleNames();
// A sample by name; GTEST_SKIP in the caller when it returns none.
std::optional<fs::path> Sample(const std::string& name);

// The code page the independent reader needs for an ANSI sample (its name says cp932), else windows-1252.
std::string SampleCodePage(const std::string& name);

// "<path>\t<items>" per folder, sorted, as the independent reader sees the file; none when the reader (python3
// with pypff) is not installed or fails. Paths: "IPM/..." below the IPM subtree, "ROOT/..." elsewhere.
std::optional<std::vector<std::string>> ReaderTree(const fs::path& file, const std::string& codePage);
// The same lines for an imported store, read through its hierarchy and contents tables.
std::vector<std::string> StoreTree(IMsgStore* store);

// The bytes of a file, and a file made of bytes.
std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, const std::string& bytes);
} // namespace datafiletest
