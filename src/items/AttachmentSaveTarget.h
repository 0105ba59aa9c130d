// Where saving attachments writes: into an existing directory, each attachment under its own name made safe
// there, or to the one file a path names in an existing directory.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
class AttachmentSaveTarget
{
public:
    // Decides from the path, before anything is read from the store. False when the path names neither an
    // existing directory nor a file whose directory exists.
    bool Decide(LPCWSTR szPath);

    // The file to write an attachment to, given its stored long file name and file name.
    CString GetFilePath(const CString& strLongFileName, const CString& strFileName) const;

private:
    CString m_strPath; // the directory, ending with a separator, or the file
    bool m_bDirectory = false;
};
} // namespace mapipim
