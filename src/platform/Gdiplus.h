// The GDI+ flat API under the same plain names on every build. The SDK and the Linux stand-in both declare the
// types in namespace Gdiplus and the flat functions in Gdiplus::DllExports; library code calls them unqualified.
#pragma once

#include "platform/platform.h"

using Gdiplus::EncoderParameter;
using Gdiplus::EncoderParameters;
using Gdiplus::EncoderParameterValueTypeLong;
using Gdiplus::EncoderQuality;
using Gdiplus::GdiplusShutdown;
using Gdiplus::GdiplusStartup;
using Gdiplus::GdiplusStartupInput;
using Gdiplus::GpImage;
using Gdiplus::GpStatus;
using Gdiplus::ImageCodecInfo;
using Gdiplus::Ok;

using Gdiplus::DllExports::GdipDisposeImage;
using Gdiplus::DllExports::GdipGetImageEncoders;
using Gdiplus::DllExports::GdipGetImageEncodersSize;
using Gdiplus::DllExports::GdipGetImageHeight;
using Gdiplus::DllExports::GdipGetImageThumbnail;
using Gdiplus::DllExports::GdipGetImageWidth;
using Gdiplus::DllExports::GdipLoadImageFromFile;
using Gdiplus::DllExports::GdipSaveImageToFile;
