#include "OptionChecks.h"

#include "ContactFields.h"
#include "DateText.h"
#include "Failure.h"
#include "InputFiles.h"
#include "Text.h"

#include <algorithm>

namespace cli
{
const CLI::Validator kDateValidator(
    [](std::string& text)
    {
        SYSTEMTIME time;
        return ParseDateText(text, time) ? std::string()
                                         : "'" + text + "' is no date: expected YYYY-MM-DD[THH:MM[:SS]]";
    },
    "DATE");

const CLI::Validator kSensitivityValidator(
    [](std::string& text)
    {
        const std::vector<std::string>& names = SensitivityNames();
        if (std::find(names.begin(), names.end(), text) != names.end() ||
            (text.size() == 1 && text[0] >= '0' && text[0] <= '3'))
            return std::string();
        return "'" + text + "' is no sensitivity: expected none, personal, private, confidential or 0 to 3";
    },
    "LEVEL");

int SensitivityOf(const std::string& text)
{
    const std::vector<std::string>& names = SensitivityNames();
    const auto found = std::find(names.begin(), names.end(), text);
    return found != names.end() ? static_cast<int>(found - names.begin()) : std::stoi(text);
}

CLI::Option* AddAttachOption(CLI::App& command, std::vector<std::string>& files)
{
    return command.add_option("--attach", files, "Files to attach (one or more; repeatable)")
        ->type_name("FILE...")
        ->allow_extra_args(true);
}

std::string JoinedAttachmentPaths(const std::vector<std::string>& files)
{
    std::string joined;
    for (const std::string& file : files)
        joined += (joined.empty() ? "" : ";") + AttachmentFilePath(file);
    return joined;
}

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

bool HasAttachmentNamed(const CString& strAttachFile, const std::string& name)
{
    const std::string names = ";" + Utf8(strAttachFile) + ";";
    return names.find(";" + name + ";") != std::string::npos;
}

void CheckAttached(const CString& strAttachFile, const std::vector<std::string>& files)
{
    for (const std::string& file : files)
    {
        if (!HasAttachmentNamed(strAttachFile, FileNameOf(file)))
            throw MissingPart("the attachment " + FileNameOf(file));
    }
}

void CheckNewItem(const std::string& noun, const std::function<void()>& check, const std::function<BOOL()>& remove)
{
    try
    {
        check();
    }
    catch (const MissingPart& missing)
    {
        const std::string reason = "the library could not add " + std::string(missing.what()) + " (see --trace)";
        if (!remove())
            throw Failure("the " + noun + " was saved, but " + reason + ", and it could not be removed again");
        throw Failure("cannot create the " + noun + ": " + reason);
    }
}

void CheckEditedItem(const std::string& noun, const std::string& id, const std::function<void()>& check)
{
    try
    {
        check();
    }
    catch (const MissingPart& missing)
    {
        throw Failure("the " + noun + " " + id + " was saved, but without " + missing.what() + " (see --trace)");
    }
}
} // namespace cli
