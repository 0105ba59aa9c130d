// CMAPIItem: counting, listing and deleting attachments, and reading a content identifier. Saving and adding,
// which copy contents through streams, live in files of their own.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>
#include <mapipim/SBinaryUtils.h>

#include "items/AttachmentTable.h"
#include "items/CancelFlag.h"
#include "platform/platform.h"
#include "session/Scoped.h"
#include "session/StringMode.h"
#include "session/StringValue.h"

using mapipim::AttachmentTable;
using mapipim::GetRowNumber;
using mapipim::GetRowText;
using mapipim::IsItemAccessCancelled;
using mapipim::ScopedBuffer;
using mapipim::ScopedRows;

namespace
{
// The columns listed for each attachment, in table order, with the trace line that shows each one. A number
// column shows its value, a text column its text, a binary column its byte count and its bytes as text.
struct NameColumn
{
    ULONG ulPropTag;
    LPCWSTR szTrace;
};

const NameColumn kNameColumns[] = {
    {PR_ATTACH_NUM, _T("PR_ATTACH_NUM : %d")},
    {PR_ATTACH_LONG_FILENAME_W, _T("PR_ATTACH_FILENAME : %s")},
    {PR_ATTACH_FILENAME_W, _T("PR_ATTACH_FILENAME : %s")},
    {PR_ATTACHMENT_CONTACTPHOTO, _T("PR_ATTACHMENT_CONTACTPHOTO : %d")},
    {PR_DISPLAY_NAME_W, _T("PR_DISPLAY_NAME : %s")},
    {PR_ATTACH_METHOD, _T("PR_ATTACH_METHOD : %d")},
    {PR_RENDERING_POSITION, _T("PR_RENDERING_POSITION : %d")},
    {PR_ATTACH_CONTENT_ID_W, _T("PR_ATTACH_CONTENT_ID : %s")},
    {PR_ATTACH_TAG, _T("PR_ATTACH_TAG : %d, %s")},
    {PR_ATTACH_ENCODING, _T("PR_ATTACH_ENCODING : %d, %s")},
    {PR_ATTACH_ADDITIONAL_INFO, _T("PR_ATTACH_ADDITIONAL_INFO : %d, %s")},
    {PR_ATTACHMENT_LINKID, _T("PR_ATTACHMENT_LINKID : %d")},
    {PR_ATTACHMENT_FLAGS, _T("PR_ATTACHMENT_FLAGS : %d")},
    {PR_ATTACHMENT_HIDDEN, _T("PR_ATTACHMENT_HIDDEN : %d")},
    {PR_ATTACH_MIME_TAG_W, _T("PR_ATTACH_MIME_TAG : %s")},
    {PR_ATTACH_CONTENT_LOCATION_W, _T("PR_ATTACH_CONTENT_LOCATION : %s")},
    {PR_ATTACH_CONTENT_BASE_W, _T("PR_ATTACH_CONTENT_BASE : %s")},
};
const int kNameColumnCount = sizeof(kNameColumns) / sizeof(kNameColumns[0]);
enum
{
    kNameNumColumn = 0,
    kNameLongFileNameColumn = 1,
    kNameFileNameColumn = 2,
    kNamePhotoColumn = 3,
};

// The tag array of the listed columns. The two file names are asked for in the store's string width, the other
// text columns always as UTF-16.
struct NameColumnTags
{
    ULONG cValues;
    ULONG aulPropTag[kNameColumnCount];
};

NameColumnTags MakeNameColumnTags(const CMAPIItem& item)
{
    NameColumnTags columns;
    columns.cValues = kNameColumnCount;
    for (int i = 0; i < kNameColumnCount; ++i)
        columns.aulPropTag[i] = kNameColumns[i].ulPropTag;
    columns.aulPropTag[kNameLongFileNameColumn] = item.StringTag(PR_ATTACH_LONG_FILENAME_W);
    columns.aulPropTag[kNameFileNameColumn] = item.StringTag(PR_ATTACH_FILENAME_W);
    return columns;
}

void TraceNameColumn(const SRow& row, int nColumn)
{
    const LPCWSTR szTrace = kNameColumns[nColumn].szTrace;
    switch (PROP_TYPE(kNameColumns[nColumn].ulPropTag))
    {
    case PT_UNICODE:
        LOGTRACE(szTrace, GetRowText(row, nColumn));
        break;
    case PT_BINARY:
    {
        const SPropValue* pValue = mapipim::FindRowValue(row, nColumn, kNameColumns[nColumn].ulPropTag);
        const CString strBytes = pValue ? mapipim::BinaryAsText(pValue->Value.bin) : CString();
        LOGTRACE(szTrace, pValue ? static_cast<LONG>(pValue->Value.bin.cb) : GetRowNumber(row, nColumn), strBytes);
        break;
    }
    default:
        LOGTRACE(szTrace, GetRowNumber(row, nColumn));
        break;
    }
}

// A message counts no attachments unless its PR_HASATTACH says it has some, whatever its table holds.
bool HasAttachFlag(CMAPIItem& item)
{
    ScopedBuffer<SPropValue> hasAttach;
    return item.GetProperty(PR_HASATTACH, hasAttach.Receive()) == S_OK && hasAttach &&
           hasAttach->ulPropTag == PR_HASATTACH && hasAttach->Value.b;
}

// The long file name, or the file name when the long one is empty.
CString GetRowFileName(const SRow& row, int nLongFileNameColumn, int nFileNameColumn)
{
    const CString strLongFileName = GetRowText(row, nLongFileNameColumn);
    return strLongFileName.IsEmpty() ? GetRowText(row, nFileNameColumn) : strLongFileName;
}
} // namespace

int CMAPIItem::GetAttachmentCount()
{
    AttachmentTable table;
    if (!HasAttachFlag(*this) || !table.Open(m_pItem))
        return 0;
    return table.GetRowCount();
}

BOOL CMAPIItem::GetAttachmentCID(CString& strCID, int nIndex)
{
    if (IsItemAccessCancelled())
        return FALSE;
    strCID.Empty();
    AttachmentTable table;
    if (!table.Open(m_pItem))
        return FALSE;
    const int nCount = HasAttachFlag(*this) ? table.GetRowCount() : 0;
    if (nIndex < 0 || nIndex >= nCount)
        return FALSE;
    SizedSPropTagArray(1, columns) = {1, {StringTag(PR_ATTACH_CONTENT_ID_W)}};
    ScopedRows rows;
    if (!table.SetColumns(reinterpret_cast<LPSPropTagArray>(&columns)) ||
        table.GetTable()->QueryRows(nCount, 0, &rows.Receive()) != S_OK || !rows.Get() ||
        static_cast<ULONG>(nIndex) >= rows->cRows)
        return FALSE;
    strCID = GetRowText(rows->aRow[nIndex], 0);
    return !strCID.IsEmpty();
}

BOOL CMAPIItem::GetAttachmentNames(CString& strNames, int nIndex, int nFilter)
{
    if (IsItemAccessCancelled())
        return FALSE;
    strNames.Empty();
    AttachmentTable table;
    NameColumnTags columns = MakeNameColumnTags(*this);
    if (!table.Open(m_pItem) || !table.SetColumns(reinterpret_cast<LPSPropTagArray>(&columns)))
        return FALSE;
    table.Walk(nIndex, nFilter, kNamePhotoColumn,
               [&](const SRow& row)
               {
                   const CString strName = GetRowFileName(row, kNameLongFileNameColumn, kNameFileNameColumn);
                   if (!strName.IsEmpty())
                   {
                       if (!strNames.IsEmpty())
                           strNames += _T(";");
                       strNames += strName;
                   }
                   for (int i = 0; i < kNameColumnCount; ++i)
                       TraceNameColumn(row, i);
                   return true;
               });
    return !strNames.IsEmpty();
}

BOOL CMAPIItem::DeleteAttachment(int nIndex, int nFilter)
{
    if (IsItemAccessCancelled())
        return FALSE;
    enum
    {
        kNumColumn,
        kPhotoColumn
    };
    SizedSPropTagArray(2, columns) = {2, {PR_ATTACH_NUM, PR_ATTACHMENT_CONTACTPHOTO}};
    AttachmentTable table;
    if (!table.Open(m_pItem) || !table.SetColumns(reinterpret_cast<LPSPropTagArray>(&columns)))
        return FALSE;
    return table.Walk(nIndex, nFilter, kPhotoColumn,
                      [&](const SRow& row)
                      {
                          const SPropValue* pNum = mapipim::FindRowValue(row, kNumColumn, PR_ATTACH_NUM);
                          return pNum && table.GetMessage()->DeleteAttach(pNum->Value.ul, 0, NULL, 0) == S_OK;
                      });
}
