#include "InputFiles.h"

#include "Failure.h"
#include "Text.h"

#include <mapipim/platform.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace cli
{
std::string ReadableFilePath(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat status;
    if (!realpath(path.c_str(), resolved) || stat(resolved, &status) != 0)
        throw Failure("cannot read '" + path + "': " + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw Failure("cannot read '" + path + "': not a regular file");
    if (!std::ifstream(resolved, std::ios::binary).is_open())
        throw Failure("cannot read '" + path + "': " + std::strerror(errno));
    return resolved;
}

namespace
{
// The library's file layer reads "\" as a folder separator, as Windows does: a file whose path holds one would be
// looked for elsewhere, after the item was already written.
std::string LibraryFilePath(const std::string& path, const char* use)
{
    const std::string resolved = ReadableFilePath(path);
    if (resolved.find('\\') != std::string::npos)
        throw Failure(std::string("cannot ") + use + " '" + path +
                      "': the library reads '\\' in a path as a folder separator; rename or copy the file");
    return resolved;
}
} // namespace

std::string PictureFilePath(const std::string& path)
{
    const std::string resolved = LibraryFilePath(path, "use");
    Gdiplus::GpImage* image = nullptr;
    UINT width = 0, height = 0;
    const bool usable = Gdiplus::DllExports::GdipLoadImageFromFile(WideText(resolved), &image) == Gdiplus::Ok &&
                        Gdiplus::DllExports::GdipGetImageWidth(image, &width) == Gdiplus::Ok &&
                        Gdiplus::DllExports::GdipGetImageHeight(image, &height) == Gdiplus::Ok && width > 0 &&
                        height > 0;
    if (image)
        Gdiplus::DllExports::GdipDisposeImage(image);
    if (!usable)
        throw Failure("cannot use '" + path + "' as a picture: not a JPEG or PNG image");
    return resolved;
}

std::string AttachmentFilePath(const std::string& path)
{
    const std::string resolved = LibraryFilePath(path, "attach");
    if (resolved.find_first_of(",;") != std::string::npos)
        throw Failure("cannot attach '" + path + "': the library separates attachment paths at ',' and ';'");
    return resolved;
}

} // namespace cli
