// The GDI+ stand-in: decoding JPEG and PNG, thumbnails, the encoder list and JPEG/PNG saving, with every image
// accounted for.
#include "platform/Gdiplus.h"
#include "platform/win32/gdiplus/GpImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct Rgba
{
    BYTE r, g, b, a;
};

std::vector<BYTE> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const std::vector<BYTE>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A JPEG written by libjpeg itself; `pixel` gives each sample's components.
template <typename Pixel>
std::vector<BYTE> MakeJpeg(UINT nWidth, UINT nHeight, int nComponents, J_COLOR_SPACE colorSpace, Pixel pixel)
{
    jpeg_compress_struct cinfo = {};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* pBuffer = nullptr;
    unsigned long nSize = 0;
    jpeg_mem_dest(&cinfo, &pBuffer, &nSize);
    cinfo.image_width = nWidth;
    cinfo.image_height = nHeight;
    cinfo.input_components = nComponents;
    cinfo.in_color_space = colorSpace;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(nWidth * nComponents);
    while (cinfo.next_scanline < nHeight)
    {
        for (UINT x = 0; x < nWidth; ++x)
            pixel(x, cinfo.next_scanline, &row[x * nComponents]);
        JSAMPROW pRow = row.data();
        jpeg_write_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<BYTE> bytes(pBuffer, pBuffer + nSize);
    jpeg_destroy_compress(&cinfo);
    free(pBuffer);
    return bytes;
}

std::vector<BYTE> MakeRgbJpeg(UINT nWidth, UINT nHeight, Rgba colour)
{
    return MakeJpeg(nWidth, nHeight, 3, JCS_RGB,
                    [&](UINT, UINT, JSAMPLE* p)
                    {
                        p[0] = colour.r;
                        p[1] = colour.g;
                        p[2] = colour.b;
                    });
}

// Detail that compresses badly, so that most of the file is picture data.
std::vector<BYTE> MakeNoiseJpeg()
{
    return MakeJpeg(64, 64, 3, JCS_RGB,
                    [](UINT x, UINT y, JSAMPLE* p) { p[0] = p[1] = p[2] = JSAMPLE(x * 37 ^ y * 91); });
}

// Decodes with libjpeg directly, to check what the stand-in wrote.
std::vector<BYTE> DecodeJpegRgb(const std::vector<BYTE>& bytes, UINT& nWidth, UINT& nHeight)
{
    jpeg_decompress_struct cinfo = {};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    nWidth = cinfo.output_width;
    nHeight = cinfo.output_height;
    std::vector<BYTE> pixels(nWidth * nHeight * 3);
    while (cinfo.output_scanline < nHeight)
    {
        JSAMPROW pRow = &pixels[cinfo.output_scanline * nWidth * 3];
        jpeg_read_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

std::vector<BYTE> MakePng(UINT nWidth, UINT nHeight, png_uint_32 format, const std::vector<BYTE>& pixels,
                          const std::vector<BYTE>& colormap = {})
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = nWidth;
    image.height = nHeight;
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 4);
    png_alloc_size_t nSize = 0;
    const void* pColormap = colormap.empty() ? nullptr : colormap.data();
    EXPECT_TRUE(png_image_write_get_memory_size(image, nSize, 0, pixels.data(), 0, pColormap));
    std::vector<BYTE> bytes(nSize);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &nSize, 0, pixels.data(), 0, pColormap));
    bytes.resize(nSize);
    return bytes;
}

Rgba PixelOf(GpImage* pImage, UINT x, UINT y)
{
    const auto& bitmap = pImage->Pixels();
    const BYTE* p = &bitmap.rgba[(y * bitmap.nWidth + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void ExpectNear(Rgba actual, Rgba expected, int nTolerance)
{
    EXPECT_NEAR(actual.r, expected.r, nTolerance);
    EXPECT_NEAR(actual.g, expected.g, nTolerance);
    EXPECT_NEAR(actual.b, expected.b, nTolerance);
    EXPECT_NEAR(actual.a, expected.a, nTolerance);
}

const ImageCodecInfo* FindCodec(const std::vector<BYTE>& list, UINT nCount, const std::u16string& strMime)
{
    const auto* pCodecs = reinterpret_cast<const ImageCodecInfo*>(list.data());
    for (UINT i = 0; i < nCount; ++i)
        if (pCodecs[i].MimeType == strMime)
            return &pCodecs[i];
    return nullptr;
}

class GdiplusTest : public testing::Test
{
protected:
    void SetUp() override
    {
        GdiplusStartupInput input;
        ASSERT_EQ(GdiplusStartup(&m_token, &input, nullptr), Ok);
        m_nLiveBefore = GpImage::LiveCount();
        m_root = fs::temp_directory_path() / ("mapipim_gdiplus_" + std::to_string(getpid()) + "_" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        LoadEncoders();
    }

    void TearDown() override
    {
        EXPECT_EQ(GpImage::LiveCount(), m_nLiveBefore) << "an image was not disposed";
        fs::remove_all(m_root);
        GdiplusShutdown(m_token);
    }

    void LoadEncoders()
    {
        UINT nSize = 0;
        ASSERT_EQ(GdipGetImageEncodersSize(&m_nEncoders, &nSize), Ok);
        m_encoders.resize(nSize);
        ASSERT_EQ(GdipGetImageEncoders(m_nEncoders, nSize, reinterpret_cast<ImageCodecInfo*>(m_encoders.data())), Ok);
    }

    std::u16string PathOf(const std::string& strName) const
    {
        const std::string strPath = (m_root / strName).string();
        return std::u16string(strPath.begin(), strPath.end());
    }

    GpImage* Load(const std::string& strName, const std::vector<BYTE>& bytes)
    {
        WriteBytes(m_root / strName, bytes);
        GpImage* pImage = nullptr;
        EXPECT_EQ(GdipLoadImageFromFile(PathOf(strName).c_str(), &pImage), Ok);
        return pImage;
    }

    GpStatus LoadStatus(const std::string& strName)
    {
        GpImage* pImage = reinterpret_cast<GpImage*>(0x1);
        const GpStatus status = GdipLoadImageFromFile(PathOf(strName).c_str(), &pImage);
        EXPECT_EQ(pImage, nullptr);
        return status;
    }

    GpStatus SaveJpeg(GpImage* pImage, const std::string& strName, ULONG nQuality)
    {
        EncoderParameters parameters = {};
        parameters.Count = 1;
        parameters.Parameter[0].Guid = EncoderQuality;
        parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Value = &nQuality;
        const ImageCodecInfo* pJpeg = FindCodec(m_encoders, m_nEncoders, u"image/jpeg");
        return GdipSaveImageToFile(pImage, PathOf(strName).c_str(), &pJpeg->Clsid, &parameters);
    }

    ULONG_PTR m_token = 0;
    long m_nLiveBefore = 0;
    fs::path m_root;
    UINT m_nEncoders = 0;
    std::vector<BYTE> m_encoders;
};
} // namespace

TEST_F(GdiplusTest, JpegLoadsWithItsSize)
{
    GpImage* pImage = Load("a.jpg", MakeRgbJpeg(300, 200, {200, 30, 40, 255}));
    ASSERT_NE(pImage, nullptr);
    UINT nWidth = 0, nHeight = 0;
    EXPECT_EQ(GdipGetImageWidth(pImage, &nWidth), Ok);
    EXPECT_EQ(GdipGetImageHeight(pImage, &nHeight), Ok);
    EXPECT_EQ(nWidth, 300u);
    EXPECT_EQ(nHeight, 200u);
    ExpectNear(PixelOf(pImage, 150, 100), {200, 30, 40, 255}, 4);
    EXPECT_EQ(GdipDisposeImage(pImage), Ok);
}

TEST_F(GdiplusTest, GrayAndCmykJpegsBecomeColour)
{
    GpImage* pGray = Load("gray.jpg", MakeJpeg(8, 8, 1, JCS_GRAYSCALE, [](UINT, UINT, JSAMPLE* p) { p[0] = 90; }));
    ASSERT_NE(pGray, nullptr);
    ExpectNear(PixelOf(pGray, 3, 3), {90, 90, 90, 255}, 2);
    GdipDisposeImage(pGray);

    // libjpeg marks CMYK with Adobe's marker, which means inverted ink: 255 is no ink, 0 full ink.
    GpImage* pCmyk = Load("cmyk.jpg", MakeJpeg(8, 8, 4, JCS_CMYK,
                                               [](UINT x, UINT, JSAMPLE* p)
                                               {
                                                   p[0] = x < 4 ? 0 : 255;
                                                   p[1] = p[2] = p[3] = 255;
                                               }));
    ASSERT_NE(pCmyk, nullptr);
    ExpectNear(PixelOf(pCmyk, 0, 0), {0, 255, 255, 255}, 6);
    ExpectNear(PixelOf(pCmyk, 7, 0), {255, 255, 255, 255}, 6);
    GdipDisposeImage(pCmyk);
}

TEST_F(GdiplusTest, PngKindsLoadAsRgba)
{
    const std::vector<BYTE> gray = {0, 255, 128, 64};
    GpImage* pGray = Load("gray.png", MakePng(2, 2, PNG_FORMAT_GRAY, gray));
    ASSERT_NE(pGray, nullptr);
    ExpectNear(PixelOf(pGray, 1, 0), {255, 255, 255, 255}, 0);
    ExpectNear(PixelOf(pGray, 0, 1), {128, 128, 128, 255}, 0);
    GdipDisposeImage(pGray);

    const std::vector<BYTE> rgba = {255, 0, 0, 255, 0, 0, 255, 0};
    GpImage* pRgba = Load("rgba.png", MakePng(2, 1, PNG_FORMAT_RGBA, rgba));
    ASSERT_NE(pRgba, nullptr);
    ExpectNear(PixelOf(pRgba, 0, 0), {255, 0, 0, 255}, 0);
    EXPECT_EQ(PixelOf(pRgba, 1, 0).a, 0);
    GdipDisposeImage(pRgba);

    const std::vector<BYTE> colormap = {10, 20, 30, 255, 200, 100, 50, 255};
    const std::vector<BYTE> indices = {0, 1, 1, 0};
    GpImage* pPalette = Load("palette.png", MakePng(2, 2, PNG_FORMAT_RGBA_COLORMAP, indices, colormap));
    ASSERT_NE(pPalette, nullptr);
    ExpectNear(PixelOf(pPalette, 0, 0), {10, 20, 30, 255}, 0);
    ExpectNear(PixelOf(pPalette, 1, 0), {200, 100, 50, 255}, 0);
    GdipDisposeImage(pPalette);
}

TEST_F(GdiplusTest, ThumbnailsHaveTheRequestedSize)
{
    GpImage* pLandscape = Load("landscape.jpg", MakeRgbJpeg(300, 200, {0, 128, 255, 255}));
    GpImage* pPortrait = Load("portrait.png", MakePng(200, 300, PNG_FORMAT_RGB, std::vector<BYTE>(200 * 300 * 3, 77)));
    ASSERT_NE(pLandscape, nullptr);
    ASSERT_NE(pPortrait, nullptr);

    struct Case
    {
        GpImage* pImage;
        UINT nWidth, nHeight;
    };
    for (const Case& c : {Case{pLandscape, 72, 48}, Case{pPortrait, 64, 96}, Case{pPortrait, 96, 96},
                          Case{pLandscape, 600, 400}, Case{pLandscape, 0, 10}})
    {
        GpImage* pThumb = nullptr;
        ASSERT_EQ(GdipGetImageThumbnail(c.pImage, c.nWidth, c.nHeight, &pThumb, nullptr, nullptr), Ok);
        UINT nWidth = 0, nHeight = 0;
        GdipGetImageWidth(pThumb, &nWidth);
        GdipGetImageHeight(pThumb, &nHeight);
        EXPECT_EQ(nWidth, c.nWidth ? c.nWidth : 120u);
        EXPECT_EQ(nHeight, c.nHeight);
        GdipDisposeImage(pThumb);
    }
    GdipDisposeImage(pLandscape);
    GdipDisposeImage(pPortrait);
}

TEST_F(GdiplusTest, ThumbnailsAverageTheAreaTheyCover)
{
    // Black and white stripes one pixel wide average to mid grey; a transparent half lends no colour.
    std::vector<BYTE> stripes;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            stripes.insert(stripes.end(), {BYTE(x % 2 ? 255 : 0), BYTE(x % 2 ? 255 : 0), BYTE(x % 2 ? 255 : 0), 255});
    GpImage* pStripes = Load("stripes.png", MakePng(4, 4, PNG_FORMAT_RGBA, stripes));
    const std::vector<BYTE> half = {255, 0, 0, 255, 0, 0, 255, 0};
    GpImage* pHalf = Load("half.png", MakePng(2, 1, PNG_FORMAT_RGBA, half));
    ASSERT_NE(pStripes, nullptr);
    ASSERT_NE(pHalf, nullptr);

    GpImage* pThumb = nullptr;
    ASSERT_EQ(GdipGetImageThumbnail(pStripes, 2, 2, &pThumb, nullptr, nullptr), Ok);
    ExpectNear(PixelOf(pThumb, 1, 1), {128, 128, 128, 255}, 1);
    GdipDisposeImage(pThumb);
    ASSERT_EQ(GdipGetImageThumbnail(pHalf, 1, 1, &pThumb, nullptr, nullptr), Ok);
    ExpectNear(PixelOf(pThumb, 0, 0), {255, 0, 0, 128}, 1);
    GdipDisposeImage(pThumb);
    GdipDisposeImage(pStripes);
    GdipDisposeImage(pHalf);
}

TEST_F(GdiplusTest, EncoderListNamesJpegAndPng)
{
    ASSERT_EQ(m_nEncoders, 2u);
    const ImageCodecInfo* pJpeg = FindCodec(m_encoders, m_nEncoders, u"image/jpeg");
    const ImageCodecInfo* pPng = FindCodec(m_encoders, m_nEncoders, u"image/png");
    ASSERT_NE(pJpeg, nullptr);
    ASSERT_NE(pPng, nullptr);
    const CLSID jpegEncoder = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_EQ(pJpeg->Clsid, jpegEncoder);
    EXPECT_NE(pPng->Clsid, jpegEncoder);
    EXPECT_EQ(std::u16string(pJpeg->FormatDescription), u"JPEG");
    EXPECT_EQ(pJpeg->SigPattern[0], 0xFF);

    std::vector<BYTE> small(m_encoders.size() - 1);
    EXPECT_NE(GdipGetImageEncoders(m_nEncoders, UINT(small.size()), reinterpret_cast<ImageCodecInfo*>(small.data())),
              Ok);
    EXPECT_NE(GdipGetImageEncoders(1, UINT(m_encoders.size()), reinterpret_cast<ImageCodecInfo*>(m_encoders.data())),
              Ok);
}

TEST_F(GdiplusTest, JpegSavedAtQualityDecodesAgain)
{
    GpImage* pImage = Load("source.jpg", MakeRgbJpeg(300, 200, {20, 160, 60, 255}));
    ASSERT_NE(pImage, nullptr);
    GpImage* pThumb = nullptr;
    ASSERT_EQ(GdipGetImageThumbnail(pImage, 72, 48, &pThumb, nullptr, nullptr), Ok);
    ASSERT_EQ(SaveJpeg(pThumb, "thumb.jpg", 80), Ok);

    UINT nWidth = 0, nHeight = 0;
    const std::vector<BYTE> pixels = DecodeJpegRgb(ReadBytes(m_root / "thumb.jpg"), nWidth, nHeight);
    EXPECT_EQ(nWidth, 72u);
    EXPECT_EQ(nHeight, 48u);
    EXPECT_NEAR(pixels[(24 * 72 + 36) * 3 + 1], 160, 6);
    GdipDisposeImage(pThumb);
    GdipDisposeImage(pImage);
}

TEST_F(GdiplusTest, LowerQualityMakesSmallerFiles)
{
    GpImage* pImage = Load("noise.jpg", MakeNoiseJpeg());
    ASSERT_NE(pImage, nullptr);
    ASSERT_EQ(SaveJpeg(pImage, "q10.jpg", 10), Ok);
    ASSERT_EQ(SaveJpeg(pImage, "q95.jpg", 95), Ok);
    EXPECT_LT(fs::file_size(m_root / "q10.jpg") * 2, fs::file_size(m_root / "q95.jpg"));
    GdipDisposeImage(pImage);
}

TEST_F(GdiplusTest, TransparencyBecomesWhiteInJpeg)
{
    GpImage* pImage = Load("clear.png", MakePng(4, 4, PNG_FORMAT_RGBA, std::vector<BYTE>(4 * 4 * 4, 0)));
    ASSERT_NE(pImage, nullptr);
    ASSERT_EQ(SaveJpeg(pImage, "clear.jpg", 90), Ok);
    UINT nWidth = 0, nHeight = 0;
    const std::vector<BYTE> pixels = DecodeJpegRgb(ReadBytes(m_root / "clear.jpg"), nWidth, nHeight);
    ASSERT_EQ(pixels.size(), 4u * 4 * 3);
    EXPECT_GE(pixels[0], 250);
    EXPECT_GE(pixels[2], 250);
    GdipDisposeImage(pImage);
}

TEST_F(GdiplusTest, PngSavesLosslessly)
{
    const std::vector<BYTE> rgba = {1, 2, 3, 4, 250, 251, 252, 253};
    GpImage* pImage = Load("in.png", MakePng(2, 1, PNG_FORMAT_RGBA, rgba));
    ASSERT_NE(pImage, nullptr);
    const ImageCodecInfo* pPng = FindCodec(m_encoders, m_nEncoders, u"image/png");
    ASSERT_EQ(GdipSaveImageToFile(pImage, PathOf("out.png").c_str(), &pPng->Clsid, nullptr), Ok);
    GpImage* pAgain = nullptr;
    ASSERT_EQ(GdipLoadImageFromFile(PathOf("out.png").c_str(), &pAgain), Ok);
    ExpectNear(PixelOf(pAgain, 0, 0), {1, 2, 3, 4}, 0);
    ExpectNear(PixelOf(pAgain, 1, 0), {250, 251, 252, 253}, 0);
    GdipDisposeImage(pAgain);
    GdipDisposeImage(pImage);
}

TEST_F(GdiplusTest, BadSaveRequestsFailWithoutAFile)
{
    GpImage* pImage = Load("a.jpg", MakeRgbJpeg(8, 8, {1, 2, 3, 255}));
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(SaveJpeg(pImage, "q.jpg", 101), Gdiplus::InvalidParameter);
    EXPECT_EQ(SaveJpeg(pImage, "missing/dir.jpg", 80), Gdiplus::FileNotFound);
    const CLSID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(GdipSaveImageToFile(pImage, PathOf("u.jpg").c_str(), &unknown, nullptr), Gdiplus::UnknownImageFormat);
    EXPECT_FALSE(fs::exists(m_root / "q.jpg"));
    EXPECT_FALSE(fs::exists(m_root / "u.jpg"));
    GdipDisposeImage(pImage);
}

TEST_F(GdiplusTest, UnreadableFilesFailWithoutAnImage)
{
    // Noise, so that most of the JPEG is picture data and the cut falls inside it.
    const std::vector<BYTE> jpeg = MakeNoiseJpeg();
    const std::vector<BYTE> png = MakePng(64, 64, PNG_FORMAT_RGB, std::vector<BYTE>(64 * 64 * 3, 5));
    WriteBytes(m_root / "empty.jpg", {});
    WriteBytes(m_root / "garbage.jpg", std::vector<BYTE>(1000, 0x42));
    WriteBytes(m_root / "cut.jpg", std::vector<BYTE>(jpeg.begin(), jpeg.end() - jpeg.size() / 4));
    WriteBytes(m_root / "header.jpg", std::vector<BYTE>(jpeg.begin(), jpeg.begin() + 20));
    WriteBytes(m_root / "cut.png", std::vector<BYTE>(png.begin(), png.begin() + png.size() / 2));
    fs::create_directories(m_root / "folder.jpg");

    EXPECT_EQ(LoadStatus("empty.jpg"), Gdiplus::UnknownImageFormat);
    EXPECT_EQ(LoadStatus("garbage.jpg"), Gdiplus::UnknownImageFormat);
    EXPECT_EQ(LoadStatus("cut.jpg"), Gdiplus::GenericError);
    EXPECT_EQ(LoadStatus("header.jpg"), Gdiplus::GenericError);
    EXPECT_EQ(LoadStatus("cut.png"), Gdiplus::GenericError);
    EXPECT_EQ(LoadStatus("folder.jpg"), Gdiplus::AccessDenied);
    EXPECT_EQ(LoadStatus("none.jpg"), Gdiplus::FileNotFound);
}

TEST_F(GdiplusTest, NullArgumentsAreInvalid)
{
    UINT nValue = 0;
    GpImage* pImage = nullptr;
    EXPECT_EQ(GdipLoadImageFromFile(nullptr, &pImage), Gdiplus::InvalidParameter);
    EXPECT_EQ(GdipGetImageWidth(nullptr, &nValue), Gdiplus::InvalidParameter);
    EXPECT_EQ(GdipGetImageHeight(nullptr, &nValue), Gdiplus::InvalidParameter);
    EXPECT_EQ(GdipGetImageThumbnail(nullptr, 1, 1, &pImage, nullptr, nullptr), Gdiplus::InvalidParameter);
    EXPECT_EQ(GdipDisposeImage(nullptr), Gdiplus::InvalidParameter);
    EXPECT_EQ(GdipGetImageEncodersSize(nullptr, &nValue), Gdiplus::InvalidParameter);
}

TEST(GdiplusStartupTest, ImagesNeedGdiplusStarted)
{
    const std::string strPath = (fs::temp_directory_path() / "mapipim_gdiplus_unstarted.jpg").string();
    WriteBytes(strPath, MakeRgbJpeg(4, 4, {0, 0, 0, 255}));
    const std::u16string strWide(strPath.begin(), strPath.end());
    GpImage* pImage = nullptr;
    EXPECT_EQ(GdipLoadImageFromFile(strWide.c_str(), &pImage), Gdiplus::GdiplusNotInitialized);

    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
    ASSERT_EQ(GdipLoadImageFromFile(strWide.c_str(), &pImage), Ok);
    GdipDisposeImage(pImage);
    GdiplusShutdown(token);
    EXPECT_EQ(GdipLoadImageFromFile(strWide.c_str(), &pImage), Gdiplus::GdiplusNotInitialized);
    fs::remove(strPath);

    input.GdiplusVersion = 9;
    EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), Gdiplus::UnsupportedGdiplusVersion);
    EXPECT_EQ(GdiplusStartup(nullptr, &input, nullptr), Gdiplus::InvalidParameter);
}
