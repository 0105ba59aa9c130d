// CMAPIItem: the categories, kept by MAPI as the multi-valued string "Keywords" in PS_PUBLIC_STRINGS and carried
// by the records as one text. Reading joins the values with ",;"; writing splits at any comma or semicolon and
// drops empty pieces, so that what was read writes back as the same list.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>
#include <mapipim/SubString.h>

#include "items/CancelFlag.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringValue.h"

#include <vector>

using mapipim::AnsiText;
using mapipim::IsItemAccessCancelled;
using mapipim::ScopedBuffer;

namespace
{
const LPCWSTR kKeywords = _T("Keywords");
const LPCWSTR kCategorySeparators = _T(",;");
const LPCWSTR kCategoryJoin = _T(",;");

// The non-empty pieces of the text, at most nPieces of them.
std::vector<CString> SplitCategories(LPCWSTR szCategories, int nPieces)
{
    std::vector<CString> categories;
    CString strPiece;
    for (int i = 0; i < nPieces && GetExtractSubString(strPiece, szCategories, i, kCategorySeparators); ++i)
        if (!strPiece.IsEmpty())
            categories.push_back(strPiece);
    return categories;
}
} // namespace

BOOL CMAPIItem::GetCategories(CString& strCategories)
{
    ScopedBuffer<SPropValue> value;
    // Only the type GetValidMVString reads: a value of another type would be read through the wrong union member.
    if (!GetNamedStringProperty(kKeywords, value.Receive()) || !value ||
        PROP_TYPE(value->ulPropTag) != PROP_TYPE(StringTag(PT_MV_UNICODE)))
        return FALSE;
    strCategories.Empty();
    for (ULONG i = 0; i < value->Value.MVszW.cValues; ++i)
    {
        const CString strCategory = mapipim::StringOf(*value.Get(), i);
        if (strCategory.IsEmpty())
            continue;
        if (!strCategories.IsEmpty())
            strCategories += kCategoryJoin;
        strCategories += strCategory;
    }
    return TRUE;
}

BOOL CMAPIItem::SetCategories(LPCWSTR szCategories)
{
    if (!szCategories || IsItemAccessCancelled())
        return FALSE;
    const int nPieces = GetCountSubString(szCategories, kCategorySeparators);
    if (nPieces == 0)
        return RemoveNamedStringProperty(kKeywords);

    const std::vector<CString> categories = SplitCategories(szCategories, nPieces);
    // An ANSI-only store takes the values as 8-bit strings, through the same pointer array.
    std::vector<AnsiText> ansiCategories;
    std::vector<LPWSTR> values;
    ansiCategories.reserve(categories.size());
    for (const CString& strCategory : categories)
    {
        if (IsUnicodeStore())
        {
            values.push_back(const_cast<LPWSTR>(static_cast<LPCWSTR>(strCategory)));
            continue;
        }
        ansiCategories.emplace_back(strCategory);
        values.push_back(reinterpret_cast<LPWSTR>(ansiCategories.back().Get()));
    }
    ScopedBuffer<SPropValue> written;
    return SetNamedStringPropertyMV(kKeywords, values.data(), static_cast<int>(values.size()), written.Receive(), TRUE);
}
