// The image encoders GDI+ lists: JPEG and PNG, under the class identifiers and MIME types Windows gives them.
#pragma once

#include "platform/platform.h"

namespace mapipim::gdiplus
{
enum class ImageEncoder
{
    None,
    Jpeg,
    Png
};

ImageEncoder FindEncoder(const CLSID& clsid);

UINT EncoderCount();
// The bytes GdipGetImageEncoders needs: the records followed by the texts and signatures they point to.
UINT EncoderListSize();
// Fills a buffer of at least EncoderListSize() bytes.
void WriteEncoderList(Gdiplus::ImageCodecInfo* pEncoders);
} // namespace mapipim::gdiplus
