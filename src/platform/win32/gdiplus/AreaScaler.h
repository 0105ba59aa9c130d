// Scaling by area: every target pixel is the average of the source area it covers, weighted by how much of each
// source pixel falls inside it. Colours are averaged by their opacity, so transparent pixels lend no colour.
#pragma once

#include "platform/win32/gdiplus/Bitmap.h"

namespace mapipim::gdiplus
{
// False when the target cannot be allocated. Both sizes must be at least 1.
bool ScaleByArea(const Bitmap& source, UINT nWidth, UINT nHeight, Bitmap& target);
} // namespace mapipim::gdiplus
