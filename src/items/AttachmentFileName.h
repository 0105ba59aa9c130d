// File names of attachments. The names stored with an attachment come from whoever sent the message, so a name
// is never used as a path: saving into a directory takes only its last component, made safe to stand as one
// file name there.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// The name an attachment without any name is saved under.
extern const LPCWSTR kDefaultAttachmentFileName;

// The name under which an attached file becomes the contact photo.
extern const LPCWSTR kContactPictureFileName;

// The part of a path after its last "\" or "/" (on every platform: a name written on either kind of system may
// reach either), or the whole path when it has neither.
CString GetFileNamePart(LPCWSTR szPath);

// The stored name as one file name: its last path component without trailing dots and blanks, with ":", the
// other characters Windows refuses in file names and control characters replaced by "_", and "_" before a
// Windows device name ("CON", "NUL.txt"); "Attachment.dat" when nothing is left (an empty name, "." or "..").
CString GetSafeAttachmentFileName(LPCWSTR szStoredName);
} // namespace mapipim
