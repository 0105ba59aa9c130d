// Where "attachments save" puts each file. The library writes an attachment under its own safe name, or to the
// one path it is given, and replaces what is there; the host wants neither a silent overwrite nor two attachments
// of one name landing in one file. So each attachment is first written into a private folder next to the target
// and then moved to its place: under a name not yet taken ("notes (2).txt"), or over an existing file only when
// the user said so.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace cli
{
// "notes.txt", n = 3 -> "notes (3).txt"; n = 1 gives the name itself.
std::string NumberedFileName(const std::string& name, int n);

class AttachmentFiles
{
public:
    // directory: where the files go (must exist). Throws Failure when no private folder can be made in it.
    AttachmentFiles(const std::string& directory, bool bOverwrite);
    ~AttachmentFiles();
    AttachmentFiles(const AttachmentFiles&) = delete;
    AttachmentFiles& operator=(const AttachmentFiles&) = delete;

    // The private folder the library writes into; empty it with Place before the next attachment.
    const std::string& Staging() const { return m_staging; }
    // How much the library has written into the private folder so far (safe to ask from another thread).
    std::int64_t StagedBytes() const;

    // Moves the one file in the private folder into the directory under its own name, numbered when the name is
    // taken (by an existing file without overwrite, or by a file this run placed). Returns the path written.
    std::string Place();
    // Moves the one file in the private folder to the path (in the directory); without overwrite an existing
    // file there is a Failure.
    std::string PlaceAs(const std::string& path);

private:
    std::string StagedFile() const;
    bool Move(const std::string& from, const std::string& to) const;

    std::string m_directory;
    std::string m_staging;
    bool m_bOverwrite;
    std::set<std::string> m_placed;
};
} // namespace cli
