// The GDI+ stand-in's image loading over random files, as a contact's picture is loaded from the file the host
// names: GdipLoadImageFromFile decodes any JPEG or PNG (libjpeg-turbo, libpng) or refuses it, a loaded image has
// a size and makes a thumbnail, and every image is disposed of again.
//
// Input: the file's bytes, written to a temporary file for each run.
#include "FuzzSupport.h"

#include "platform/Gdiplus.h"
#include "platform/win32/gdiplus/GpImage.h"

#include <cstdio>

namespace
{
void CheckThumbnail(GpImage* image, UINT width, UINT height)
{
    GpImage* thumbnail = nullptr;
    if (GdipGetImageThumbnail(image, width, height, &thumbnail, nullptr, nullptr) != Ok)
        return;
    UINT thumbnailWidth = 0, thumbnailHeight = 0;
    FUZZ_CHECK(GdipGetImageWidth(thumbnail, &thumbnailWidth) == Ok && thumbnailWidth == width);
    FUZZ_CHECK(GdipGetImageHeight(thumbnail, &thumbnailHeight) == Ok && thumbnailHeight == height);
    GdipDisposeImage(thumbnail);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InputFilePath("image");
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    FUZZ_CHECK(GdiplusStartup(&token, &input, nullptr) == Ok);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FUZZ_CHECK(fuzz::WriteInputFile(data, size));
    const std::string& file = fuzz::InputFilePath();
    const std::u16string path(file.begin(), file.end());
    GpImage* image = nullptr;
    if (GdipLoadImageFromFile(path.c_str(), &image) == Ok)
    {
        UINT width = 0, height = 0;
        FUZZ_CHECK(GdipGetImageWidth(image, &width) == Ok && GdipGetImageHeight(image, &height) == Ok);
        FUZZ_CHECK(width > 0 && height > 0);
        CheckThumbnail(image, 48, 48);
        CheckThumbnail(image, width > 1 ? width / 2 : 1, 1);
        GdipDisposeImage(image);
    }
    else
        FUZZ_CHECK(image == nullptr);
    FUZZ_CHECK(Gdiplus::GpImage::LiveCount() == 0);
    return 0;
}
