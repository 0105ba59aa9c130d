// The GDI+ flat functions behind a contact's picture: load, measure, make a thumbnail, list encoders, save.
#include "platform/platform.h"
#include "platform/win32/gdiplus/AreaScaler.h"
#include "platform/win32/gdiplus/GpImage.h"
#include "platform/win32/gdiplus/ImageEncoders.h"
#include "platform/win32/gdiplus/ImageFile.h"
#include "platform/win32/gdiplus/JpegCodec.h"
#include "platform/win32/gdiplus/PngCodec.h"

#include <atomic>
#include <new>

using namespace mapipim::gdiplus;

namespace Gdiplus
{
namespace
{
std::atomic<long> g_nStartups{0};

// GDI+ makes a thumbnail of 120 pixels along a side that is asked for as 0.
constexpr UINT nDefaultThumbnailSide = 120;
// GDI+'s JPEG quality when no parameter names one.
constexpr int nDefaultJpegQuality = 75;

bool IsStarted()
{
    return g_nStartups > 0;
}

GpStatus WINAPI HookNotification(ULONG_PTR* token)
{
    if (!token)
        return InvalidParameter;
    *token = 1;
    return Ok;
}

VOID WINAPI UnhookNotification(ULONG_PTR /*token*/) {}

GpStatus Decode(const std::vector<BYTE>& bytes, Bitmap& bitmap)
{
    if (IsJpeg(bytes))
        return DecodeJpeg(bytes, bitmap);
    if (IsPng(bytes))
        return DecodePng(bytes, bitmap);
    return UnknownImageFormat;
}

// The JPEG quality the parameters ask for; only EncoderQuality is understood, other parameters are ignored.
GpStatus JpegQuality(const EncoderParameters* pParameters, int& nQuality)
{
    nQuality = nDefaultJpegQuality;
    for (UINT i = 0; pParameters && i < pParameters->Count; ++i)
    {
        const EncoderParameter& parameter = pParameters->Parameter[i];
        if (parameter.Guid != EncoderQuality)
            continue;
        if (parameter.Type != EncoderParameterValueTypeLong || parameter.NumberOfValues < 1 || !parameter.Value)
            return InvalidParameter;
        const ULONG nValue = *static_cast<const ULONG*>(parameter.Value);
        if (nValue > 100)
            return InvalidParameter;
        nQuality = static_cast<int>(nValue);
    }
    return Ok;
}

GpStatus Encode(const Bitmap& bitmap, ImageEncoder encoder, const EncoderParameters* pParameters,
                std::vector<BYTE>& bytes)
{
    if (encoder == ImageEncoder::Png)
        return EncodePng(bitmap, bytes);
    int nQuality = 0;
    const GpStatus status = JpegQuality(pParameters, nQuality);
    return status == Ok ? EncodeJpeg(bitmap, nQuality, bytes) : status;
}

// An image that cannot be allocated fails as GDI+ fails, with OutOfMemory.
GpStatus NewImage(Bitmap&& bitmap, GpImage** ppImage)
{
    *ppImage = new (std::nothrow) GpImage(std::move(bitmap));
    return *ppImage ? Ok : OutOfMemory;
}
} // namespace

GpStatus WINGDIPAPI GdiplusStartup(ULONG_PTR* token, GDIPCONST GdiplusStartupInput* input, GdiplusStartupOutput* output)
{
    if (!token || !input || (input->SuppressBackgroundThread && !output))
        return InvalidParameter;
    if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3)
        return UnsupportedGdiplusVersion;
    if (output)
    {
        output->NotificationHook = HookNotification;
        output->NotificationUnhook = UnhookNotification;
    }
    *token = static_cast<ULONG_PTR>(++g_nStartups);
    return Ok;
}

VOID WINGDIPAPI GdiplusShutdown(ULONG_PTR /*token*/)
{
    long nStartups = g_nStartups;
    while (nStartups > 0 && !g_nStartups.compare_exchange_weak(nStartups, nStartups - 1))
    {
    }
}

namespace DllExports
{
GpStatus WINGDIPAPI GdipLoadImageFromFile(GDIPCONST WCHAR* filename, GpImage** image)
{
    if (!filename || !image)
        return InvalidParameter;
    *image = nullptr;
    if (!IsStarted())
        return GdiplusNotInitialized;
    std::vector<BYTE> bytes;
    GpStatus status = ReadImageFile(filename, bytes);
    if (status != Ok)
        return status;
    Bitmap bitmap;
    status = Decode(bytes, bitmap);
    return status == Ok ? NewImage(std::move(bitmap), image) : status;
}

GpStatus WINGDIPAPI GdipGetImageWidth(GpImage* image, UINT* width)
{
    if (!image || !width)
        return InvalidParameter;
    *width = image->Pixels().nWidth;
    return Ok;
}

GpStatus WINGDIPAPI GdipGetImageHeight(GpImage* image, UINT* height)
{
    if (!image || !height)
        return InvalidParameter;
    *height = image->Pixels().nHeight;
    return Ok;
}

GpStatus WINGDIPAPI GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                                          GetThumbnailImageAbort /*callback*/, VOID* /*callbackData*/)
{
    if (!image || !thumbImage)
        return InvalidParameter;
    *thumbImage = nullptr;
    if (!IsStarted())
        return GdiplusNotInitialized;
    Bitmap thumbnail;
    if (!ScaleByArea(image->Pixels(), thumbWidth ? thumbWidth : nDefaultThumbnailSide,
                     thumbHeight ? thumbHeight : nDefaultThumbnailSide, thumbnail))
        return OutOfMemory;
    return NewImage(std::move(thumbnail), thumbImage);
}

GpStatus WINGDIPAPI GdipGetImageEncodersSize(UINT* numEncoders, UINT* size)
{
    if (!numEncoders || !size)
        return InvalidParameter;
    *numEncoders = EncoderCount();
    *size = EncoderListSize();
    return Ok;
}

GpStatus WINGDIPAPI GdipGetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders)
{
    if (!encoders || numEncoders != EncoderCount() || size < EncoderListSize())
        return GenericError;
    WriteEncoderList(encoders);
    return Ok;
}

GpStatus WINGDIPAPI GdipSaveImageToFile(GpImage* image, GDIPCONST WCHAR* filename, GDIPCONST CLSID* clsidEncoder,
                                        GDIPCONST EncoderParameters* encoderParams)
{
    if (!image || !filename || !clsidEncoder)
        return InvalidParameter;
    if (!IsStarted())
        return GdiplusNotInitialized;
    const ImageEncoder encoder = FindEncoder(*clsidEncoder);
    if (encoder == ImageEncoder::None)
        return UnknownImageFormat;
    std::vector<BYTE> bytes;
    const GpStatus status = Encode(image->Pixels(), encoder, encoderParams, bytes);
    return status == Ok ? WriteImageFile(filename, bytes) : status;
}

GpStatus WINGDIPAPI GdipDisposeImage(GpImage* image)
{
    if (!image)
        return InvalidParameter;
    delete image;
    return Ok;
}
} // namespace DllExports
} // namespace Gdiplus
