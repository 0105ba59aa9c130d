#include "platform/mapi/pst/DataFile.h"

#include <algorithm>
#include <filesystem>

namespace mapisvc::pst
{
namespace
{
std::string ReasonOf(const PffError& error, const char* fallback)
{
    std::string text = error.Text();
    return text.empty() ? fallback : text;
}
} // namespace

bool DataFile::Open(const std::string& path, std::unique_ptr<DataFile>& file, std::string& reason)
{
    PffError error;
    // A file too short to have a header fails the check as an error: it is no data file either.
    if (libpff_check_file_signature(path.c_str(), error.Out()) != 1)
    {
        reason = "not an Outlook data file";
        return false;
    }
    libpff_file_t* raw = nullptr;
    if (libpff_file_initialize(&raw, error.Out()) != 1)
    {
        reason = ReasonOf(error, "cannot be read");
        return false;
    }
    FileHandle handle(raw);
    if (libpff_file_open(raw, path.c_str(), LIBPFF_OPEN_READ, error.Out()) != 1)
    {
        reason = ReasonOf(error, "cannot be opened");
        return false;
    }
    std::unique_ptr<DataFile> opened(new DataFile(std::move(handle)));
    size64_t size = 0;
    uint8_t type = 0;
    if (libpff_file_get_size(raw, &size, error.Out()) != 1 || libpff_file_get_type(raw, &type, error.Out()) != 1)
    {
        reason = ReasonOf(error, "cannot be read");
        return false;
    }
    // The size the header states bounds what a value may ask for only as far as the bytes are really there.
    std::error_code sizeError;
    const uintmax_t actual = std::filesystem::file_size(path, sizeError);
    opened->m_size = sizeError ? size : std::min<uint64_t>(size, actual);
    opened->m_unicode = type != LIBPFF_FILE_TYPE_32BIT;
    file = std::move(opened);
    return true;
}

ItemHandle DataFile::MessageStore(std::string& reason)
{
    PffError error;
    libpff_item_t* store = nullptr;
    if (libpff_file_get_message_store(m_file.get(), &store, error.Out()) != 1)
    {
        reason = ReasonOf(error, "the file has no message store");
        return ItemHandle();
    }
    return ItemHandle(store);
}

ItemHandle DataFile::RootFolder(std::string& reason)
{
    PffError error;
    libpff_item_t* root = nullptr;
    if (libpff_file_get_root_folder(m_file.get(), &root, error.Out()) != 1)
    {
        reason = ReasonOf(error, "the file has no folders");
        return ItemHandle();
    }
    return ItemHandle(root);
}

uint32_t ItemIdentifier(libpff_item_t* item)
{
    uint32_t identifier = 0;
    if (libpff_item_get_identifier(item, &identifier, nullptr) != 1)
        return 0;
    return identifier;
}

int SubFolderCount(libpff_item_t* folder)
{
    int count = 0;
    if (libpff_folder_get_number_of_sub_folders(folder, &count, nullptr) != 1 || count < 0)
        return 0;
    return count;
}

ItemHandle SubFolder(libpff_item_t* folder, int index, std::string& reason)
{
    PffError error;
    libpff_item_t* sub = nullptr;
    if (libpff_folder_get_sub_folder(folder, index, &sub, error.Out()) != 1)
    {
        reason = ReasonOf(error, "unreadable folder");
        return ItemHandle();
    }
    return ItemHandle(sub);
}

int MessageCount(libpff_item_t* folder, bool& readable)
{
    int count = 0;
    readable = libpff_folder_get_number_of_sub_messages(folder, &count, nullptr) == 1 && count >= 0;
    return readable ? count : 0;
}

ItemHandle Message(libpff_item_t* folder, int index, std::string& reason)
{
    PffError error;
    libpff_item_t* message = nullptr;
    if (libpff_folder_get_sub_message(folder, index, &message, error.Out()) != 1)
    {
        reason = ReasonOf(error, "unreadable item");
        return ItemHandle();
    }
    return ItemHandle(message);
}
} // namespace mapisvc::pst
