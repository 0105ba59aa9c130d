// Decoded pixels as the image stand-ins keep them: 8-bit RGBA, rows top to bottom, no padding.
#pragma once

#include "platform/platform.h"

#include <new>
#include <vector>

namespace mapipim::gdiplus
{
struct Bitmap
{
    UINT nWidth = 0;
    UINT nHeight = 0;
    std::vector<BYTE> rgba;
};

// The largest image the stand-ins decode or make (about 256 MB of pixels); larger ones fail as out of memory
// instead of exhausting the process.
constexpr unsigned long long nMaxPixels = 64ull * 1024 * 1024;

inline bool IsTooLarge(unsigned long long nWidth, unsigned long long nHeight)
{
    return nWidth * nHeight > nMaxPixels;
}

// Allocation failures are answered as results: the codecs hold C library state that an exception would leak.
template <typename Item> bool TryResize(std::vector<Item>& buffer, size_t nSize)
{
    try
    {
        buffer.resize(nSize);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

inline bool TryAllocate(Bitmap& bitmap, UINT nWidth, UINT nHeight)
{
    bitmap.nWidth = nWidth;
    bitmap.nHeight = nHeight;
    return !IsTooLarge(nWidth, nHeight) && TryResize(bitmap.rgba, static_cast<size_t>(nWidth) * nHeight * 4);
}
} // namespace mapipim::gdiplus
