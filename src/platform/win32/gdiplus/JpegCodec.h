// JPEG through libjpeg-turbo: decoding any 8-bit JPEG (gray, colour or CMYK) to RGBA, and encoding RGBA with its
// transparency laid on white, as JPEG has no alpha.
#pragma once

#include "platform/win32/gdiplus/Bitmap.h"

namespace mapipim::gdiplus
{
bool IsJpeg(const std::vector<BYTE>& bytes);

// A truncated stream fails too, rather than giving a picture whose missing part is grey.
Gdiplus::GpStatus DecodeJpeg(const std::vector<BYTE>& bytes, Bitmap& bitmap);

// nQuality 0 to 100.
Gdiplus::GpStatus EncodeJpeg(const Bitmap& bitmap, int nQuality, std::vector<BYTE>& bytes);
} // namespace mapipim::gdiplus
