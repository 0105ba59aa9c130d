#include "EscapedOutput.h"

#include <cstdio>

namespace cli
{
namespace
{
bool IsC0Control(unsigned char ch)
{
    return (ch < 0x20 && ch != '\n' && ch != '\t') || ch == 0x7F;
}

std::string Escape(const char* format, unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
} // namespace

std::string EscapedControls(const std::string& text)
{
    std::string escaped;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (ch == '\r' && next == '\n')
            escaped += '\r';
        else if (IsC0Control(ch))
            escaped += Escape("\\x%02X", ch);
        else if (ch == 0xC2 && next >= 0x80 && next <= 0x9F)
            escaped += Escape("\\u%04X", next), ++i;
        else
            escaped += static_cast<char>(ch);
    }
    return escaped;
}

EscapedOutput::EscapedOutput(std::ostream& stream) : m_stream(stream), m_target(stream.rdbuf())
{
    m_stream.rdbuf(this);
}

EscapedOutput::~EscapedOutput()
{
    if (m_bHeldCR)
        Put("\\x0D");
    if (m_bLeadC2)
        m_target->sputc(static_cast<char>(0xC2));
    m_stream.rdbuf(m_target);
}

bool EscapedOutput::Put(const std::string& text)
{
    return m_target->sputn(text.data(), static_cast<std::streamsize>(text.size())) ==
           static_cast<std::streamsize>(text.size());
}

EscapedOutput::int_type EscapedOutput::overflow(int_type value)
{
    if (traits_type::eq_int_type(value, traits_type::eof()))
        return traits_type::not_eof(value);
    const unsigned char ch = static_cast<unsigned char>(traits_type::to_char_type(value));
    std::string text;
    if (m_bHeldCR)
    {
        m_bHeldCR = false;
        text += ch == '\n' ? "\r" : "\\x0D";
    }
    if (ch == '\r')
    {
        m_bHeldCR = true;
        return Put(text) ? value : traits_type::eof();
    }
    if (m_bLeadC2)
    {
        m_bLeadC2 = false;
        if (ch >= 0x80 && ch <= 0x9F)
            return Put(text + Escape("\\u%04X", ch)) ? value : traits_type::eof();
        text += static_cast<char>(0xC2);
    }
    if (ch == 0xC2)
    {
        m_bLeadC2 = true;
        return Put(text) ? value : traits_type::eof();
    }
    text += IsC0Control(ch) ? Escape("\\x%02X", ch) : std::string(1, static_cast<char>(ch));
    return Put(text) ? value : traits_type::eof();
}

int EscapedOutput::sync()
{
    return m_target->pubsync();
}
} // namespace cli
