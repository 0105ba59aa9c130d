#include "platform/win32/gdiplus/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>

using Gdiplus::GpStatus;

namespace mapipim::gdiplus
{
namespace
{
// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to the codec function,
// which then cleans up. The codec functions create no C++ objects after their setjmp, so the jump skips nothing.
struct JpegErrors
{
    jpeg_error_mgr manager;
    jmp_buf jump;
    bool bTruncated;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void OnJpegMessage(j_common_ptr cinfo, int nLevel)
{
    // Warnings are otherwise ignored; the end of data before the image ends is a failure.
    if (nLevel < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<JpegErrors*>(cinfo->err)->bTruncated = true;
}

void InstallErrors(jpeg_common_struct* cinfo, JpegErrors& errors)
{
    cinfo->err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.emit_message = OnJpegMessage;
    errors.bTruncated = false;
}

bool IsCmyk(J_COLOR_SPACE colorSpace)
{
    return colorSpace == JCS_CMYK || colorSpace == JCS_YCCK;
}

// Adobe writes CMYK inverted (0 = full ink); other writers store the ink itself.
void CmykToRgba(const JSAMPLE* pCmyk, UINT nWidth, bool bInverted, BYTE* pRgba)
{
    for (UINT x = 0; x < nWidth; ++x, pCmyk += 4, pRgba += 4)
    {
        const unsigned nK = bInverted ? pCmyk[3] : 255u - pCmyk[3];
        for (int c = 0; c < 3; ++c)
        {
            const unsigned nInk = bInverted ? pCmyk[c] : 255u - pCmyk[c];
            pRgba[c] = static_cast<BYTE>((nInk * nK + 127) / 255);
        }
        pRgba[3] = 255;
    }
}

void RgbToRgba(const JSAMPLE* pRgb, UINT nWidth, BYTE* pRgba)
{
    for (UINT x = 0; x < nWidth; ++x, pRgb += 3, pRgba += 4)
    {
        pRgba[0] = pRgb[0];
        pRgba[1] = pRgb[1];
        pRgba[2] = pRgb[2];
        pRgba[3] = 255;
    }
}

// JPEG has no transparency: what is transparent becomes white, as on a white page.
void RgbaOnWhite(const BYTE* pRgba, UINT nWidth, JSAMPLE* pRgb)
{
    for (UINT x = 0; x < nWidth; ++x, pRgba += 4, pRgb += 3)
    {
        const unsigned nAlpha = pRgba[3];
        for (int c = 0; c < 3; ++c)
            pRgb[c] = static_cast<JSAMPLE>((pRgba[c] * nAlpha + 255u * (255u - nAlpha) + 127) / 255);
    }
}
} // namespace

bool IsJpeg(const std::vector<BYTE>& bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

GpStatus DecodeJpeg(const std::vector<BYTE>& bytes, Bitmap& bitmap)
{
    jpeg_decompress_struct cinfo = {};
    JpegErrors errors;
    std::vector<JSAMPLE> row;
    InstallErrors(reinterpret_cast<jpeg_common_struct*>(&cinfo), errors);
    if (setjmp(errors.jump))
    {
        jpeg_destroy_decompress(&cinfo);
        return Gdiplus::GenericError;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (IsTooLarge(cinfo.image_width, cinfo.image_height))
    {
        jpeg_destroy_decompress(&cinfo);
        return Gdiplus::OutOfMemory;
    }
    const bool bCmyk = IsCmyk(cinfo.jpeg_color_space);
    cinfo.out_color_space = bCmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (!TryAllocate(bitmap, cinfo.output_width, cinfo.output_height) ||
        !TryResize(row, static_cast<size_t>(cinfo.output_width) * cinfo.output_components))
    {
        jpeg_destroy_decompress(&cinfo);
        return Gdiplus::OutOfMemory;
    }
    while (cinfo.output_scanline < cinfo.output_height && !errors.bTruncated)
    {
        BYTE* pTarget = bitmap.rgba.data() + static_cast<size_t>(cinfo.output_scanline) * bitmap.nWidth * 4;
        JSAMPROW pRow = row.data();
        jpeg_read_scanlines(&cinfo, &pRow, 1);
        if (bCmyk)
            CmykToRgba(row.data(), bitmap.nWidth, cinfo.saw_Adobe_marker, pTarget);
        else
            RgbToRgba(row.data(), bitmap.nWidth, pTarget);
    }
    const bool bTruncated = errors.bTruncated;
    if (!bTruncated)
        jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return bTruncated ? Gdiplus::GenericError : Gdiplus::Ok;
}

GpStatus EncodeJpeg(const Bitmap& bitmap, int nQuality, std::vector<BYTE>& bytes)
{
    jpeg_compress_struct cinfo = {};
    JpegErrors errors;
    unsigned char* pBuffer = nullptr;
    unsigned long nSize = 0;
    std::vector<JSAMPLE> row(static_cast<size_t>(bitmap.nWidth) * 3);
    InstallErrors(reinterpret_cast<jpeg_common_struct*>(&cinfo), errors);
    if (setjmp(errors.jump))
    {
        jpeg_destroy_compress(&cinfo);
        free(pBuffer);
        return Gdiplus::GenericError;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &pBuffer, &nSize);
    cinfo.image_width = bitmap.nWidth;
    cinfo.image_height = bitmap.nHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, nQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height)
    {
        RgbaOnWhite(bitmap.rgba.data() + static_cast<size_t>(cinfo.next_scanline) * bitmap.nWidth * 4, bitmap.nWidth,
                    row.data());
        JSAMPROW pRow = row.data();
        jpeg_write_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_compress(&cinfo);
    bytes.assign(pBuffer, pBuffer + nSize);
    jpeg_destroy_compress(&cinfo);
    free(pBuffer);
    return Gdiplus::Ok;
}
} // namespace mapipim::gdiplus
