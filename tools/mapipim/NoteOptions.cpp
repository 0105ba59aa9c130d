#include "NoteOptions.h"

#include "NoteText.h"
#include "Text.h"

#include <algorithm>
#include <climits>
#include <regex>

namespace cli
{
namespace
{
// "X,Y" as two 32-bit integers (signed when bSigned); false for anything else.
bool ParsePair(const std::string& text, bool bSigned, int& first, int& second)
{
    static const std::regex pattern(R"((-?\d{1,10}),(-?\d{1,10}))");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return false;
    const long long a = std::stoll(match[1].str()), b = std::stoll(match[2].str());
    const long long low = bSigned ? INT_MIN : 1;
    if (a < low || b < low || a > INT_MAX || b > INT_MAX)
        return false;
    first = static_cast<int>(a);
    second = static_cast<int>(b);
    return true;
}

CLI::Validator PairValidator(bool bSigned, const std::string& what, const std::string& expected)
{
    return CLI::Validator(
        [bSigned, what, expected](std::string& text)
        {
            int a = 0, b = 0;
            return ParsePair(text, bSigned, a, b) ? std::string() : "'" + text + "' is no " + what + ": " + expected;
        },
        "X,Y");
}

const CLI::Validator kColorValidator(
    [](std::string& text)
    {
        const std::vector<std::string>& names = NoteColorNames();
        if (std::find(names.begin(), names.end(), text) != names.end())
            return std::string();
        return "'" + text + "' is no note colour: expected blue, green, pink, yellow or white";
    },
    "COLOR");

int ColorOf(const std::string& name)
{
    const std::vector<std::string>& names = NoteColorNames();
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
}
} // namespace

std::string WindowsLineBreaks(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}

void NoteOptions::AddTo(CLI::App& command, bool bEditing)
{
    const std::string group = "Note fields";
    m_textOption = command.add_option("--text", m_text, "The note's text; its first line is the subject")->group(group);
    m_colorOption = command.add_option("--color", m_color, "blue, green, pink, yellow or white")
                        ->check(kColorValidator)
                        ->group(group);
    m_atOption = command.add_option("--at", m_at, "Position of the note's window in pixels")
                     ->check(PairValidator(true, "position", "expected X,Y in whole pixels"))
                     ->group(group);
    m_sizeOption = command.add_option("--size", m_size, "Size of the note's window in pixels")
                       ->check(PairValidator(false, "size", "expected W,H, each at least 1 pixel"))
                       ->type_name("W,H")
                       ->group(group);
    m_categoryOption =
        command.add_option("--category", m_category, "Categories, separated by ',' or ';'")->group(group);
}

bool NoteOptions::AnyGiven() const
{
    for (const CLI::Option* option : {m_textOption, m_colorOption, m_atOption, m_sizeOption, m_categoryOption})
        if (option && option->count() > 0)
            return true;
    return false;
}

void NoteOptions::ApplyTo(CMAPIMemoInfo& note, bool) const
{
    if (m_textOption->count() > 0)
        note.strContents = WideText(WindowsLineBreaks(m_text));
    if (m_colorOption->count() > 0)
        note.nNoteColor = ColorOf(m_color);
    if (m_atOption->count() > 0)
        ParsePair(m_at, true, note.nNoteX, note.nNoteY);
    if (m_sizeOption->count() > 0)
        ParsePair(m_size, false, note.nNoteWidth, note.nNoteHeight);
    if (m_categoryOption->count() > 0)
        note.strLabel = WideText(m_category);
}
} // namespace cli
