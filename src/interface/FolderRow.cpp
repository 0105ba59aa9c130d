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

FolderRow::Columns::Columns(const CMAPIFolder& container, bool bAllLevels, bool bCount)
    : m_tags{4,
             {PR_ENTRYID, container.StringTag(PR_DISPLAY_NAME_W), container.StringTag(PR_CONTAINER_CLASS_W), PR_DEPTH}}
{
    if (!bAllLevels)
        m_tags.aulPropTag[m_tags.cValues++] = PR_SUBFOLDERS;
    if (bCount)
        m_tags.aulPropTag[m_tags.cValues++] = PR_CONTENT_COUNT;
}

SPropValue* FolderRow::Find(ULONG ulPropTag) const
{
    for (ULONG nColumn = 0; nColumn < m_row.cValues; ++nColumn)
    {
        if (PROP_ID(m_row.lpProps[nColumn].ulPropTag) == PROP_ID(ulPropTag))
            return &m_row.lpProps[nColumn];
    }
    return nullptr;
}

SPropValue FolderRow::Value(ULONG ulPropTag) const
{
    if (const SPropValue* pValue = Find(ulPropTag))
        return *pValue;
    SPropValue missing = {};
    missing.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(ulPropTag));
    missing.Value.err = MAPI_E_NOT_FOUND;
    return missing;
}

SBinary* FolderRow::EntryID() const
{
    SPropValue* pValue = Find(PR_ENTRYID);
    return pValue && pValue->ulPropTag == PR_ENTRYID ? &pValue->Value.bin : nullptr;
}

LONG FolderRow::Depth() const
{
    const SPropValue value = Value(PR_DEPTH);
    return value.ulPropTag == PR_DEPTH ? value.Value.l : 0;
}

bool FolderRow::HasSubFolders() const
{
    const SPropValue value = Value(PR_SUBFOLDERS);
    return value.ulPropTag != PR_SUBFOLDERS || value.Value.b;
}

CString FolderRow::Name()
{
    return StringColumn(PR_DISPLAY_NAME_W);
}

CString FolderRow::ContainerClass()
{
    return StringColumn(PR_CONTAINER_CLASS_W);
}

CString FolderRow::StringColumn(ULONG ulUnicodeTag)
{
    const SPropValue value = Value(ulUnicodeTag);
    CString strValue;
    CMAPIFolder* pFolder = MayBeCut(value) ? Folder() : nullptr;
    if (pFolder && pFolder->GetPropertyString(ulUnicodeTag, strValue))
        return strValue;
    return StringOf(value);
}

int FolderRow::Count()
{
    const SPropValue value = Value(PR_CONTENT_COUNT);
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
