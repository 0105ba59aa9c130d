#include "session/AnsiText.h"

namespace mapipim
{
AnsiText::AnsiText(LPCWSTR lpszText) : m_text(1, '\0'), m_bNull(lpszText == nullptr)
{
    if (m_bNull)
        return;
    // The size query counts the terminator, so the buffer fits any code page, multi-byte ones included.
    const int cbText = WideCharToMultiByte(CP_ACP, 0, lpszText, -1, nullptr, 0, nullptr, nullptr);
    if (cbText <= 0)
        return;
    m_text.assign(static_cast<size_t>(cbText), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, lpszText, -1, m_text.data(), cbText, nullptr, nullptr) <= 0)
        m_text.assign(1, '\0');
}
} // namespace mapipim
