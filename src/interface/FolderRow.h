// One row of a hierarchy table read as the folder it names. Discovery takes what it needs from the row's columns
// instead of opening every folder; the folder itself is opened, once, only for what the row cannot carry whole:
// a name or class the table may have cut short (some stores' tables keep 255 characters) or could not hold (long
// values stay out of table rows), and an item count the table could not give.
#pragma once

#include <mapipim/MAPIFolder.h>

namespace mapipim
{
class FolderRow
{
public:
    // The columns a walk sets on a hierarchy table of container, strings in the form its store keeps them:
    // PR_SUBFOLDERS only for a table of one level (the levels below come from a table of all levels, which
    // has no need of it), the item count only when the counts are asked for.
    class Columns
    {
    public:
        Columns(const CMAPIFolder& container, bool bAllLevels, bool bCount);
        LPSPropTagArray Get() { return reinterpret_cast<LPSPropTagArray>(&m_tags); }

    private:
        SizedSPropTagArray(6, m_tags);
    };

    // container: the folder whose hierarchy table gave the row, below which the row's folder is opened.
    FolderRow(CMAPIFolder& container, SRow& row) : m_container(container), m_row(row) {}

    FolderRow(const FolderRow&) = delete;
    FolderRow& operator=(const FolderRow&) = delete;

    // Null when the row holds no identifier.
    SBinary* EntryID() const;
    // PR_DEPTH; 0 when the row has none.
    LONG Depth() const;
    // True also when the row cannot tell: the folder is then looked into.
    bool HasSubFolders() const;
    CString Name();
    CString ContainerClass();
    // The number of items (not associated ones) in the folder.
    int Count();
    // The row's folder, opened at the first call; null when it cannot be opened.
    CMAPIFolder* Folder();

private:
    // The row's column for this property (of whatever type); null when the row has none.
    SPropValue* Find(ULONG ulPropTag) const;
    // The value of the row's column for this property (of whatever type); PT_ERROR (not found) when the row has
    // no such column.
    SPropValue Value(ULONG ulPropTag) const;
    CString StringColumn(ULONG ulUnicodeTag);

    CMAPIFolder& m_container;
    SRow& m_row;
    CMAPIFolder m_folder;
    bool m_bOpenTried = false;
};
} // namespace mapipim
