#include "platform/mapi/RowSource.h"

#include <algorithm>

namespace mapisvc
{
PropertyBag WantedProps(const PropertyBag& props, const std::vector<ULONG>* wanted)
{
    if (!wanted)
        return props;
    PropertyBag subset;
    // Both lists are in id order, so the subset stays ordered as a bag must be.
    for (const Prop& prop : props.Props())
        if (std::binary_search(wanted->begin(), wanted->end(), PROP_ID(prop.tag)))
            subset.Props().push_back(prop);
    return subset;
}

TableRow& AppendRow(std::vector<TableRow>& rows, PropertyBag props)
{
    TableRow row{static_cast<int64_t>(rows.size()), std::move(props)};
    row.props.Set(PR_INSTANCE_KEY, EncodeInt64(row.key));
    rows.push_back(std::move(row));
    return rows.back();
}

HRESULT MemoryRowSource::Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                              std::vector<TableRow>& rows)
{
    auto it = std::upper_bound(m_rows.begin(), m_rows.end(), afterKey,
                               [](int64_t key, const TableRow& row) { return key < row.key; });
    for (; it != m_rows.end() && limit; ++it, --limit)
        rows.push_back({it->key, WantedProps(it->props, wanted)});
    return S_OK;
}

HRESULT MemoryRowSource::Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                               std::vector<TableRow>& rows)
{
    for (int64_t key : keys)
    {
        auto it = std::lower_bound(m_rows.begin(), m_rows.end(), key,
                                   [](const TableRow& row, int64_t k) { return row.key < k; });
        if (it != m_rows.end() && it->key == key)
            rows.push_back({it->key, WantedProps(it->props, wanted)});
    }
    return S_OK;
}

HRESULT MemoryRowSource::Count(ULONG& count)
{
    count = static_cast<ULONG>(m_rows.size());
    return S_OK;
}
} // namespace mapisvc
