// 8-bit text in the process's ANSI code page (or another code page) that arrives in fixed-size pieces (a body read from a stream). A
// double-byte character (code pages 932, 936, 949, 950) or a UTF-8 sequence can straddle the border between two
// pieces; converting each piece on its own would turn both halves into wrong characters. The decoder holds the
// bytes of such a character back and converts them with the piece that completes it.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace mapipim
{
// The number of leading bytes of pBytes that end on a character border in the ANSI code page: cb, unless the
// text ends inside a multi-byte character. pBytes must begin on a character border.
int GetCompleteAnsiLength(const char* pBytes, int cb);
// The same in a given code page (CP_ACP: the ANSI code page).
int GetCompleteLength(UINT nCodePage, const char* pBytes, int cb);

class AnsiChunkDecoder
{
public:
    explicit AnsiChunkDecoder(UINT nCodePage = CP_ACP) : m_nCodePage(nCodePage) {}

    // Converts the piece (after any bytes held back from the previous one) and appends it to strText. A zero
    // byte ends the piece's text, as it ends an 8-bit string; bytes of a character that the piece leaves
    // incomplete wait for the next piece.
    void Append(const char* pBytes, int cb, CString& strText);

    // Converts whatever is still held back: the last piece ended inside a character.
    void Finish(CString& strText);

private:
    void Convert(int cbText, CString& strText);

    UINT m_nCodePage;
    std::vector<char> m_pending;
};
} // namespace mapipim
