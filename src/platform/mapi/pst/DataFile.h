// One Outlook data file (.pst or .ost, ANSI or Unicode layout, any encoding of its blocks) opened read-only
// through libpff: its message store object, its folder tree and the items in each folder.
#pragma once

#include "platform/mapi/pst/PffObjects.h"

#include <cstdint>
#include <string>

namespace mapisvc::pst
{
class DataFile
{
public:
    // Opens a file; on failure `reason` says why in a few words ("not an Outlook data file", libpff's text).
    static bool Open(const std::string& path, std::unique_ptr<DataFile>& file, std::string& reason);

    // The file's size: the one its header states, at most the bytes it really has.
    uint64_t Size() const { return m_size; }
    bool IsUnicode() const { return m_unicode; }

    // The message store object; null when the file has none that libpff can read.
    ItemHandle MessageStore(std::string& reason);
    // The root of the folder tree; null when libpff cannot read it.
    ItemHandle RootFolder(std::string& reason);

private:
    explicit DataFile(FileHandle file) : m_file(std::move(file)) {}

    FileHandle m_file;
    uint64_t m_size = 0;
    bool m_unicode = true;
};

// Folder walks: the counts are 0 and the handles null where libpff cannot read them.
uint32_t ItemIdentifier(libpff_item_t* item);
int SubFolderCount(libpff_item_t* folder);
ItemHandle SubFolder(libpff_item_t* folder, int index, std::string& reason);
int MessageCount(libpff_item_t* folder, bool& readable);
ItemHandle Message(libpff_item_t* folder, int index, std::string& reason);
} // namespace mapisvc::pst
