#include "platform/win32/gdiplus/AreaScaler.h"

#include <algorithm>
#include <cmath>

namespace mapipim::gdiplus
{
namespace
{
// The source pixels one target pixel covers along one axis, and the share of the target pixel each one fills.
struct Coverage
{
    UINT nFirst = 0;
    std::vector<float> weights;
};

std::vector<Coverage> CoverageAlong(UINT nSource, UINT nTarget)
{
    std::vector<Coverage> coverage(nTarget);
    const double dStep = static_cast<double>(nSource) / nTarget;
    for (UINT i = 0; i < nTarget; ++i)
    {
        const double dStart = i * dStep;
        const double dEnd = std::min((i + 1) * dStep, static_cast<double>(nSource));
        const UINT nFirst = std::min(static_cast<UINT>(dStart), nSource - 1);
        const UINT nEnd = std::min(nSource, static_cast<UINT>(std::ceil(dEnd)));
        coverage[i].nFirst = nFirst;
        for (UINT s = nFirst; s < std::max(nEnd, nFirst + 1); ++s)
        {
            const double dOverlap = std::min(dEnd, s + 1.0) - std::max(dStart, static_cast<double>(s));
            coverage[i].weights.push_back(static_cast<float>(std::max(dOverlap, 0.0) / (dEnd - dStart)));
        }
    }
    return coverage;
}

// Channels weighted by opacity: red, green and blue times alpha, then alpha.
struct Weighted
{
    float r = 0, g = 0, b = 0, a = 0;

    void Add(const Weighted& other, float fWeight)
    {
        r += other.r * fWeight;
        g += other.g * fWeight;
        b += other.b * fWeight;
        a += other.a * fWeight;
    }
};

Weighted FromPixel(const BYTE* pPixel)
{
    const float fAlpha = pPixel[3];
    return {pPixel[0] * fAlpha, pPixel[1] * fAlpha, pPixel[2] * fAlpha, fAlpha};
}

BYTE ToChannel(float fValue)
{
    return static_cast<BYTE>(std::clamp(std::lround(fValue), 0L, 255L));
}

void ToPixel(const Weighted& value, BYTE* pPixel)
{
    const float fAlpha = value.a;
    pPixel[0] = fAlpha > 0 ? ToChannel(value.r / fAlpha) : 0;
    pPixel[1] = fAlpha > 0 ? ToChannel(value.g / fAlpha) : 0;
    pPixel[2] = fAlpha > 0 ? ToChannel(value.b / fAlpha) : 0;
    pPixel[3] = ToChannel(fAlpha);
}
} // namespace

bool ScaleByArea(const Bitmap& source, UINT nWidth, UINT nHeight, Bitmap& target)
{
    if (source.nWidth == 0 || source.nHeight == 0 || nWidth == 0 || nHeight == 0)
        return false;
    std::vector<Weighted> rows;
    if (!TryAllocate(target, nWidth, nHeight) || !TryResize(rows, static_cast<size_t>(nWidth) * source.nHeight))
        return false;
    const std::vector<Coverage> across = CoverageAlong(source.nWidth, nWidth);
    const std::vector<Coverage> down = CoverageAlong(source.nHeight, nHeight);

    // Across first, one source row at a time, then down the narrowed rows.
    for (UINT y = 0; y < source.nHeight; ++y)
    {
        const BYTE* pRow = source.rgba.data() + static_cast<size_t>(y) * source.nWidth * 4;
        for (UINT x = 0; x < nWidth; ++x)
        {
            Weighted& value = rows[static_cast<size_t>(y) * nWidth + x];
            for (size_t k = 0; k < across[x].weights.size(); ++k)
                value.Add(FromPixel(pRow + (across[x].nFirst + k) * 4), across[x].weights[k]);
        }
    }
    for (UINT y = 0; y < nHeight; ++y)
        for (UINT x = 0; x < nWidth; ++x)
        {
            Weighted value;
            for (size_t k = 0; k < down[y].weights.size(); ++k)
                value.Add(rows[(down[y].nFirst + k) * nWidth + x], down[y].weights[k]);
            ToPixel(value, target.rgba.data() + (static_cast<size_t>(y) * nWidth + x) * 4);
        }
    return true;
}
} // namespace mapipim::gdiplus
