// An array of record pointers as the library fills it, owning the records as the host must: whatever the list
// operations leave in it is deleted with it, also when a cancelled operation left only part of a list.
#pragma once

#include <mapipim/platform.h>

namespace cli
{
template <class Record> class RecordArray
{
public:
    RecordArray() = default;
    ~RecordArray()
    {
        for (INT_PTR i = 0; i < m_records.GetSize(); ++i)
            delete m_records.GetAt(i);
    }
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;

    CArray<Record*, Record*>& Array() { return m_records; }
    INT_PTR GetSize() const { return m_records.GetSize(); }
    const Record& operator[](INT_PTR index) const { return *m_records.GetAt(index); }

private:
    CArray<Record*, Record*> m_records;
};
} // namespace cli
