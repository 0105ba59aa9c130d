// GDI+ for the Linux build: the image calls that write a contact's picture, with the names, types and signatures
// of the Windows SDK. As there, the types live in namespace Gdiplus and the flat functions in Gdiplus::DllExports.
// A host starts GDI+ with GdiplusStartup before the library touches an image, and shuts it down at the end.
#pragma once

#include <mapipim/export.h>
#include <mapipim/win32/wintypes.h>

#ifndef WINGDIPAPI
#define WINGDIPAPI
#endif
#ifndef GDIPCONST
#define GDIPCONST const
#endif

namespace Gdiplus
{
enum GpStatus
{
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
    ProfileNotFound = 21
};
typedef GpStatus Status;

// ---- Start and stop
enum DebugEventLevel
{
    DebugEventLevelFatal,
    DebugEventLevelWarning
};
typedef VOID(WINAPI* DebugEventProc)(DebugEventLevel level, CHAR* message);
typedef GpStatus(WINAPI* NotificationHookProc)(ULONG_PTR* token);
typedef VOID(WINAPI* NotificationUnhookProc)(ULONG_PTR token);

struct GdiplusStartupInput
{
    UINT GdiplusVersion;
    DebugEventProc DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;

    GdiplusStartupInput(DebugEventProc debugEventCallback = nullptr, BOOL suppressBackgroundThread = FALSE,
                        BOOL suppressExternalCodecs = FALSE)
        : GdiplusVersion(1), DebugEventCallback(debugEventCallback), SuppressBackgroundThread(suppressBackgroundThread),
          SuppressExternalCodecs(suppressExternalCodecs)
    {
    }
};

struct GdiplusStartupOutput
{
    NotificationHookProc NotificationHook = nullptr;
    NotificationUnhookProc NotificationUnhook = nullptr;
};

MAPIPIM_API GpStatus WINGDIPAPI GdiplusStartup(ULONG_PTR* token, GDIPCONST GdiplusStartupInput* input,
                                               GdiplusStartupOutput* output);
MAPIPIM_API VOID WINGDIPAPI GdiplusShutdown(ULONG_PTR token);

// ---- Images, codecs and encoder parameters
class GpImage;

enum EncoderParameterValueType
{
    EncoderParameterValueTypeByte = 1,
    EncoderParameterValueTypeASCII = 2,
    EncoderParameterValueTypeShort = 3,
    EncoderParameterValueTypeLong = 4,
    EncoderParameterValueTypeRational = 5,
    EncoderParameterValueTypeLongRange = 6,
    EncoderParameterValueTypeUndefined = 7,
    EncoderParameterValueTypeRationalRange = 8,
    EncoderParameterValueTypePointer = 9
};

struct EncoderParameter
{
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    VOID* Value;
};

struct EncoderParameters
{
    UINT Count;
    EncoderParameter Parameter[1];
};

enum ImageCodecFlags
{
    ImageCodecFlagsEncoder = 0x00000001,
    ImageCodecFlagsDecoder = 0x00000002,
    ImageCodecFlagsSupportBitmap = 0x00000004,
    ImageCodecFlagsSupportVector = 0x00000008,
    ImageCodecFlagsSeekableEncode = 0x00000010,
    ImageCodecFlagsBlockingDecode = 0x00000020,
    ImageCodecFlagsBuiltin = 0x00010000,
    ImageCodecFlagsSystem = 0x00020000,
    ImageCodecFlagsUser = 0x00040000
};

struct ImageCodecInfo
{
    CLSID Clsid;
    GUID FormatID;
    WCHAR* CodecName;
    WCHAR* DllName;
    WCHAR* FormatDescription;
    WCHAR* FilenameExtension;
    WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    BYTE* SigPattern;
    BYTE* SigMask;
};

typedef BOOL(CALLBACK* ImageAbort)(VOID* callbackData);
typedef ImageAbort GetThumbnailImageAbort;

MAPIPIM_API extern const GUID EncoderQuality; // {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}
MAPIPIM_API extern const GUID ImageFormatJPEG;
MAPIPIM_API extern const GUID ImageFormatPNG;

namespace DllExports
{
MAPIPIM_API GpStatus WINGDIPAPI GdipLoadImageFromFile(GDIPCONST WCHAR* filename, GpImage** image);
MAPIPIM_API GpStatus WINGDIPAPI GdipGetImageWidth(GpImage* image, UINT* width);
MAPIPIM_API GpStatus WINGDIPAPI GdipGetImageHeight(GpImage* image, UINT* height);
MAPIPIM_API GpStatus WINGDIPAPI GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight,
                                                      GpImage** thumbImage, GetThumbnailImageAbort callback,
                                                      VOID* callbackData);
MAPIPIM_API GpStatus WINGDIPAPI GdipGetImageEncodersSize(UINT* numEncoders, UINT* size);
MAPIPIM_API GpStatus WINGDIPAPI GdipGetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders);
MAPIPIM_API GpStatus WINGDIPAPI GdipSaveImageToFile(GpImage* image, GDIPCONST WCHAR* filename,
                                                    GDIPCONST CLSID* clsidEncoder,
                                                    GDIPCONST EncoderParameters* encoderParams);
MAPIPIM_API GpStatus WINGDIPAPI GdipDisposeImage(GpImage* image);
} // namespace DllExports
} // namespace Gdiplus
