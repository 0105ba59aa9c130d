#include "MapiTable.h"

#include "ServiceResult.h"
#include "Text.h"

namespace cli
{
RowSet ReadAllRows(LPMAPITABLE table, const std::vector<ULONG>& columns, const std::string& what)
{
    // An SPropTagArray is its count followed by the tags.
    std::vector<ULONG> tags = {static_cast<ULONG>(columns.size())};
    tags.insert(tags.end(), columns.begin(), columns.end());
    LPSRowSet rows = nullptr;
    const HRESULT hr =
        HrQueryAllRows(table, reinterpret_cast<LPSPropTagArray>(tags.data()), nullptr, nullptr, 0, &rows);
    table->Release();
    RowSet result(rows);
    CheckResult(hr, what);
    return result;
}

std::string TextOf(const SPropValue& value)
{
    return PROP_TYPE(value.ulPropTag) == PT_UNICODE ? Utf8(CString(value.Value.lpszW)) : std::string();
}

bool BoolOf(const SPropValue& value)
{
    return PROP_TYPE(value.ulPropTag) == PT_BOOLEAN && value.Value.b != 0;
}
} // namespace cli
