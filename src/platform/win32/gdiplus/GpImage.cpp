#include "platform/win32/gdiplus/GpImage.h"

namespace Gdiplus
{
std::atomic<long> GpImage::s_nLive{0};

GpImage::GpImage(mapipim::gdiplus::Bitmap bitmap) : m_bitmap(std::move(bitmap))
{
    ++s_nLive;
}

GpImage::~GpImage()
{
    --s_nLive;
}

long GpImage::LiveCount()
{
    return s_nLive;
}
} // namespace Gdiplus
