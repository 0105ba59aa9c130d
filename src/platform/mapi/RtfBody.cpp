#include "platform/mapi/RtfBody.h"

#include "platform/platform.h"

#include <cstring>
#include <map>
#include <vector>

namespace mapisvc
{
namespace
{
constexpr UINT kDefaultCodePage = 1252;
constexpr size_t kMaxDepth = 1000; // deeper nesting is no document: its groups are read as one

bool IsLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

int HexValue(char ch)
{
    if (IsDigit(ch))
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

UINT CodePageOfCharset(long charset, UINT defaultCodePage)
{
    static const std::map<long, UINT> kCharsets = {
        {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936}, {136, 950},
        {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},
        {238, 1250}, {255, 437}};
    const auto it = kCharsets.find(charset);
    return it != kCharsets.end() ? it->second : defaultCodePage;
}

// Destinations whose text is no part of the body.
bool IsSkippedDestination(const std::string& word)
{
    static const char* const kWords[] = {"fonttbl", "colortbl", "stylesheet", "info",   "pict",
                                         "object",  "fldinst",  "header",     "footer", "listtable",
                                         "listoverridetable", "rsidtbl", "generator", "themedata", "latentstyles"};
    for (const char* skipped : kWords)
        if (word == skipped)
            return true;
    return false;
}

struct GroupState
{
    bool skip = false;      // inside a destination whose text is dropped
    bool htmlrtf = false;   // inside RTF that a converter added
    bool htmltag = false;   // inside an htmltag destination
    bool fontTable = false; // inside the font table
    int uc = 1;             // fallback characters after \uN
    UINT fontCodePage = 0;  // the current font's code page, 0 for the document's
};

class Reader
{
public:
    explicit Reader(std::string_view rtf) : m_rtf(rtf), m_kind(EncapsulatedKind(rtf)) {}

    std::u16string Run()
    {
        m_states.push_back(GroupState());
        while (m_pos < m_rtf.size())
        {
            const char ch = m_rtf[m_pos++];
            if (ch == '{')
                OpenGroup();
            else if (ch == '}')
                CloseGroup();
            else if (ch == '\\')
                ControlWord();
            else if (ch == '\r' || ch == '\n')
                continue;
            else
                Byte(static_cast<unsigned char>(ch), false);
        }
        Flush();
        return std::move(m_out);
    }

private:
    GroupState& State() { return m_states.back(); }

    bool Copying() const
    {
        const GroupState& state = m_states.back();
        return !state.skip && !state.htmlrtf && !state.fontTable;
    }

    void OpenGroup()
    {
        m_skipFallback = 0;
        m_groupStart = true;
        if (m_states.size() < kMaxDepth)
            m_states.push_back(m_states.back());
        else
            ++m_flatGroups;
    }

    void CloseGroup()
    {
        m_skipFallback = 0;
        m_groupStart = false;
        m_starred = false;
        if (m_flatGroups)
            --m_flatGroups;
        else if (m_states.size() > 1)
        {
            const bool wasMhtmltag = m_states.back().htmltag && m_lastTagWasMhtml;
            m_states.pop_back();
            m_mhtmlJustClosed = wasMhtmltag;
        }
    }

    // One fallback character after \uN is skipped instead of being read.
    bool SkipFallback()
    {
        if (m_skipFallback <= 0)
            return false;
        --m_skipFallback;
        return true;
    }

    void ControlWord()
    {
        if (m_pos >= m_rtf.size())
            return;
        const char ch = m_rtf[m_pos];
        if (!IsLetter(ch))
        {
            ++m_pos;
            ControlSymbol(ch);
            return;
        }
        std::string word;
        while (m_pos < m_rtf.size() && IsLetter(m_rtf[m_pos]) && word.size() < 32)
            word.push_back(m_rtf[m_pos++]);
        bool hasParameter = false;
        bool negative = false;
        long parameter = 0;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == '-' && m_pos + 1 < m_rtf.size() && IsDigit(m_rtf[m_pos + 1]))
        {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_rtf.size() && IsDigit(m_rtf[m_pos]))
        {
            hasParameter = true;
            if (parameter < 100000000)
                parameter = parameter * 10 + (m_rtf[m_pos] - '0');
            ++m_pos;
        }
        if (negative)
            parameter = -parameter;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == ' ')
            ++m_pos;
        const bool firstInGroup = m_groupStart;
        const bool starred = m_starred;
        m_groupStart = false;
        m_starred = false;
        if (word != "u" && SkipFallback())
            return;
        Word(word, hasParameter, parameter, firstInGroup || starred, starred);
    }

    void ControlSymbol(char ch)
    {
        if (ch == '*')
        {
            m_starred = true;
            return;
        }
        m_groupStart = false;
        if (ch == '\'')
        {
            const int high = m_pos < m_rtf.size() ? HexValue(m_rtf[m_pos]) : -1;
            const int low = m_pos + 1 < m_rtf.size() ? HexValue(m_rtf[m_pos + 1]) : -1;
            if (high < 0 || low < 0)
            {
                // An escape cut short: its one hex digit goes with it.
                m_pos += high >= 0 ? 1 : 0;
                return;
            }
            m_pos += 2;
            if (!SkipFallback())
                Byte(static_cast<unsigned char>(high * 16 + low), true);
            return;
        }
        if (SkipFallback())
            return;
        switch (ch)
        {
        case '\\':
        case '{':
        case '}':
            Byte(static_cast<unsigned char>(ch), true);
            break;
        case '~':
            Char(0x00A0);
            break;
        case '_':
            Char(0x2011);
            break;
        case '\r':
        case '\n':
            Chars(u"\r\n");
            break;
        default:
            break;
        }
    }

    void Word(const std::string& word, bool hasParameter, long parameter, bool destination, bool starred)
    {
        GroupState& state = State();
        if (destination && (word == "htmltag" || word == "mhtmltag"))
        {
            // A converter writes a rewritten tag for plain HTML first, then the original with the same number.
            const bool dropOriginal = word == "htmltag" && m_mhtmlJustClosed && parameter == m_lastMhtmlNumber;
            m_mhtmlJustClosed = false;
            m_lastTagWasMhtml = word == "mhtmltag";
            if (m_lastTagWasMhtml)
                m_lastMhtmlNumber = parameter;
            state.htmltag = true;
            state.skip = state.skip || m_kind != RtfBodyKind::Html || dropOriginal;
            return;
        }
        m_mhtmlJustClosed = false;
        if (destination && (starred || IsSkippedDestination(word)))
        {
            if (word == "fonttbl")
                state.fontTable = true;
            else
                state.skip = true;
            return;
        }
        if (word == "htmlrtf")
            state.htmlrtf = !hasParameter || parameter != 0;
        else if (word == "par" || word == "line")
            Chars(u"\r\n");
        else if (word == "tab")
            Char(u'\t');
        else if (word == "uc")
            state.uc = parameter >= 0 && parameter < 10 ? static_cast<int>(parameter) : 1;
        else if (word == "u" && hasParameter)
            Unicode(parameter);
        else if (word == "ansicpg" && hasParameter && parameter > 0)
            m_codePage = static_cast<UINT>(parameter);
        else if (word == "f" && hasParameter)
            Font(parameter);
        else if (word == "fcharset" && state.fontTable && hasParameter)
            m_fonts[m_fontInTable] = CodePageOfCharset(parameter, 0);
        else if (word == "cpg" && state.fontTable && hasParameter)
            m_fonts[m_fontInTable] = static_cast<UINT>(parameter);
        else if (word == "bin" && hasParameter && parameter > 0)
            m_pos += std::min<size_t>(static_cast<size_t>(parameter), m_rtf.size() - m_pos);
        else
            Symbol(word);
    }

    void Symbol(const std::string& word)
    {
        static const std::map<std::string, char16_t> kSymbols = {
            {"emdash", 0x2014}, {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
            {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}};
        const auto it = kSymbols.find(word);
        if (it != kSymbols.end())
            Char(it->second);
    }

    void Font(long number)
    {
        GroupState& state = State();
        if (state.fontTable)
        {
            m_fontInTable = number;
            return;
        }
        const auto it = m_fonts.find(number);
        state.fontCodePage = it != m_fonts.end() ? it->second : 0;
    }

    void Unicode(long parameter)
    {
        const long unit = parameter < 0 ? parameter + 65536 : parameter;
        if (unit >= 0 && unit <= 0xFFFF)
            Char(static_cast<char16_t>(unit));
        m_skipFallback = State().uc;
    }

    UINT ActiveCodePage()
    {
        const GroupState& state = State();
        // Inside tag content the document's code page applies, not the font's.
        return state.fontCodePage && !state.htmltag ? state.fontCodePage : m_codePage;
    }

    void Byte(unsigned char byte, bool escaped)
    {
        if (!escaped && SkipFallback())
            return;
        if (!Copying())
            return;
        m_mhtmlJustClosed = false;
        if (byte < 0x80 && m_pending.empty())
        {
            m_out.push_back(static_cast<char16_t>(byte));
            return;
        }
        const UINT codePage = ActiveCodePage();
        if (!m_pending.empty() && codePage != m_pendingCodePage)
            Flush();
        m_pendingCodePage = codePage;
        m_pending.push_back(static_cast<char>(byte));
        // Single bytes of a code page without double-byte characters need not wait for the next one.
        if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(m_pending[0])) || m_pending.size() >= 2)
            Flush();
    }

    void Flush()
    {
        if (m_pending.empty())
            return;
        UINT codePage = m_pendingCodePage;
        int cch = MultiByteToWideChar(codePage, 0, m_pending.data(), static_cast<int>(m_pending.size()), nullptr, 0);
        if (cch <= 0)
        {
            codePage = kDefaultCodePage;
            cch = MultiByteToWideChar(codePage, 0, m_pending.data(), static_cast<int>(m_pending.size()), nullptr, 0);
        }
        if (cch > 0)
        {
            std::vector<WCHAR> text(static_cast<size_t>(cch));
            MultiByteToWideChar(codePage, 0, m_pending.data(), static_cast<int>(m_pending.size()), text.data(), cch);
            m_out.append(reinterpret_cast<const char16_t*>(text.data()), text.size());
        }
        m_pending.clear();
    }

    void Char(char16_t ch)
    {
        m_mhtmlJustClosed = false;
        if (!Copying())
            return;
        Flush();
        m_out.push_back(ch);
    }

    void Chars(const char16_t* text)
    {
        if (!Copying())
            return;
        Flush();
        m_out += text;
    }

    std::string_view m_rtf;
    RtfBodyKind m_kind;
    size_t m_pos = 0;
    std::vector<GroupState> m_states;
    size_t m_flatGroups = 0;
    bool m_groupStart = false;
    bool m_starred = false;
    bool m_lastTagWasMhtml = false;
    bool m_mhtmlJustClosed = false;
    long m_lastMhtmlNumber = -1;
    int m_skipFallback = 0;
    UINT m_codePage = kDefaultCodePage;
    std::map<long, UINT> m_fonts;
    long m_fontInTable = 0;
    std::string m_pending;
    UINT m_pendingCodePage = kDefaultCodePage;
    std::u16string m_out;
};

// Whether the control word appears among the header's words, before the first text or nested group's end.
bool HeaderHas(std::string_view rtf, std::string_view word)
{
    const size_t limit = std::min<size_t>(rtf.size(), 4096);
    for (size_t pos = rtf.find(word); pos != std::string_view::npos && pos < limit; pos = rtf.find(word, pos + 1))
    {
        const size_t end = pos + word.size();
        if (end >= rtf.size() || !IsLetter(rtf[end]))
            return true;
    }
    return false;
}
} // namespace

RtfBodyKind EncapsulatedKind(std::string_view rtf)
{
    if (HeaderHas(rtf, "\\fromhtml"))
        return RtfBodyKind::Html;
    if (HeaderHas(rtf, "\\fromtext"))
        return RtfBodyKind::Text;
    return RtfBodyKind::Rtf;
}

std::u16string RtfBodyText(std::string_view rtf)
{
    return Reader(rtf).Run();
}
} // namespace mapisvc
