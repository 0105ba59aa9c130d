// Ownership of libpff's objects: each handle frees its object on every path, and PffError keeps the error a
// libpff call reports, for its one-line text.
#pragma once

#include <libpff.h>

#include <memory>
#include <string>

namespace mapisvc::pst
{
class PffError
{
public:
    PffError() = default;
    ~PffError() { Clear(); }
    PffError(const PffError&) = delete;
    PffError& operator=(const PffError&) = delete;

    libpff_error_t** Out()
    {
        Clear();
        return &m_error;
    }
    // The first line libpff wrote for the error; empty when there is none.
    std::string Text() const;

private:
    void Clear()
    {
        if (m_error)
            libpff_error_free(&m_error);
    }

    libpff_error_t* m_error = nullptr;
};

struct FileFree
{
    void operator()(libpff_file_t* file) const;
};
struct ItemFree
{
    void operator()(libpff_item_t* item) const;
};
struct RecordSetFree
{
    void operator()(libpff_record_set_t* set) const;
};
struct RecordEntryFree
{
    void operator()(libpff_record_entry_t* entry) const;
};

typedef std::unique_ptr<libpff_file_t, FileFree> FileHandle;
typedef std::unique_ptr<libpff_item_t, ItemFree> ItemHandle;
typedef std::unique_ptr<libpff_record_set_t, RecordSetFree> RecordSetHandle;
typedef std::unique_ptr<libpff_record_entry_t, RecordEntryFree> RecordEntryHandle;
} // namespace mapisvc::pst
