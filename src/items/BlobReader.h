// A byte stream that also tells how many bytes are left to read, so that a parser can bound the lists a value
// claims to hold by what it really holds.
#pragma once

#include <mapipim/MAPIByteStream.h>

namespace mapipim
{
class BlobReader : public CMAPIByteStream
{
public:
    BlobReader() = default;
    BlobReader(const BYTE* pData, ULONG cb) { Init(cb, const_cast<LPBYTE>(pData)); }

    // 0 once the cursor has reached (or been skipped past) the end.
    ULONG Left() const { return m_pCursor && m_pCursor < m_pEnd ? static_cast<ULONG>(m_pEnd - m_pCursor) : 0; }
    // Skips cb bytes, or to the end when fewer are left.
    void SkipAtMost(ULONGLONG cb) { Skip(static_cast<ULONG>(cb < Left() ? cb : Left())); }
};
} // namespace mapipim
