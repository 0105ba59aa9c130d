// The image object behind GDI+'s opaque GpImage handle. Every image is counted, so tests can show that none leaks.
#pragma once

#include "platform/win32/gdiplus/Bitmap.h"

#include <atomic>

namespace Gdiplus
{
class GpImage
{
public:
    explicit GpImage(mapipim::gdiplus::Bitmap bitmap);
    ~GpImage();
    GpImage(const GpImage&) = delete;
    GpImage& operator=(const GpImage&) = delete;

    const mapipim::gdiplus::Bitmap& Pixels() const { return m_bitmap; }

    static long LiveCount();

private:
    mapipim::gdiplus::Bitmap m_bitmap;
    static std::atomic<long> s_nLive;
};
} // namespace Gdiplus
