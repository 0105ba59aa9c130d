#include "items/RtfBodyDecoder.h"

#include "platform/CancelRequest.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace mapipim
{
namespace
{
const UINT kDefaultCodePage = 1252;

bool IsDigit(WCHAR ch)
{
    return ch >= _T('0') && ch <= _T('9');
}

bool IsLetter(WCHAR ch)
{
    return (ch >= _T('a') && ch <= _T('z')) || (ch >= _T('A') && ch <= _T('Z'));
}

bool IsHexDigit(WCHAR ch)
{
    return IsDigit(ch) || (ch >= _T('a') && ch <= _T('f')) || (ch >= _T('A') && ch <= _T('F'));
}

// The value of one character of an escape: digits and letters as in base 36, anything else its own code.
int EscapeValue(WCHAR ch)
{
    if (IsDigit(ch))
        return ch - _T('0');
    if (ch >= _T('A') && ch <= _T('Z'))
        return ch - _T('A') + 10;
    if (ch >= _T('a') && ch <= _T('z'))
        return ch - _T('a') + 10;
    return ch;
}

UINT UsableCodePage(long nCodePage)
{
    WCHAR probe = 0;
    if (nCodePage > 0 && nCodePage <= 65535 && MultiByteToWideChar(static_cast<UINT>(nCodePage), 0, "a", 1, &probe, 1))
        return static_cast<UINT>(nCodePage);
    return kDefaultCodePage;
}

class Decoder
{
public:
    Decoder(const CString& strText, UINT nCodePage, bool bHtml)
        : m_text(static_cast<LPCWSTR>(strText), static_cast<size_t>(strText.GetLength())),
          m_length(strText.GetLength()), m_nCodePage(nCodePage),
          m_bHtml(bHtml)
    {
    }

    // Decodes from nStart; false when cancelled.
    bool Run(int nStart)
    {
        m_pos = nStart;
        while (m_pos < m_length)
        {
            if (CancelRequest() != 0)
            {
                Flush();
                return false;
            }
            Step();
        }
        Flush();
        return true;
    }

    CString& Output() { return m_out; }

private:
    bool At(LPCWSTR szWord) const
    {
        const int cch = lstrlenW(szWord);
        if (m_pos + cch > m_length)
            return false;
        for (int i = 0; i < cch; ++i)
            if (m_text[m_pos + i] != szWord[i])
                return false;
        return true;
    }

    // Decimal digits from the position (0 when there are none).
    long Number()
    {
        long nValue = 0;
        while (m_pos < m_length && IsDigit(m_text[m_pos]))
        {
            if (nValue < 100000000)
                nValue = nValue * 10 + (m_text[m_pos] - _T('0'));
            ++m_pos;
        }
        return nValue;
    }

    void DropBlank()
    {
        if (m_pos < m_length && m_text[m_pos] == _T(' '))
            ++m_pos;
    }

    void DropThrough(WCHAR ch)
    {
        while (m_pos < m_length && m_text[m_pos] != ch)
            ++m_pos;
    }

    bool DigitAt(int nOffset) const { return m_pos + nOffset < m_length && IsDigit(m_text[m_pos + nOffset]); }

    void Step()
    {
        const WCHAR ch = m_text[m_pos];
        if (ch == _T('{') || ch == _T('}'))
        {
            Group(ch == _T('{'));
            ++m_pos;
        }
        else if (ch == _T('\r') || ch == _T('\n'))
            ++m_pos;
        else if (ch != _T('\\'))
            AppendTextChar(m_text[m_pos++]);
        else
            ControlWord();
    }

    void Group(bool bOpen)
    {
        if (bOpen)
            m_ucStack.push_back(m_uc);
        else if (!m_ucStack.empty())
        {
            m_uc = m_ucStack.back();
            m_ucStack.pop_back();
        }
    }

    void ControlWord()
    {
        if (m_bHtml && At(_T("\\*\\htmltag")))
            HtmlTag(10, false);
        else if (m_bHtml && At(_T("\\*\\mhtmltag")))
            HtmlTag(11, true);
        else if (At(_T("\\par")))
            Replace(4, _T("\r\n"));
        else if (At(_T("\\tab")))
            Replace(4, _T("\t"));
        else if (At(_T("\\li")) && DigitAt(3))
            DropWord(3);
        else if (At(_T("\\fi-")) && DigitAt(4))
            DropWord(4);
        else if (At(_T("\\'")) && m_pos + 3 < m_length)
            HexByte();
        else if (At(_T("\\pntext")))
            DropThrough(_T('}'));
        else if (m_bHtml && At(_T("\\htmlrtf")))
            HtmlRtf();
        else if (At(_T("\\{")) || At(_T("\\}")) || At(_T("\\\\")))
        {
            AppendTextChar(m_text[m_pos + 1]);
            m_pos += 2;
        }
        else if (At(_T("\\uc")) && DigitAt(3))
        {
            m_pos += 3;
            m_uc = static_cast<int>(Number());
            DropBlank();
        }
        else if (At(_T("\\u")) && (DigitAt(2) || (At(_T("\\u-")) && DigitAt(3))))
            Unicode();
        else
            Append(m_text[m_pos++]);
    }

    void HtmlTag(int cchWord, bool bRewritten)
    {
        m_pos += cchWord;
        const long nNumber = Number();
        DropBlank();
        if (bRewritten)
        {
            m_nRewritten = nNumber;
            return;
        }
        if (nNumber == m_nRewritten)
        {
            DropThrough(_T('}'));
            m_nRewritten = -1;
        }
    }

    void Replace(int cchWord, LPCWSTR szWith)
    {
        m_pos += cchWord;
        AppendText(szWith);
        DropBlank();
    }

    void DropWord(int cchWord)
    {
        m_pos += cchWord;
        Number();
        DropBlank();
    }

    void HexByte()
    {
        const WCHAR chHigh = m_text[m_pos + 2];
        const WCHAR chLow = m_text[m_pos + 3];
        m_pos += 4;
        if (IsHexDigit(chHigh) && IsHexDigit(chLow))
            AppendByte(static_cast<char>(EscapeValue(chHigh) * 16 + EscapeValue(chLow)));
        else
            Append(static_cast<WCHAR>(16 * EscapeValue(chHigh) + EscapeValue(chLow)));
    }

    void HtmlRtf()
    {
        const size_t nEnd = m_text.find(_T("\\htmlrtf0"), static_cast<size_t>(m_pos + 8));
        m_pos = nEnd == m_text.npos ? m_length : static_cast<int>(nEnd) + 9;
        DropBlank();
    }

    void Unicode()
    {
        m_pos += 2;
        const bool bNegative = m_text[m_pos] == _T('-');
        if (bNegative)
            ++m_pos;
        long nValue = Number();
        DropBlank();
        if (bNegative)
            nValue = 65536 - nValue;
        if (nValue >= 0 && nValue <= 0xFFFF)
            Append(static_cast<WCHAR>(nValue));
        for (int i = 0; i < m_uc && m_pos < m_length; ++i)
            SkipFallback();
    }

    // One fallback character: an escaped byte, a control word or symbol, or a character; never a group's brace.
    void SkipFallback()
    {
        const WCHAR ch = m_text[m_pos];
        if (ch == _T('{') || ch == _T('}'))
            return;
        if (ch != _T('\\') || m_pos + 1 >= m_length)
        {
            ++m_pos;
            return;
        }
        if (m_text[m_pos + 1] == _T('\''))
        {
            m_pos = std::min(m_pos + 4, m_length);
            return;
        }
        if (!IsLetter(m_text[m_pos + 1]))
        {
            m_pos += 2;
            return;
        }
        ++m_pos;
        while (m_pos < m_length && IsLetter(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_length && m_text[m_pos] == _T('-'))
            ++m_pos;
        Number();
        DropBlank();
    }

    void AppendByte(char byte)
    {
        m_pending.push_back(byte);
        // A lone byte that is no lead byte needs no partner: decode it at once.
        if (m_pending.size() >= 2 || !IsDBCSLeadByteEx(m_nCodePage, static_cast<BYTE>(m_pending[0])))
            Flush();
    }

    void Flush()
    {
        if (m_pending.empty())
            return;
        const int cb = static_cast<int>(m_pending.size());
        const int cch = MultiByteToWideChar(m_nCodePage, 0, m_pending.data(), cb, nullptr, 0);
        if (cch > 0)
        {
            std::vector<WCHAR> text(static_cast<size_t>(cch));
            MultiByteToWideChar(m_nCodePage, 0, m_pending.data(), cb, text.data(), cch);
            m_out.Append(text.data(), cch);
        }
        m_pending.clear();
    }

    // A character of the text: the trail byte of a double-byte character whose lead byte came escaped, or itself.
    void AppendTextChar(WCHAR ch)
    {
        if (!m_pending.empty() && ch >= 0x20 && ch < 0x80)
            AppendByte(static_cast<char>(ch));
        else
            Append(ch);
    }

    void Append(WCHAR ch)
    {
        Flush();
        m_out.AppendChar(ch);
    }

    void AppendText(LPCWSTR szText)
    {
        Flush();
        m_out += szText;
    }

    std::basic_string_view<WCHAR> m_text;
    int m_length;
    UINT m_nCodePage;
    bool m_bHtml;
    int m_pos = 0;
    int m_uc = 1;
    std::vector<int> m_ucStack;
    long m_nRewritten = -1;
    std::string m_pending;
    CString m_out;
};

UINT DeclaredCodePage(const CString& strText)
{
    const int nWord = strText.Find(_T("\\ansicpg"));
    if (nWord < 0)
        return kDefaultCodePage;
    long nCodePage = 0;
    for (int i = nWord + 8; i < strText.GetLength() && IsDigit(strText[i]) && nCodePage < 100000; ++i)
        nCodePage = nCodePage * 10 + (strText[i] - _T('0'));
    return UsableCodePage(nCodePage);
}

int FirstOf(const CString& strText, LPCWSTR szFirst, LPCWSTR szSecond)
{
    const int nFirst = strText.Find(szFirst);
    const int nSecond = strText.Find(szSecond);
    if (nFirst < 0)
        return nSecond;
    return nSecond < 0 ? nFirst : std::min(nFirst, nSecond);
}
} // namespace

bool DecodeRtfBody(CString& strText)
{
    const bool bHtml = strText.Find(_T("\\fromhtml")) >= 0;
    if (!bHtml && strText.Find(_T("\\fromtext")) < 0)
        return CancelRequest() == 0;
    int nStart = -1;
    if (bHtml)
        nStart = FirstOf(strText, _T("<html"), _T("\\*\\htmltag"));
    else
    {
        nStart = strText.Find(_T("\\fs20"));
        if (nStart >= 0)
            nStart += (nStart + 5 < strText.GetLength() && strText[nStart + 5] == _T(' ')) ? 6 : 5;
    }
    if (nStart < 0)
    {
        strText.Empty();
        return CancelRequest() == 0;
    }
    Decoder decoder(strText, DeclaredCodePage(strText), bHtml);
    const bool bDone = decoder.Run(nStart);
    strText = decoder.Output();
    return bDone && CancelRequest() == 0;
}
} // namespace mapipim
