#include "platform/mapi/pst/PffObjects.h"

namespace mapisvc::pst
{
std::string PffError::Text() const
{
    if (!m_error)
        return std::string();
    char text[512] = {};
    if (libpff_error_sprint(m_error, text, sizeof(text)) <= 0)
        return std::string();
    std::string line(text);
    line = line.substr(0, line.find_first_of("\r\n"));
    return line;
}

void FileFree::operator()(libpff_file_t* file) const
{
    libpff_file_close(file, nullptr);
    libpff_file_free(&file, nullptr);
}

void ItemFree::operator()(libpff_item_t* item) const
{
    libpff_item_free(&item, nullptr);
}

void RecordSetFree::operator()(libpff_record_set_t* set) const
{
    libpff_record_set_free(&set, nullptr);
}

void RecordEntryFree::operator()(libpff_record_entry_t* entry) const
{
    libpff_record_entry_free(&entry, nullptr);
}
} // namespace mapisvc::pst
