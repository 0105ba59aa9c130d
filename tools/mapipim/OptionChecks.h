// What the field options of the item commands share: the checks of dates and sensitivities, and the attachment
// list the library takes and gives back.
#pragma once

#include <mapipim/platform.h>

#include <CLI/CLI.hpp>

#include "Failure.h"

#include <functional>
#include <string>
#include <vector>

namespace cli
{
// A date as ParseDateText takes it (YYYY-MM-DD[THH:MM[:SS]]), or empty.
extern const CLI::Validator kDateValidator;
// A name (of a profile, a store, a folder): not empty, not only blanks, no control characters.
extern const CLI::Validator kNameValidator;
// A folder's container class: "IPF." and more.
extern const CLI::Validator kContainerClassValidator;
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
// A part of an item that the library left out when it saved the item: it saves the item and only traces the part
// (an attachment, the picture). The message names the part ("the attachment notes.txt").
class MissingPart : public Failure
{
public:
    explicit MissingPart(const std::string& part) : Failure(part) {}
};

// Throws MissingPart naming the first of the files that the attachment list of the item read back lacks.
void CheckAttached(const CString& strAttachFile, const std::vector<std::string>& files);

// After an add: runs the check of the new item as read back. When the library left a part out, the new item is
// removed again, so that a command that fails has changed nothing, and Failure says what could not be added.
void CheckNewItem(const std::string& noun, const std::function<void()>& check, const std::function<BOOL()>& remove);
// After an edit: when the library left a part out, Failure says the item was saved without it.
void CheckEditedItem(const std::string& noun, const std::string& id, const std::function<void()>& check);
} // namespace cli
