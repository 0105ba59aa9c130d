// CMAPIContactItem::SetPicture: keeps, removes or replaces the contact's photo. A new photo is never the host's
// file itself: it is scaled to a thumbnail (at most 72 pixels wide or 96 high), encoded as a JPEG of quality 80
// into a temporary file in the documents folder, attached from there as "ContactPicture.jpg" (the name that
// marks an attachment as the contact photo) and the temporary file is deleted again.
#include "items/MAPIContactItem.h"

#include "items/AttachmentFileName.h"
#include "items/ContactProperties.h"
#include "platform/Gdiplus.h"
#include "platform/Path.h"
#include "platform/trace/Trace.h"
#include "session/Scoped.h"

#include <memory>
#include <new>

namespace
{
const UINT kLandscapeWidth = 72;
const UINT kPortraitHeight = 96;
const ULONG kJpegQuality = 80;
const int kTemporaryNameCount = 100;

struct DisposeImage
{
    void operator()(GpImage* pImage) const { GdipDisposeImage(pImage); }
};
typedef mapipim::Scoped<GpImage*, DisposeImage> ScopedImage;

struct ThumbnailSize
{
    UINT nWidth;
    UINT nHeight;
};

// Landscape images become 72 wide, the others 96 high, the other side in proportion (rounded down). A side that
// would round to nothing (a panorama thousands of pixels wide) keeps one pixel: GDI+ takes 0 for its default size.
ThumbnailSize GetThumbnailSize(UINT nWidth, UINT nHeight)
{
    ThumbnailSize size = nWidth > nHeight ? ThumbnailSize{kLandscapeWidth, nHeight * kLandscapeWidth / nWidth}
                                          : ThumbnailSize{nWidth * kPortraitHeight / nHeight, kPortraitHeight};
    if (size.nWidth == 0)
        size.nWidth = 1;
    if (size.nHeight == 0)
        size.nHeight = 1;
    return size;
}

// A thumbnail of the image file; null when the file cannot be read as an image or has no pixels, so that the size
// computation never divides by zero.
bool MakeThumbnail(LPCWSTR szPicturePath, ScopedImage& thumbnail)
{
    ScopedImage image;
    UINT nWidth = 0;
    UINT nHeight = 0;
    if (GdipLoadImageFromFile(szPicturePath, &image.Receive()) != Ok || GdipGetImageWidth(image.Get(), &nWidth) != Ok ||
        GdipGetImageHeight(image.Get(), &nHeight) != Ok || nWidth == 0 || nHeight == 0)
    {
        LOGTRACE(_T("[MAPI] Set failed : %s(strPicturePath)"), szPicturePath);
        return false;
    }
    const ThumbnailSize size = GetThumbnailSize(nWidth, nHeight);
    return GdipGetImageThumbnail(image.Get(), size.nWidth, size.nHeight, &thumbnail.Receive(), NULL, NULL) == Ok;
}

// The first of ContactPicture0.jpg to ContactPicture99.jpg in the documents folder that does not exist yet; an
// existing file is never reused, since it is deleted afterwards.
bool ChooseTemporaryFile(CString& strPath)
{
    WCHAR szDocuments[MAX_PATH] = {0};
    if (!SHGetSpecialFolderPathW(NULL, szDocuments, CSIDL_PERSONAL, TRUE))
        return false;
    for (int i = 0; i < kTemporaryNameCount; ++i)
    {
        strPath.Format(_T("%s\\ContactPicture%d.jpg"), szDocuments, i);
        CFileFind find;
        if (!find.FindFile(strPath))
            return true;
    }
    return false;
}

bool FindJpegEncoder(CLSID& clsid)
{
    UINT nEncoders = 0;
    UINT cbEncoders = 0;
    if (GdipGetImageEncodersSize(&nEncoders, &cbEncoders) != Ok || nEncoders == 0)
        return false;
    // The list and the strings it points to share one block; ImageCodecInfo's alignment suits both.
    std::unique_ptr<ImageCodecInfo[]> pEncoders(
        new (std::nothrow) ImageCodecInfo[(cbEncoders + sizeof(ImageCodecInfo) - 1) / sizeof(ImageCodecInfo)]);
    if (!pEncoders || GdipGetImageEncoders(nEncoders, cbEncoders, pEncoders.get()) != Ok)
        return false;
    for (UINT i = 0; i < nEncoders; ++i)
    {
        if (pEncoders[i].MimeType && lstrcmpW(pEncoders[i].MimeType, _T("image/jpeg")) == 0)
        {
            clsid = pEncoders[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SaveAsJpeg(GpImage* pImage, LPCWSTR szPath)
{
    CLSID clsid;
    if (!FindJpegEncoder(clsid))
        return false;
    ULONG ulQuality = kJpegQuality;
    EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = EncoderQuality;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &ulQuality;
    return GdipSaveImageToFile(pImage, szPath, &clsid, &parameters) == Ok;
}

// Makes the thumbnail of the image file and attaches it as the contact photo. True when it was attached.
bool AttachPicture(CMAPIItem& item, LPCWSTR szPicturePath)
{
    ScopedImage thumbnail;
    CString strTemporary;
    if (!MakeThumbnail(szPicturePath, thumbnail))
        return false;
    if (!ChooseTemporaryFile(strTemporary))
    {
        LOGTRACE(_T("[MAPI] Create failed a temporary picture : %s"), szPicturePath);
        return false;
    }
    bool bAttached = false;
    if (SaveAsJpeg(thumbnail.Get(), strTemporary))
    {
        bAttached = item.AddAttachment(strTemporary, NULL, mapipim::kContactPictureFileName) != FALSE;
        if (!bAttached)
            LOGTRACE(_T("[MAPI] Set failed : %s(ContactPicture.jpg)"), strTemporary);
    }
    DeleteFileW(strTemporary);
    return bAttached;
}
} // namespace

// An empty path removes the photo; a path through a folder replaces it; anything else (the bare attachment name
// that reading gives) keeps it untouched.
BOOL CMAPIContactItem::SetPicture(CMAPIContactInfo* pInfo)
{
    if (!pInfo)
        return FALSE;
    const CString& strPicturePath = pInfo->strPicturePath;
    const bool bRemove = strPicturePath.IsEmpty();
    if (!bRemove && !mapipim::HasFolderPart(strPicturePath))
        return TRUE;
    if (GetAttachmentCount() > 0 && !DeleteAttachment(-1, MAPIPIM_ATTACH_PHOTO_ONLY))
    {
        LOGTRACE(_T("[MAPI] Delete failed the picture"));
        return FALSE;
    }
    const bool bAttached = !bRemove && AttachPicture(*this, strPicturePath);
    if (!SetPropertyBool(mapipim::PidLidHasPicture, bAttached ? 1 : 0, MAPIPIM_SET_ADDRESS))
        LOGTRACE(_T("[MAPI] Set failed : %d(bPicture)"), bAttached ? 1 : 0);
    return bRemove || bAttached;
}
