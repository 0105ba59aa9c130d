// Reading a whole MAPI table (the profile table, a session's stores table) into rows that free themselves, and
// the column values as the program uses them.
#pragma once

#include <mapipim/platform.h>

#include <memory>
#include <string>
#include <vector>

namespace cli
{
struct RowSetRelease
{
    void operator()(LPSRowSet rows) const { FreeProws(rows); }
};
typedef std::unique_ptr<SRowSet, RowSetRelease> RowSet;

// Every row of the table with the columns given; the table is released. Throws Failure("<what>: ...").
RowSet ReadAllRows(LPMAPITABLE table, const std::vector<ULONG>& columns, const std::string& what);

// A PT_UNICODE column as UTF-8; empty when the row lacks it.
std::string TextOf(const SPropValue& value);
// A PT_BOOLEAN column; false when the row lacks it.
bool BoolOf(const SPropValue& value);
} // namespace cli
