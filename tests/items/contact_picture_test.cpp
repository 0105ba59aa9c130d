// The contact picture: a thumbnail of the host's image, attached as a JPEG of quality 80 named
// "ContactPicture.jpg" with the photo flag and PidLidHasPicture, kept, removed or replaced by strPicturePath,
// through a temporary file that never outlives the call and never replaces one that was there.
#include <mapipim/mapisvc.h>

#include "items/ContactProperties.h"
#include "items/MAPIContactItem.h"
#include "support/ContactServiceTest.h"

#include <set>

using namespace contacttest;

namespace
{
struct Size
{
    UINT nWidth;
    UINT nHeight;
};

Size ImageSize(const fs::path& path)
{
    GpImage* pImage = nullptr;
    Size size = {0, 0};
    if (GdipLoadImageFromFile(PathText(path), &pImage) != Ok)
        return size;
    GdipGetImageWidth(pImage, &size.nWidth);
    GdipGetImageHeight(pImage, &size.nHeight);
    GdipDisposeImage(pImage);
    return size;
}

// What GDI+ itself makes of the image: its thumbnail of the given size as a JPEG of the given quality.
std::vector<BYTE> ReferenceThumbnail(const fs::path& source, Size size, ULONG ulQuality, const fs::path& target)
{
    UINT nEncoders = 0;
    UINT cbEncoders = 0;
    GdipGetImageEncodersSize(&nEncoders, &cbEncoders);
    std::vector<BYTE> buffer(cbEncoders);
    ImageCodecInfo* pEncoders = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    GdipGetImageEncoders(nEncoders, cbEncoders, pEncoders);
    CLSID clsid = {};
    for (UINT i = 0; i < nEncoders; ++i)
        if (CString(pEncoders[i].MimeType) == _T("image/jpeg"))
            clsid = pEncoders[i].Clsid;
    EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &ulQuality};
    GpImage* pImage = nullptr;
    GpImage* pThumbnail = nullptr;
    GdipLoadImageFromFile(PathText(source), &pImage);
    GdipGetImageThumbnail(pImage, size.nWidth, size.nHeight, &pThumbnail, nullptr, nullptr);
    GdipSaveImageToFile(pThumbnail, PathText(target), &clsid, &parameters);
    GdipDisposeImage(pThumbnail);
    GdipDisposeImage(pImage);
    return ReadFileBytes(target);
}

class ContactPictureTest : public ContactServiceTest
{
protected:
    fs::path Image(UINT nWidth, UINT nHeight)
    {
        const fs::path path = TempDir() / ("image" + std::to_string(nWidth) + "x" + std::to_string(nHeight) + ".jpg");
        WriteJpeg(path, nWidth, nHeight);
        return path;
    }

    // A saved contact with the picture and one ordinary attachment.
    void CreateWithPicture(CMAPIContactItem& item, const fs::path& picture)
    {
        WriteFileBytes(TempDir() / "notes.txt", {'n'});
        CMAPIContactInfo info;
        info.strLastName = _T("Berg");
        info.strPicturePath = PathText(picture);
        info.strAttachFile = PathText(TempDir() / "notes.txt");
        CreateContactItem(item, info);
    }

    // The photo attachment written out, or nothing when there is none.
    std::vector<BYTE> Photo(CMAPIContactItem& item)
    {
        const fs::path path = TempDir() / "photo-out.jpg";
        fs::remove(path);
        if (!item.SaveAttachment(PathText(path), -1, MAPIPIM_ATTACH_PHOTO_ONLY))
            return {};
        return ReadFileBytes(path);
    }

    CString Names(CMAPIContactItem& item, int nFilter)
    {
        CString strNames;
        item.GetAttachmentNames(strNames, -1, nFilter);
        return strNames;
    }

    int HasPicture(CMAPIContactItem& item) { return item.GetPropertyBool(mapipim::PidLidHasPicture, -1, 4); }

    std::set<std::string> DocumentFiles()
    {
        std::set<std::string> files;
        if (fs::exists(DocumentsDir()))
            for (const auto& entry : fs::directory_iterator(DocumentsDir()))
                files.insert(entry.path().filename().string());
        return files;
    }
};
} // namespace

TEST_F(ContactPictureTest, ThumbnailIsAtMost72WideOr96High)
{
    const struct
    {
        Size image;
        Size thumbnail;
    } cases[] = {
        {{300, 200}, {72, 48}}, {{200, 300}, {64, 96}}, {{100, 100}, {96, 96}},
        {{3000, 20}, {72, 1}},  {{5, 4000}, {1, 96}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.image.nWidth) + "x" + std::to_string(c.image.nHeight));
        CMAPIContactItem item;
        CreateWithPicture(item, Image(c.image.nWidth, c.image.nHeight));
        EXPECT_EQ(1, HasPicture(item));
        EXPECT_EQ(Utf8("ContactPicture.jpg"), Names(item, MAPIPIM_ATTACH_PHOTO_ONLY));
        WriteFileBytes(TempDir() / "thumb.jpg", Photo(item));
        const Size size = ImageSize(TempDir() / "thumb.jpg");
        EXPECT_EQ(c.thumbnail.nWidth, size.nWidth);
        EXPECT_EQ(c.thumbnail.nHeight, size.nHeight);
    }
}

TEST_F(ContactPictureTest, PhotoIsTheThumbnailAsJpegOfQuality80)
{
    const fs::path image = Image(300, 200);
    CMAPIContactItem item;
    CreateWithPicture(item, image);
    const std::vector<BYTE> photo = Photo(item);
    ASSERT_FALSE(photo.empty());
    EXPECT_EQ(ReferenceThumbnail(image, {72, 48}, 80, TempDir() / "q80.jpg"), photo);
    EXPECT_NE(ReferenceThumbnail(image, {72, 48}, 75, TempDir() / "q75.jpg"), photo);
    EXPECT_EQ(Utf8("notes.txt"), Names(item, MAPIPIM_ATTACH_NO_PHOTO));
}

TEST_F(ContactPictureTest, KeepRemoveAndReplaceByPicturePath)
{
    CMAPIContactItem item;
    CreateWithPicture(item, Image(300, 200));
    const std::vector<BYTE> original = Photo(item);

    CMAPIContactInfo info;
    for (const char* szKeep : {"ContactPicture.jpg", "\\photos\\anna.jpg", "anna.jpg"})
    {
        info.strPicturePath = Utf8(szKeep);
        EXPECT_TRUE(item.SetPicture(&info)) << szKeep;
        EXPECT_EQ(original, Photo(item)) << szKeep;
        EXPECT_EQ(2, item.GetAttachmentCount());
    }

    info.strPicturePath = PathText(Image(200, 300));
    EXPECT_TRUE(item.SetPicture(&info));
    EXPECT_EQ(Utf8("ContactPicture.jpg"), Names(item, MAPIPIM_ATTACH_PHOTO_ONLY)) << "exactly one photo";
    WriteFileBytes(TempDir() / "replaced.jpg", Photo(item));
    EXPECT_EQ(64u, ImageSize(TempDir() / "replaced.jpg").nWidth);
    EXPECT_EQ(1, HasPicture(item));

    info.strPicturePath.Empty();
    EXPECT_TRUE(item.SetPicture(&info));
    EXPECT_TRUE(Names(item, MAPIPIM_ATTACH_PHOTO_ONLY).IsEmpty());
    EXPECT_EQ(Utf8("notes.txt"), Names(item, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(0, HasPicture(item));
}

TEST_F(ContactPictureTest, TemporaryFileIsNeverLeftAndNeverAnExistingOne)
{
    fs::create_directories(DocumentsDir());
    WriteFileBytes(DocumentsDir() / "ContactPicture0.jpg", {'k', 'e', 'e', 'p'});
    CMAPIContactItem item;
    CreateWithPicture(item, Image(100, 100));
    EXPECT_EQ(1, HasPicture(item));
    EXPECT_EQ(std::set<std::string>{"ContactPicture0.jpg"}, DocumentFiles());
    EXPECT_EQ((std::vector<BYTE>{'k', 'e', 'e', 'p'}), ReadFileBytes(DocumentsDir() / "ContactPicture0.jpg"));

    // A failed attachment names the temporary file it used: the first free name.
    mapisvc::Fault fault;
    fault.method = "CreateAttach";
    const ULONG ulFault = mapisvc::InjectFault(fault);
    CMAPIContactInfo info;
    info.strPicturePath = PathText(Image(100, 100));
    EXPECT_FALSE(item.SetPicture(&info));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : ") + PathText(DocumentsDir()) +
                       _T("\\ContactPicture1.jpg(ContactPicture.jpg)")));
    EXPECT_EQ(0, HasPicture(item)) << "the old picture is gone and no new one came";
    EXPECT_TRUE(Names(item, MAPIPIM_ATTACH_PHOTO_ONLY).IsEmpty());
    EXPECT_EQ(std::set<std::string>{"ContactPicture0.jpg"}, DocumentFiles());
}

TEST_F(ContactPictureTest, FailsWhenEveryTemporaryNameIsTaken)
{
    fs::create_directories(DocumentsDir());
    for (int i = 0; i < 100; ++i)
        WriteFileBytes(DocumentsDir() / ("ContactPicture" + std::to_string(i) + ".jpg"), {BYTE(i)});
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    CMAPIContactInfo info;
    info.strPicturePath = PathText(Image(100, 100));
    EXPECT_FALSE(item.SetPicture(&info));
    EXPECT_TRUE(Traced(_T("[MAPI] Create failed a temporary picture : ") + info.strPicturePath));
    EXPECT_EQ(0, HasPicture(item));
    EXPECT_EQ(100u, DocumentFiles().size());
    EXPECT_EQ(std::vector<BYTE>{BYTE(42)}, ReadFileBytes(DocumentsDir() / "ContactPicture42.jpg"));
}

TEST_F(ContactPictureTest, UnreadableOrEmptyImagesFailCleanly)
{
    WriteFileBytes(TempDir() / "garbage.jpg", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    WriteFileBytes(TempDir() / "empty.jpg", {});
    for (const char* szName : {"garbage.jpg", "empty.jpg", "missing.jpg"})
    {
        SCOPED_TRACE(szName);
        CMAPIContactItem item;
        CreateWithPicture(item, Image(300, 200));
        Trace().Clear();
        CMAPIContactInfo info;
        info.strPicturePath = PathText(TempDir() / szName);
        EXPECT_FALSE(item.SetPicture(&info));
        EXPECT_TRUE(Traced(_T("[MAPI] Set failed : ") + info.strPicturePath + _T("(strPicturePath)")));
        EXPECT_EQ(0, HasPicture(item));
        EXPECT_TRUE(Names(item, MAPIPIM_ATTACH_PHOTO_ONLY).IsEmpty());
        EXPECT_EQ(Utf8("notes.txt"), Names(item, MAPIPIM_ATTACH_NO_PHOTO));
        EXPECT_TRUE(DocumentFiles().empty());
    }
}

TEST_F(ContactPictureTest, OldPictureThatCannotBeDeletedStopsTheChange)
{
    CMAPIContactItem item;
    CreateWithPicture(item, Image(300, 200));
    mapisvc::Fault fault;
    fault.method = "DeleteAttach";
    const ULONG ulFault = mapisvc::InjectFault(fault);
    CMAPIContactInfo info;
    EXPECT_FALSE(item.SetPicture(&info));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] Delete failed the picture")));
    EXPECT_EQ(1, HasPicture(item));
    EXPECT_EQ(Utf8("ContactPicture.jpg"), Names(item, MAPIPIM_ATTACH_PHOTO_ONLY));
}
