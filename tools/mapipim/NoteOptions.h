// The options of "notes add" and "notes edit": the text (whose first line becomes the subject), the colour, the
// position and size of the note's window, and the categories. Only the options given change the record.
#pragma once

#include <mapipim/MAPIMemoInfo.h>

#include <CLI/CLI.hpp>

#include <string>

namespace cli
{
class NoteOptions
{
public:
    void AddTo(CLI::App& command, bool bEditing);
    bool AnyGiven() const;
    void ApplyTo(CMAPIMemoInfo& note, bool bCreating) const;
    void CheckApplied(const CMAPIMemoInfo&) const {}

private:
    CLI::Option* m_textOption = nullptr;
    CLI::Option* m_colorOption = nullptr;
    CLI::Option* m_atOption = nullptr;
    CLI::Option* m_sizeOption = nullptr;
    CLI::Option* m_categoryOption = nullptr;
    std::string m_text;
    std::string m_color;
    std::string m_at;
    std::string m_size;
    std::string m_category;
};

// Text with its line breaks as the library's records keep them: CR LF, whatever the shell gave.
std::string WindowsLineBreaks(const std::string& text);
} // namespace cli
