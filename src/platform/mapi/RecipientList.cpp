#include "platform/mapi/RecipientList.h"

#include "platform/mapi/Table.h"

#include <algorithm>

namespace mapisvc
{
HRESULT RecipientList::Add(const ADRLIST& list, bool keepRowIds, bool unicode)
{
    for (ULONG i = 0; i < list.cEntries; ++i)
    {
        const ADRENTRY& entry = list.aEntries[i];
        if (entry.cValues && !entry.rgPropVals)
            return MAPI_E_INVALID_PARAMETER;
        const SPropValue* rowId = PpropFindProp(entry.rgPropVals, entry.cValues, PR_ROWID);
        SubRecord recipient;
        recipient.key = nextRowId++;
        auto existing = rows.end();
        if (keepRowIds && rowId)
            existing = std::find_if(rows.begin(), rows.end(),
                                    [&](const SubRecord& r) { return r.key == static_cast<ULONG>(rowId->Value.l); });
        for (ULONG v = 0; v < entry.cValues; ++v)
        {
            const SPropValue& value = entry.rgPropVals[v];
            const ULONG type = PROP_TYPE(value.ulPropTag);
            if (value.ulPropTag == PR_ROWID || type == PT_ERROR || type == PT_NULL || !IsKnownType(type))
                continue;
            Prop prop;
            prop.tag = value.ulPropTag;
            if (EncodeValue(value, prop.data) != S_OK)
                return MAPI_E_INVALID_PARAMETER;
            recipient.props.Set(ToStoredWidth(std::move(prop), unicode));
        }
        if (existing != rows.end())
        {
            existing->props = std::move(recipient.props);
            continue;
        }
        rows.push_back(std::move(recipient));
    }
    return S_OK;
}

HRESULT RecipientList::Modify(ULONG ulFlags, const ADRLIST& mods, bool unicode)
{
    std::vector<SubRecord> before = rows;
    const ULONG seq = nextRowId;
    HRESULT hr = S_OK;
    if (ulFlags & MODRECIP_REMOVE)
    {
        for (ULONG i = 0; i < mods.cEntries; ++i)
        {
            const ADRENTRY& entry = mods.aEntries[i];
            const SPropValue* rowId = PpropFindProp(entry.rgPropVals, entry.cValues, PR_ROWID);
            if (!rowId)
            {
                hr = MAPI_E_INVALID_PARAMETER;
                break;
            }
            rows.erase(std::remove_if(rows.begin(), rows.end(),
                                      [&](const SubRecord& r) { return r.key == ULONG(rowId->Value.l); }),
                       rows.end());
        }
    }
    else if (ulFlags & MODRECIP_MODIFY)
        hr = Add(mods, true, unicode);
    else
    {
        if (!(ulFlags & MODRECIP_ADD))
            rows.clear();
        hr = Add(mods, false, unicode);
    }
    if (hr != S_OK)
    {
        rows = std::move(before);
        nextRowId = seq;
    }
    return hr;
}

std::vector<TableRow> RecipientList::TableRows(const std::string& owner) const
{
    std::vector<TableRow> table;
    for (const SubRecord& recipient : rows)
    {
        TableRow row{recipient.key, recipient.props};
        row.props.Set(PR_ROWID, EncodeLong(static_cast<LONG>(recipient.key)));
        row.props.Set(PR_INSTANCE_KEY, owner + EncodeLong(static_cast<LONG>(recipient.key)));
        table.push_back(std::move(row));
    }
    return table;
}

std::vector<ULONG> RecipientColumns()
{
    return {PR_ROWID, PR_INSTANCE_KEY, PR_DISPLAY_NAME, PR_EMAIL_ADDRESS, PR_ADDRTYPE, PR_RECIPIENT_TYPE, PR_ENTRYID};
}
} // namespace mapisvc
