#include "platform/win32/gdiplus/ImageEncoders.h"

#include <cstring>
#include <iterator>
#include <string_view>

const GUID Gdiplus::EncoderQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
const GUID Gdiplus::ImageFormatJPEG = {0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
const GUID Gdiplus::ImageFormatPNG = {0xb96b3caf, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

namespace mapipim::gdiplus
{
namespace
{
const BYTE jpegSignature[] = {0xFF, 0xD8};
const BYTE pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct EncoderEntry
{
    ImageEncoder encoder;
    CLSID clsid;
    const GUID* pFormat;
    std::u16string_view strCodecName;
    std::u16string_view strDescription;
    std::u16string_view strExtensions;
    std::u16string_view strMimeType;
    const BYTE* pSignature;
    size_t nSignature;
};

const EncoderEntry encoders[] = {
    {ImageEncoder::Jpeg,
     {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}},
     &Gdiplus::ImageFormatJPEG,
     u"Built-in JPEG Codec",
     u"JPEG",
     u"*.JPG;*.JPEG;*.JPE;*.JFIF",
     u"image/jpeg",
     jpegSignature,
     sizeof(jpegSignature)},
    {ImageEncoder::Png,
     {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}},
     &Gdiplus::ImageFormatPNG,
     u"Built-in PNG Codec",
     u"PNG",
     u"*.PNG",
     u"image/png",
     pngSignature,
     sizeof(pngSignature)},
};

size_t TextBytes(std::u16string_view strText)
{
    return (strText.size() + 1) * sizeof(WCHAR);
}

size_t ExtraBytes(const EncoderEntry& entry)
{
    return TextBytes(entry.strCodecName) + TextBytes(entry.strDescription) + TextBytes(entry.strExtensions) +
           TextBytes(entry.strMimeType) + 2 * entry.nSignature;
}

// Places the texts and signatures behind the records and returns where each piece went.
class ListWriter
{
public:
    explicit ListWriter(BYTE* pNext) : m_pNext(pNext) {}

    WCHAR* Text(std::u16string_view strText)
    {
        auto* pText = reinterpret_cast<WCHAR*>(m_pNext);
        std::memcpy(m_pNext, strText.data(), strText.size() * sizeof(WCHAR));
        pText[strText.size()] = u'\0';
        m_pNext += TextBytes(strText);
        return pText;
    }

    BYTE* Copy(const BYTE* pBytes, size_t nBytes)
    {
        BYTE* pPlaced = m_pNext;
        std::memcpy(m_pNext, pBytes, nBytes);
        m_pNext += nBytes;
        return pPlaced;
    }

    BYTE* Fill(BYTE value, size_t nBytes)
    {
        BYTE* pPlaced = m_pNext;
        std::memset(m_pNext, value, nBytes);
        m_pNext += nBytes;
        return pPlaced;
    }

private:
    BYTE* m_pNext;
};
} // namespace

ImageEncoder FindEncoder(const CLSID& clsid)
{
    for (const EncoderEntry& entry : encoders)
        if (entry.clsid == clsid)
            return entry.encoder;
    return ImageEncoder::None;
}

UINT EncoderCount()
{
    return static_cast<UINT>(std::size(encoders));
}

UINT EncoderListSize()
{
    size_t nSize = std::size(encoders) * sizeof(Gdiplus::ImageCodecInfo);
    for (const EncoderEntry& entry : encoders)
        nSize += ExtraBytes(entry);
    return static_cast<UINT>(nSize);
}

void WriteEncoderList(Gdiplus::ImageCodecInfo* pEncoders)
{
    ListWriter writer(reinterpret_cast<BYTE*>(pEncoders + std::size(encoders)));
    for (const EncoderEntry& entry : encoders)
    {
        Gdiplus::ImageCodecInfo& info = *pEncoders++;
        info = {};
        info.Clsid = entry.clsid;
        info.FormatID = *entry.pFormat;
        info.CodecName = writer.Text(entry.strCodecName);
        info.FormatDescription = writer.Text(entry.strDescription);
        info.FilenameExtension = writer.Text(entry.strExtensions);
        info.MimeType = writer.Text(entry.strMimeType);
        info.Flags = Gdiplus::ImageCodecFlagsEncoder | Gdiplus::ImageCodecFlagsDecoder |
                     Gdiplus::ImageCodecFlagsSupportBitmap | Gdiplus::ImageCodecFlagsBuiltin;
        info.Version = 1;
        info.SigCount = 1;
        info.SigSize = static_cast<DWORD>(entry.nSignature);
        info.SigPattern = writer.Copy(entry.pSignature, entry.nSignature);
        info.SigMask = writer.Fill(0xFF, entry.nSignature);
    }
}
} // namespace mapipim::gdiplus
