// The bar of an item write that attaches files. The library reads the files of the record's attachment list one
// after the other, in the order of the list; how far it has come is the size of the files before the one it holds
// open, and its position in that one.
#pragma once

#include "ByteProgressWatch.h"

#include <mapipim/platform.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli
{
class AttachedFileBytes
{
public:
    // strAttachFile: the list as the record hands it to the library (separated by "," or ";"). Entries that are no
    // full paths of files, such as the names of the attachments an edited item already has, are no work.
    explicit AttachedFileBytes(const CString& strAttachFile);

    bool IsEmpty() const { return m_files.empty(); }
    std::int64_t Total() const { return m_total; }
    // "Attaching notes.txt", "Attaching 3 files".
    std::string Label() const;
    // The bytes the library has read so far; never less than the last answer.
    std::int64_t BytesDone();

private:
    struct File
    {
        std::string path;
        std::int64_t size;
    };

    std::vector<File> m_files;
    std::int64_t m_total = 0;
    size_t m_current = 0;          // the file read last seen open; those before it are done
    std::int64_t m_doneBefore = 0; // the size of the files before it
    std::int64_t m_done = 0;
};

// While it lives, the bar of the files of the list being attached (nothing when the list names no file).
class AttachingProgress
{
public:
    explicit AttachingProgress(const CString& strAttachFile);

private:
    AttachedFileBytes m_files;
    std::optional<ByteProgressWatch> m_watch; // last: it ends, and stops asking m_files, before m_files goes
};

// The library's write of a record (write() returning its BOOL), with the bar of the files the record's attachment
// list names; the bar is gone when this returns, before anything else is written.
template <class Write> BOOL WriteAttaching(const CString& strAttachFile, const Write& write)
{
    const AttachingProgress progress(strAttachFile);
    return write();
}
} // namespace cli
