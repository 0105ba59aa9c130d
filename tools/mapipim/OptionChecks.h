// What the field options of the item commands share: the checks of dates and sensitivities, and the attachment
// list the library takes and gives back.
#pragma once

#include <mapipim/platform.h>

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli
{
// A date as ParseDateText takes it (YYYY-MM-DD[THH:MM[:SS]]), or empty.
extern const CLI::Validator kDateValidator;
// A sensitivity by name (none, personal, private, confidential) or number (0 to 3).
extern const CLI::Validator kSensitivityValidator;
int SensitivityOf(const std::string& text);

// --attach FILE...: one or more files after each --attach, and --attach repeated.
CLI::Option* AddAttachOption(CLI::App& command, std::vector<std::string>& files);

// The attachment list of a record from files named on the command line: each checked (AttachmentFilePath),
// joined with ";". Throws Failure for a file that cannot be attached.
std::string JoinedAttachmentPaths(const std::vector<std::string>& files);
// The last part of a path.
std::string FileNameOf(const std::string& path);
// Whether an attachment list as reading gives it names the file.
bool HasAttachmentNamed(const CString& strAttachFile, const std::string& name);
// The library saves an item whose attachment could not be added, tracing only: throws Failure naming the first of
// the files that the item read back lacks.
void CheckAttached(const CString& strAttachFile, const std::vector<std::string>& files, const std::string& saved);
} // namespace cli
