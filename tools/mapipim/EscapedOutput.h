// Text that came from the store (names, subjects, attachment names) can hold control characters; written raw they
// would drive the terminal (colours, cursor moves, a title, a line overwritten by a carriage return). What the
// program writes goes through this filter: line feeds, CR LF line ends and tabs pass, other control characters (C0, DEL and the C1 range in UTF-8) are written as visible escapes such as "\x1B".
// JSON output escapes such characters itself and passes unchanged. Standard output is filtered as a whole;
// standard error, where the progress bar redraws its line with a carriage return, only in the failure message.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace cli
{
// The escaped form of a text, as the filter writes it.
std::string EscapedControls(const std::string& text);

class EscapedOutput : public std::streambuf
{
public:
    // Filters the stream's output until destroyed.
    explicit EscapedOutput(std::ostream& stream);
    ~EscapedOutput() override;
    EscapedOutput(const EscapedOutput&) = delete;
    EscapedOutput& operator=(const EscapedOutput&) = delete;

protected:
    int_type overflow(int_type ch) override;
    int sync() override;

private:
    bool Put(const std::string& text);

    std::ostream& m_stream;
    std::streambuf* m_target;
    bool m_bLeadC2 = false; // a 0xC2 byte held back: with the next byte it may be a C1 control
    bool m_bHeldCR = false; // a carriage return held back: it passes before a line feed only
};
} // namespace cli
