#include "OptionChecks.h"

#include "ContactFields.h"
#include "DateText.h"
#include "Failure.h"
#include "InputFiles.h"
#include "Text.h"

#include <mapipim/TimeConversion.h>

#include <algorithm>
#include <iostream>

namespace cli
{
namespace
{
// A local time in the hour that the clocks skip in spring was shown by no clock; the library keeps it an hour
// earlier. The user hears of it rather than finding the item moved.
void WarnOfSkippedHour(const std::string& text, SYSTEMTIME& time)
{
    if (text.find('T') == std::string::npos)
        return;
    SYSTEMTIME utc = {}, back = time;
    GetLocalTimeToSystemTime(time, utc, nullptr);
    GetSystemTimeToLocalTime(utc, back, nullptr);
    if (back.wHour != time.wHour || back.wMinute != time.wMinute || back.wDay != time.wDay)
        std::cerr << "mapipim: warning: " << text << " falls in the hour the clocks skip in the local time zone; it is "
                  << "kept as " << DateTimeText(back) << '\n';
}
} // namespace

const CLI::Validator kDateValidator(
    [](std::string& text)
    {
        SYSTEMTIME time;
        if (!ParseDateText(text, time))
            return "'" + text + "' is no date: expected YYYY-MM-DD[THH:MM[:SS]]";
        WarnOfSkippedHour(text, time);
        return std::string();
    },
    "DATE");

const CLI::Validator kNameValidator(
    [](std::string& text)
    {
        if (text.find_first_not_of(" \t") == std::string::npos)
            return std::string("a name cannot be empty");
        for (unsigned char ch : text)
        {
            if (ch < 0x20 || ch == 0x7F)
                return "'" + text + "' holds a control character";
        }
        return std::string();
    },
    "NAME");

const CLI::Validator kContainerClassValidator(
    [](std::string& text)
    {
        if (text.size() > 4 && text.compare(0, 4, "IPF.") == 0)
            return std::string();
        return "'" + text + "' is no container class: they begin with 'IPF.' (IPF.Note, IPF.Contact, ...)";
    },
    "IPF.CLASS");

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
