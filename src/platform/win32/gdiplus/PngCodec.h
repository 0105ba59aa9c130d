// PNG through libpng: any PNG (gray, colour, palette, with or without transparency, 8 or 16 bits) to RGBA, and RGBA
// back to PNG.
#pragma once

#include "platform/win32/gdiplus/Bitmap.h"

namespace mapipim::gdiplus
{
bool IsPng(const std::vector<BYTE>& bytes);
Gdiplus::GpStatus DecodePng(const std::vector<BYTE>& bytes, Bitmap& bitmap);
Gdiplus::GpStatus EncodePng(const Bitmap& bitmap, std::vector<BYTE>& bytes);
} // namespace mapipim::gdiplus
