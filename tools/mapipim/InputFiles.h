// Files that the user hands to the library (pictures, attachments), checked before anything is written, so that a
// missing or unusable file changes nothing in the store. The library takes such files by full path.
#pragma once

#include <string>

namespace cli
{
// The full path of a readable regular file; throws Failure naming the file otherwise.
std::string ReadableFilePath(const std::string& path);

// The full path of an image the library can make a contact picture from (JPEG or PNG, not empty); throws Failure
// otherwise. Needs GDI+ started, as the library does.
std::string PictureFilePath(const std::string& path);

// The full path of a file to attach. The library splits its list of attachment paths at "," and ";", so a path
// holding either cannot be attached; throws Failure for it as for an unreadable file.
std::string AttachmentFilePath(const std::string& path);
} // namespace cli
