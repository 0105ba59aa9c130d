// The text layer that iCalendar and vCard share: content lines folded at 75 octets, parameters, escaped text
// values, and a reader that unfolds a whole file into logical lines with the number of the physical line each
// starts on. The reader is strict where the formats leave room for damage: text must be UTF-8, a logical line
// has a size limit, and a file's last line may lack its line break but nothing else may be cut short.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mapipim::interop
{
// Longest logical line a file may hold (a contact's picture fits many times over); longer lines fail their item.
constexpr size_t kMaxLogicalLine = 4u << 20;

struct Parameter
{
    std::string name;                // upper case
    std::vector<std::string> values; // quotes removed
};

struct ContentLine
{
    std::string name; // upper case, group removed
    std::vector<Parameter> parameters;
    std::string value; // as written: still escaped
    std::string raw;   // the whole logical line, unfolded
    int nLine = 0;     // physical line the logical line starts on (1-based)

    // The first value of a parameter, empty when the line has none.
    std::string Param(std::string_view name) const;
    // True when one of the parameter's values equals the text, case aside.
    bool HasParamValue(std::string_view name, std::string_view value) const;
};

bool IsValidUtf8(std::string_view text);
bool EqualNoCase(std::string_view a, std::string_view b);
std::string UpperAscii(std::string_view text);

// Splits a whole file into logical lines. A line that is too long, not UTF-8 or cannot be parsed is returned with
// an empty name and the reason in value, so that the caller fails the item that holds it and goes on.
std::vector<ContentLine> ReadContentLines(std::string_view text);
bool ParseContentLine(std::string_view line, ContentLine& parsed, std::string& strError);

// Text values: "\\", "\;", "\," and "\n" escaped; Unescape also takes "\N" and leaves unknown escapes as they are.
std::string EscapeText(std::string_view text);
std::string UnescapeText(std::string_view text);
// A structured value's components split at unescaped separators, each still escaped.
std::vector<std::string> SplitEscaped(std::string_view value, char separator);

// Appends one logical line folded at 75 octets (never inside a UTF-8 sequence), ending with CRLF.
void AppendFolded(std::string& out, std::string_view line);

// A parameter value quoted when it holds ":", ";" or ",".
std::string QuoteParam(std::string_view value);

std::string Base64Encode(const std::vector<unsigned char>& bytes);
bool Base64Decode(std::string_view text, std::vector<unsigned char>& bytes);
} // namespace mapipim::interop
