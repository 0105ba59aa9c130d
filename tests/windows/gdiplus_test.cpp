// The GDI+ services that the contact picture relies on, as Windows serves them to a host that started GDI+: an
// image file loads with its size, a thumbnail of the library's size is made, the JPEG encoder is found by its MIME
// type and takes the quality parameter, and a file that is no image fails to load (the library's trace path).
#include <mapipim/platform.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace
{
class GdiplusServices : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GdiplusStartupInput input;
        ASSERT_EQ(GdiplusStartup(&m_token, &input, NULL), Ok);
        wchar_t szFolder[MAX_PATH] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH, szFolder), 0u);
        m_strFolder = szFolder;
    }

    void TearDown() override
    {
        for (const std::wstring& strFile : m_files)
            DeleteFileW(strFile.c_str());
        GdiplusShutdown(m_token);
    }

    std::wstring FileNamed(const wchar_t* szName)
    {
        // The process id keeps runs of the program side by side apart.
        m_files.push_back(m_strFolder + std::to_wstring(GetCurrentProcessId()) + L"-" + szName);
        return m_files.back();
    }

    static bool FindEncoder(const wchar_t* szMimeType, CLSID& clsid)
    {
        UINT nEncoders = 0;
        UINT cbEncoders = 0;
        if (GdipGetImageEncodersSize(&nEncoders, &cbEncoders) != Ok || nEncoders == 0)
            return false;
        std::vector<ImageCodecInfo> encoders((cbEncoders + sizeof(ImageCodecInfo) - 1) / sizeof(ImageCodecInfo));
        if (GdipGetImageEncoders(nEncoders, cbEncoders, encoders.data()) != Ok)
            return false;
        for (UINT i = 0; i < nEncoders; ++i)
        {
            if (encoders[i].MimeType && lstrcmpW(encoders[i].MimeType, szMimeType) == 0)
            {
                clsid = encoders[i].Clsid;
                return true;
            }
        }
        return false;
    }

    // A PNG picture of the given size, as a host's photo file.
    std::wstring MakePicture(const wchar_t* szName, INT nWidth, INT nHeight)
    {
        const std::wstring strPath = FileNamed(szName);
        GpBitmap* pBitmap = NULL;
        CLSID clsidPng;
        if (GdipCreateBitmapFromScan0(nWidth, nHeight, 0, PixelFormat24bppRGB, NULL, &pBitmap) != Ok ||
            !FindEncoder(L"image/png", clsidPng))
            return std::wstring();
        const GpStatus status = GdipSaveImageToFile(pBitmap, strPath.c_str(), &clsidPng, NULL);
        GdipDisposeImage(pBitmap);
        return status == Ok ? strPath : std::wstring();
    }

    ULONG_PTR m_token = 0;
    std::wstring m_strFolder;
    std::vector<std::wstring> m_files;
};

std::string FirstBytes(const std::wstring& strPath, size_t nCount)
{
    std::ifstream file(strPath.c_str(), std::ios::binary);
    std::string bytes(nCount, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(nCount));
    bytes.resize(static_cast<size_t>(file.gcount()));
    return bytes;
}
} // namespace

TEST_F(GdiplusServices, PictureBecomesAJpegThumbnailOfTheLibrarysSize)
{
    const std::wstring strPicture = MakePicture(L"mapipim-photo.png", 400, 300);
    ASSERT_FALSE(strPicture.empty());

    GpImage* pImage = NULL;
    ASSERT_EQ(GdipLoadImageFromFile(strPicture.c_str(), &pImage), Ok);
    UINT nWidth = 0;
    UINT nHeight = 0;
    EXPECT_EQ(GdipGetImageWidth(pImage, &nWidth), Ok);
    EXPECT_EQ(GdipGetImageHeight(pImage, &nHeight), Ok);
    EXPECT_EQ(nWidth, 400u);
    EXPECT_EQ(nHeight, 300u);

    // A landscape picture is made 72 wide, the height in proportion.
    GpImage* pThumbnail = NULL;
    ASSERT_EQ(GdipGetImageThumbnail(pImage, 72, 300 * 72 / 400, &pThumbnail, NULL, NULL), Ok);
    GdipDisposeImage(pImage);

    CLSID clsidJpeg;
    ASSERT_TRUE(FindEncoder(L"image/jpeg", clsidJpeg));
    ULONG ulQuality = 80;
    EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = EncoderQuality;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &ulQuality;
    const std::wstring strJpeg = FileNamed(L"mapipim-photo.jpg");
    EXPECT_EQ(GdipSaveImageToFile(pThumbnail, strJpeg.c_str(), &clsidJpeg, &parameters), Ok);
    GdipDisposeImage(pThumbnail);

    EXPECT_EQ(FirstBytes(strJpeg, 3), std::string("\xFF\xD8\xFF"));
    GpImage* pSaved = NULL;
    ASSERT_EQ(GdipLoadImageFromFile(strJpeg.c_str(), &pSaved), Ok);
    EXPECT_EQ(GdipGetImageWidth(pSaved, &nWidth), Ok);
    EXPECT_EQ(GdipGetImageHeight(pSaved, &nHeight), Ok);
    GdipDisposeImage(pSaved);
    EXPECT_EQ(nWidth, 72u);
    EXPECT_EQ(nHeight, 54u);
}

TEST_F(GdiplusServices, FileThatIsNoImageFailsToLoad)
{
    const std::wstring strPath = FileNamed(L"mapipim-not-a-photo.jpg");
    std::ofstream(strPath.c_str(), std::ios::binary) << "not a picture";
    GpImage* pImage = NULL;
    EXPECT_NE(GdipLoadImageFromFile(strPath.c_str(), &pImage), Ok);
    EXPECT_EQ(pImage, nullptr);
    EXPECT_NE(GdipLoadImageFromFile(FileNamed(L"mapipim-missing.png").c_str(), &pImage), Ok);
}
