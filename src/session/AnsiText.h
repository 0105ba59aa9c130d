// 8-bit text in the process's ANSI code page, made from UTF-16 text, for the MAPI arguments and string values
// that are 8-bit: names passed without MAPI_UNICODE and the strings of stores without Unicode support.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace mapipim
{
class AnsiText
{
public:
    // Null text stays null; text that the code page cannot hold is converted with its default character.
    explicit AnsiText(LPCWSTR lpszText);

    // The zero-terminated 8-bit text, or null for null input.
    LPSTR Get() { return m_bNull ? nullptr : m_text.data(); }

private:
    std::vector<char> m_text;
    bool m_bNull;
};
} // namespace mapipim
