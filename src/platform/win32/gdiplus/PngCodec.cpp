#include "platform/win32/gdiplus/PngCodec.h"

#include <cstring>
#include <png.h>

using Gdiplus::GpStatus;

namespace mapipim::gdiplus
{
namespace
{
// libpng's simplified interface reports failures as results and frees its own state on them.
png_image MakePngImage()
{
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    return image;
}
} // namespace

bool IsPng(const std::vector<BYTE>& bytes)
{
    static const BYTE signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= sizeof(signature) && std::memcmp(bytes.data(), signature, sizeof(signature)) == 0;
}

GpStatus DecodePng(const std::vector<BYTE>& bytes, Bitmap& bitmap)
{
    png_image image = MakePngImage();
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return Gdiplus::GenericError;
    image.format = PNG_FORMAT_RGBA;
    if (!TryAllocate(bitmap, image.width, image.height))
    {
        png_image_free(&image);
        return Gdiplus::OutOfMemory;
    }
    if (!png_image_finish_read(&image, nullptr, bitmap.rgba.data(), 0, nullptr))
    {
        png_image_free(&image);
        return Gdiplus::GenericError;
    }
    return Gdiplus::Ok;
}

GpStatus EncodePng(const Bitmap& bitmap, std::vector<BYTE>& bytes)
{
    png_image image = MakePngImage();
    image.width = bitmap.nWidth;
    image.height = bitmap.nHeight;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t nSize = 0;
    if (!png_image_write_get_memory_size(image, nSize, 0, bitmap.rgba.data(), 0, nullptr))
        return Gdiplus::GenericError;
    bytes.resize(nSize);
    if (!png_image_write_to_memory(&image, bytes.data(), &nSize, 0, bitmap.rgba.data(), 0, nullptr))
        return Gdiplus::GenericError;
    bytes.resize(nSize);
    return Gdiplus::Ok;
}
} // namespace mapipim::gdiplus
