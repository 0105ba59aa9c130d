#include "interop/ContentLine.h"

#include <algorithm>
#include <cctype>

namespace mapipim::interop
{
namespace
{
constexpr size_t kFoldOctets = 75;

char UpperChar(char ch)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

// Octets of the UTF-8 sequence a lead byte opens; 0 for a byte that opens none.
size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool IsNameChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '-';
}

// Reads a parameter value at pos: quoted, or up to ";", "," or ":".
bool ReadParamValue(std::string_view line, size_t& pos, std::string& value)
{
    if (pos < line.size() && line[pos] == '"')
    {
        const size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos)
            return false;
        value.assign(line.substr(pos + 1, close - pos - 1));
        pos = close + 1;
        return true;
    }
    const size_t end = line.find_first_of(";,:", pos);
    if (end == std::string_view::npos)
        return false;
    value.assign(line.substr(pos, end - pos));
    pos = end;
    return true;
}

bool ReadParameter(std::string_view line, size_t& pos, Parameter& parameter)
{
    const size_t equals = line.find('=', pos);
    if (equals == std::string_view::npos || equals == pos)
        return false;
    const std::string_view name = line.substr(pos, equals - pos);
    if (!std::all_of(name.begin(), name.end(), IsNameChar))
        return false;
    parameter.name = UpperAscii(name);
    pos = equals + 1;
    for (;;)
    {
        std::string value;
        if (!ReadParamValue(line, pos, value))
            return false;
        parameter.values.push_back(std::move(value));
        if (pos >= line.size() || line[pos] != ',')
            return true;
        ++pos;
    }
}

void Fail(ContentLine& line, const std::string& strError)
{
    line.name.clear();
    line.parameters.clear();
    line.raw.clear();
    line.value = strError;
}
} // namespace

std::string ContentLine::Param(std::string_view wanted) const
{
    for (const Parameter& parameter : parameters)
        if (parameter.name == wanted && !parameter.values.empty())
            return parameter.values.front();
    return std::string();
}

bool ContentLine::HasParamValue(std::string_view wanted, std::string_view text) const
{
    for (const Parameter& parameter : parameters)
        if (parameter.name == wanted)
            for (const std::string& value : parameter.values)
            {
                // TYPE may also list its values inside one quoted value: TYPE="work,voice".
                for (size_t start = 0; start <= value.size();)
                {
                    size_t comma = value.find(',', start);
                    if (comma == std::string::npos)
                        comma = value.size();
                    if (EqualNoCase(std::string_view(value).substr(start, comma - start), text))
                        return true;
                    start = comma + 1;
                }
            }
    return false;
}

bool IsValidUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();)
    {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        if (length == 3)
        {
            const unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if ((lead == 0xE0 && next < 0xA0) || (lead == 0xED && next >= 0xA0)) // overlong, or a surrogate
                return false;
        }
        if (length == 4)
        {
            const unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if ((lead == 0xF0 && next < 0x90) || (lead == 0xF4 && next >= 0x90)) // overlong, or past U+10FFFF
                return false;
        }
        i += length;
    }
    return true;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperChar(x) == UpperChar(y); });
}

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperChar);
    return upper;
}

bool ParseContentLine(std::string_view line, ContentLine& parsed, std::string& strError)
{
    size_t pos = 0;
    while (pos < line.size() && (IsNameChar(line[pos]) || line[pos] == '.'))
        ++pos;
    std::string_view name = line.substr(0, pos);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(dot + 1); // a vCard group ("item1.") names no property of its own
    if (name.empty())
    {
        strError = "no property name";
        return false;
    }
    parsed.name = UpperAscii(name);
    parsed.parameters.clear();
    while (pos < line.size() && line[pos] == ';')
    {
        ++pos;
        Parameter parameter;
        if (!ReadParameter(line, pos, parameter))
        {
            strError = "malformed parameter of " + parsed.name;
            return false;
        }
        parsed.parameters.push_back(std::move(parameter));
    }
    if (pos >= line.size() || line[pos] != ':')
    {
        strError = "no value separator after " + parsed.name;
        return false;
    }
    parsed.value.assign(line.substr(pos + 1));
    return true;
}

std::vector<ContentLine> ReadContentLines(std::string_view text)
{
    std::vector<ContentLine> lines;
    std::string logical;
    int nPhysical = 0;
    int nStart = 0;
    bool bTooLong = false;
    auto flush = [&]()
    {
        if (nStart == 0)
            return;
        ContentLine line;
        line.nLine = nStart;
        std::string strError;
        if (bTooLong)
            Fail(line, "line longer than " + std::to_string(kMaxLogicalLine) + " octets");
        else if (!IsValidUtf8(logical))
            Fail(line, "text that is not UTF-8");
        else if (logical.find_first_of(std::string_view("\r\0", 2)) != std::string::npos)
            Fail(line, "a NUL or a carriage return without a line feed"); // kept, they would not come back out alike
        else if (!ParseContentLine(logical, line, strError))
            Fail(line, strError);
        else
            line.raw = logical;
        lines.push_back(std::move(line));
        logical.clear();
        bTooLong = false;
        nStart = 0;
    };
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t end = text.find('\n', pos);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view physical = text.substr(pos, end - pos);
        if (!physical.empty() && physical.back() == '\r')
            physical.remove_suffix(1);
        ++nPhysical;
        pos = next;
        const bool bContinues = !physical.empty() && (physical[0] == ' ' || physical[0] == '\t');
        if (bContinues && nStart != 0)
            physical.remove_prefix(1);
        else
        {
            flush();
            if (physical.empty())
                continue;
            nStart = nPhysical;
        }
        if (bTooLong || logical.size() + physical.size() > kMaxLogicalLine)
        {
            bTooLong = true;
            logical.clear();
            logical.shrink_to_fit();
            continue;
        }
        logical.append(physical);
    }
    flush();
    return lines;
}

std::string EscapeText(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char ch = text[i];
        if (ch == '\\' || ch == ';' || ch == ',')
        {
            escaped += '\\';
            escaped += ch;
        }
        else if (ch == '\r')
        {
            escaped += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
        else if (ch == '\n')
            escaped += "\\n";
        else
            escaped += ch;
    }
    return escaped;
}

std::string UnescapeText(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\' || i + 1 == text.size())
        {
            plain += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'n' || next == 'N')
            plain += "\r\n"; // the line break the stores keep
        else if (next == '\\' || next == ';' || next == ',' || next == ':')
            plain += next;
        else
        {
            plain += '\\';
            plain += next;
        }
    }
    return plain;
}

std::vector<std::string> SplitEscaped(std::string_view value, char separator)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i)
    {
        if (value[i] == '\\' && i + 1 < value.size())
        {
            parts.back() += value[i];
            parts.back() += value[++i];
        }
        else if (value[i] == separator)
            parts.emplace_back();
        else
            parts.back() += value[i];
    }
    return parts;
}

void AppendFolded(std::string& out, std::string_view line)
{
    size_t budget = kFoldOctets;
    size_t pos = 0;
    while (line.size() - pos > budget)
    {
        size_t cut = pos + budget;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut; // never inside a UTF-8 sequence
        out.append(line.substr(pos, cut - pos));
        out += "\r\n ";
        pos = cut;
        budget = kFoldOctets - 1; // the continuation's leading space counts
    }
    out.append(line.substr(pos));
    out += "\r\n";
}

std::string QuoteParam(std::string_view value)
{
    std::string clean;
    for (char ch : value)
        if (ch != '"' && ch != '\r' && ch != '\n')
            clean += ch;
    if (clean.find_first_of(":;,") == std::string::npos)
        return clean;
    return "\"" + clean + "\"";
}

std::string Base64Encode(const std::vector<unsigned char>& bytes)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3)
    {
        const unsigned int n = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                               (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        text += kAlphabet[(n >> 18) & 63];
        text += kAlphabet[(n >> 12) & 63];
        text += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kAlphabet[n & 63] : '=';
    }
    return text;
}

bool Base64Decode(std::string_view text, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    unsigned int accumulator = 0;
    int nBits = 0;
    size_t nPadding = 0;
    for (char ch : text)
    {
        int value;
        if (ch >= 'A' && ch <= 'Z')
            value = ch - 'A';
        else if (ch >= 'a' && ch <= 'z')
            value = ch - 'a' + 26;
        else if (ch >= '0' && ch <= '9')
            value = ch - '0' + 52;
        else if (ch == '+')
            value = 62;
        else if (ch == '/')
            value = 63;
        else if (ch == '=')
        {
            ++nPadding;
            continue;
        }
        else if (ch == ' ' || ch == '\t')
            continue;
        else
            return false;
        if (nPadding != 0)
            return false; // data after the padding
        accumulator = (accumulator << 6) | static_cast<unsigned int>(value);
        nBits += 6;
        if (nBits >= 8)
        {
            nBits -= 8;
            bytes.push_back(static_cast<unsigned char>((accumulator >> nBits) & 0xFF));
        }
    }
    return nPadding <= 2;
}
} // namespace mapipim::interop
