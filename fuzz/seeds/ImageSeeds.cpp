// Seeds of gdiplus_image_fuzzer: tiny pictures written by the stand-in's own encoders.
#include "seeds/SeedWriter.h"

#include "platform/win32/gdiplus/JpegCodec.h"
#include "platform/win32/gdiplus/PngCodec.h"

#include <utility>

using namespace mapipim::gdiplus;

namespace
{
Bitmap MakeBitmap(UINT width, UINT height)
{
    Bitmap bitmap;
    bitmap.nWidth = width;
    bitmap.nHeight = height;
    bitmap.rgba.resize(size_t(width) * height * 4);
    for (size_t i = 0; i < bitmap.rgba.size(); ++i)
        bitmap.rgba[i] = static_cast<BYTE>(i * 37);
    return bitmap;
}
} // namespace

void WriteImageSeeds(SeedWriter& writer)
{
    for (const auto& [width, height] : {std::pair<UINT, UINT>{2, 2}, {3, 1}, {1, 5}})
    {
        const Bitmap bitmap = MakeBitmap(width, height);
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        std::vector<BYTE> bytes;
        if (EncodePng(bitmap, bytes) == Gdiplus::Ok)
            writer.Write("gdiplus_image_fuzzer", size + ".png", bytes);
        if (EncodeJpeg(bitmap, 50, bytes) == Gdiplus::Ok)
            writer.Write("gdiplus_image_fuzzer", size + ".jpg", bytes);
    }
}
