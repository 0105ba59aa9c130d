#include "items/AttachmentTable.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIItem.h>

namespace mapipim
{
namespace
{
bool PassesFilter(const SRow& row, int nPhotoColumn, int nFilter)
{
    const SPropValue* pPhoto = FindRowValue(row, nPhotoColumn, PR_ATTACHMENT_CONTACTPHOTO);
    const bool bPhoto = pPhoto && pPhoto->Value.b == 1;
    switch (nFilter)
    {
    case MAPIPIM_ATTACH_PHOTO_ONLY:
        return bPhoto;
    case MAPIPIM_ATTACH_NO_PHOTO:
        return !bPhoto;
    default:
        return true;
    }
}
} // namespace

bool QueryMessage(IMAPIProp* pItem, ScopedInterface<IMessage>& message)
{
    if (!pItem)
        return false;
    return pItem->QueryInterface(IID_IMessage, reinterpret_cast<LPVOID*>(&message.Receive())) == S_OK && message;
}

const SPropValue* FindRowValue(const SRow& row, int nColumn, ULONG ulPropTag)
{
    if (nColumn < 0 || static_cast<ULONG>(nColumn) >= row.cValues || !row.lpProps)
        return nullptr;
    const SPropValue& value = row.lpProps[nColumn];
    return value.ulPropTag == ulPropTag ? &value : nullptr;
}

LONG GetRowNumber(const SRow& row, int nColumn)
{
    if (nColumn < 0 || static_cast<ULONG>(nColumn) >= row.cValues || !row.lpProps)
        return MAPI_E_NOT_FOUND;
    const SPropValue& value = row.lpProps[nColumn];
    switch (PROP_TYPE(value.ulPropTag))
    {
    case PT_BOOLEAN:
        return value.Value.b;
    case PT_LONG:
        return value.Value.l;
    default:
        return value.Value.err;
    }
}

CString GetRowText(const SRow& row, int nColumn)
{
    CString strText;
    if (nColumn < 0 || static_cast<ULONG>(nColumn) >= row.cValues || !row.lpProps)
        return strText;
    const SPropValue& value = row.lpProps[nColumn];
    if (PROP_TYPE(value.ulPropTag) == PT_UNICODE)
        strText = value.Value.lpszW;
    else if (PROP_TYPE(value.ulPropTag) == PT_STRING8)
        CMAPIEx::GetUnicodeString(strText, value.Value.lpszA);
    return strText;
}

bool AttachmentTable::Open(IMAPIProp* pItem)
{
    if (!QueryMessage(pItem, m_message))
        return false;
    return m_message->GetAttachmentTable(0, &m_table.Receive()) == S_OK && m_table;
}

int AttachmentTable::GetRowCount() const
{
    ULONG ulCount = 0;
    if (!m_table || m_table->GetRowCount(0, &ulCount) != S_OK)
        return 0;
    return static_cast<int>(ulCount);
}

bool AttachmentTable::SetColumns(LPSPropTagArray pColumns)
{
    return m_table && m_table->SetColumns(pColumns, 0) == S_OK;
}

bool AttachmentTable::Walk(int nIndex, int nFilter, int nPhotoColumn, const RowHandler& handleRow)
{
    if (!m_table)
        return false;
    if (nIndex < -1)
        return true; // no row has a negative position
    for (int nPosition = 0;; ++nPosition)
    {
        ScopedRows rows;
        if (m_table->QueryRows(1, 0, &rows.Receive()) != S_OK)
            return false;
        if (!rows.Get() || rows->cRows == 0)
            return true;
        if (nPosition < nIndex)
            continue;
        const SRow& row = rows->aRow[0];
        if (!PassesFilter(row, nPhotoColumn, nFilter))
        {
            if (nIndex == -1)
                continue;
            return true;
        }
        if (!handleRow(row))
            return false;
        if (nIndex != -1)
            return true;
    }
}
} // namespace mapipim
