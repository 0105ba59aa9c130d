#include "items/AnsiChunkDecoder.h"

#include <algorithm>

namespace mapipim
{
namespace
{
bool IsUtf8Continuation(unsigned char ch)
{
    return (ch & 0xC0) == 0x80;
}

// The length of the sequence that a UTF-8 lead byte starts (1 for anything else).
int Utf8SequenceLength(unsigned char ch)
{
    if ((ch & 0xE0) == 0xC0)
        return 2;
    if ((ch & 0xF0) == 0xE0)
        return 3;
    if ((ch & 0xF8) == 0xF0)
        return 4;
    return 1;
}

int GetCompleteUtf8Length(const unsigned char* pBytes, int cb)
{
    // A sequence is at most 4 bytes long, so only the last 3 bytes can belong to an unfinished one.
    for (int i = cb - 1; i >= 0 && i >= cb - 3; --i)
    {
        if (IsUtf8Continuation(pBytes[i]))
            continue;
        return i + Utf8SequenceLength(pBytes[i]) > cb ? i : cb;
    }
    return cb;
}

// Double-byte code pages can only be read from a known border forward: a trail byte may look like a lead byte.
int GetCompleteDbcsLength(UINT nCodePage, const unsigned char* pBytes, int cb)
{
    int i = 0;
    while (i < cb)
    {
        if (!IsDBCSLeadByteEx(nCodePage, pBytes[i]))
            ++i;
        else if (i + 1 < cb)
            i += 2;
        else
            return i;
    }
    return cb;
}
} // namespace

int GetCompleteAnsiLength(const char* pBytes, int cb)
{
    return GetCompleteLength(CP_ACP, pBytes, cb);
}

int GetCompleteLength(UINT nCodePage, const char* pBytes, int cb)
{
    if (!pBytes || cb <= 0)
        return 0;
    const auto* pUnsigned = reinterpret_cast<const unsigned char*>(pBytes);
    if (nCodePage == CP_ACP)
        nCodePage = GetACP();
    if (nCodePage == CP_UTF8)
        return GetCompleteUtf8Length(pUnsigned, cb);
    return GetCompleteDbcsLength(nCodePage, pUnsigned, cb);
}

void AnsiChunkDecoder::Append(const char* pBytes, int cb, CString& strText)
{
    if (pBytes && cb > 0)
        m_pending.insert(m_pending.end(), pBytes, pBytes + cb);
    const auto itZero = std::find(m_pending.begin(), m_pending.end(), '\0');
    if (itZero != m_pending.end())
    {
        // The piece's text ends here; what follows the zero in this piece is not text.
        Convert(static_cast<int>(itZero - m_pending.begin()), strText);
        m_pending.clear();
        return;
    }
    Convert(GetCompleteLength(m_nCodePage, m_pending.data(), static_cast<int>(m_pending.size())), strText);
}

void AnsiChunkDecoder::Finish(CString& strText)
{
    Convert(static_cast<int>(m_pending.size()), strText);
    m_pending.clear();
}

// Converts the first cbText pending bytes, appends them and keeps the rest pending.
void AnsiChunkDecoder::Convert(int cbText, CString& strText)
{
    if (cbText > 0)
    {
        const int cchText = MultiByteToWideChar(m_nCodePage, 0, m_pending.data(), cbText, nullptr, 0);
        std::vector<WCHAR> text(static_cast<size_t>(std::max(cchText, 0)));
        if (cchText > 0 && MultiByteToWideChar(m_nCodePage, 0, m_pending.data(), cbText, text.data(), cchText) == cchText)
            strText.Append(text.data(), cchText);
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + cbText);
}
} // namespace mapipim
