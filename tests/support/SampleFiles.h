// The real Outlook files the tests read: $MAPIPIM_SAMPLES/<kind> (else the shared samples), listed by extension.
// Tests skip themselves when the folder is missing.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace sampletest
{
namespace fs = std::filesystem;

std::optional<fs::path> SampleFolderOf(const char* szKind);
// The names of the files of the kind's folder with one of the extensions (".msg"), sorted.
std::vector<std::string> SampleNamesOf(const char* szKind, std::initializer_list<const char*> extensions);
// The path of one sample, when it is there.
std::optional<fs::path> SampleOf(const char* szKind, const std::string& name);
} // namespace sampletest
