// Whole image files in and out, named by Windows paths.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace mapipim::gdiplus
{
Gdiplus::GpStatus ReadImageFile(LPCWSTR lpszPath, std::vector<BYTE>& bytes);
// A file that cannot be written completely is removed, so no half image is left behind.
Gdiplus::GpStatus WriteImageFile(LPCWSTR lpszPath, const std::vector<BYTE>& bytes);
} // namespace mapipim::gdiplus
