#include "interface/FolderRow.h"

#include "session/StringValue.h"

#include <cstring>
#include <string>

namespace mapipim
{
namespace
{
// Strings of this length or longer may have been cut to it by a store's table.
const size_t nTableStringLimit = 255;

size_t StringLength(const SPropValue& value)
{
    if (PROP_TYPE(value.ulPropTag) == PT_UNICODE && value.Value.lpszW)
        return std::char_traits<WCHAR>::length(value.Value.lpszW);
    if (PROP_TYPE(value.ulPropTag) == PT_STRING8 && value.Value.lpszA)
        return std::strlen(value.Value.lpszA);
    return 0;
}

// A string column whose value must be read from the folder: the table may have cut it short, or could not
// carry it. A value the folder does not have at all is no reason to open it.
bool MayBeCut(const SPropValue& value)
{
    if (PROP_TYPE(value.ulPropTag) == PT_ERROR)
        return value.Value.err != MAPI_E_NOT_FOUND;
    return StringLength(value) >= nTableStringLimit;
}
} // namespace

FolderRow::Columns::Columns(const CMAPIFolder& container, bool bCount)
    : m_tags{bCount ? nColumns : nContentCount,
             {PR_ENTRYID, container.StringTag(PR_DISPLAY_NAME_W), container.StringTag(PR_CONTAINER_CLASS_W), PR_DEPTH,
              PR_SUBFOLDERS, PR_CONTENT_COUNT}}
{
}

SPropValue FolderRow::Value(Column nColumn) const
{
    if (static_cast<ULONG>(nColumn) < m_row.cValues)
        return m_row.lpProps[nColumn];
    SPropValue missing = {};
    missing.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID_NULL);
    missing.Value.err = MAPI_E_NOT_FOUND;
    return missing;
}

SBinary* FolderRow::EntryID() const
{
    if (m_row.cValues <= nEntryID || m_row.lpProps[nEntryID].ulPropTag != PR_ENTRYID)
        return nullptr;
    return &m_row.lpProps[nEntryID].Value.bin;
}

LONG FolderRow::Depth() const
{
    const SPropValue value = Value(nDepth);
    return value.ulPropTag == PR_DEPTH ? value.Value.l : 0;
}

bool FolderRow::HasSubFolders() const
{
    const SPropValue value = Value(nSubFolders);
    return value.ulPropTag != PR_SUBFOLDERS || value.Value.b;
}

CString FolderRow::Name()
{
    return StringColumn(nDisplayName, PR_DISPLAY_NAME_W);
}

CString FolderRow::ContainerClass()
{
    return StringColumn(nContainerClass, PR_CONTAINER_CLASS_W);
}

CString FolderRow::StringColumn(Column nColumn, ULONG ulUnicodeTag)
{
    const SPropValue value = Value(nColumn);
    CString strValue;
    CMAPIFolder* pFolder = MayBeCut(value) ? Folder() : nullptr;
    if (pFolder && pFolder->GetPropertyString(ulUnicodeTag, strValue))
        return strValue;
    return StringOf(value);
}

int FolderRow::Count()
{
    const SPropValue value = Value(nContentCount);
    if (value.ulPropTag == PR_CONTENT_COUNT)
        return value.Value.l;
    CMAPIFolder* pFolder = Folder();
    return pFolder && pFolder->GetContents() ? pFolder->GetRowCount() : 0;
}

CMAPIFolder* FolderRow::Folder()
{
    SBinary* pEntryID = EntryID();
    if (!m_bOpenTried && pEntryID)
        m_container.OpenSubFolder(*pEntryID, m_folder);
    m_bOpenTried = true;
    return m_folder.GetMAPIProp() ? &m_folder : nullptr;
}
} // namespace mapipim
