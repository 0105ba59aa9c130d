// CMAPIContactItem: the names Outlook derives from the name parts: the full (display) name, the file-as name, the
// initials, and the subject, which Outlook keeps equal to the file-as name.
#include "items/MAPIContactItem.h"

#include "items/ContactProperties.h"
#include "platform/trace/Trace.h"

namespace
{
bool IsHighSurrogate(WCHAR ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(WCHAR ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// The character at nIndex followed by "."; a character outside the Basic Multilingual Plane (an emoji, a rare
// CJK ideograph) is taken whole, since half of its surrogate pair is no text.
void AppendInitial(CString& strInitials, const CString& strName, int nIndex)
{
    strInitials.AppendChar(strName[nIndex]);
    if (IsHighSurrogate(strName[nIndex]) && IsLowSurrogate(strName[nIndex + 1]))
        strInitials.AppendChar(strName[nIndex + 1]);
    strInitials.AppendChar(_T('.'));
}

// Appends a name part to the file-as name, a blank ahead of it when the name is not empty.
void AppendPart(CString& strName, const CString& strPart)
{
    if (!strName.IsEmpty())
        strName += _T(" ");
    strName += strPart;
}

// Every word of a middle name gives an initial: its first character, then each character after a blank.
void AppendMiddleInitials(CString& strInitials, const CString& strMiddleName)
{
    AppendInitial(strInitials, strMiddleName, 0);
    for (int i = 1; i < strMiddleName.GetLength(); ++i)
        if (strMiddleName[i - 1] == _T(' '))
            AppendInitial(strInitials, strMiddleName, i);
}

// The names derived from the name parts of a record.
struct DerivedNames
{
    CString strFullName;
    CString strFileAs;
    CString strInitials;
};

// Prefix "Dr.", first "Anna", middle "Maria Luisa", last "Berg" and generation "Jr." give the file-as name
// "Anna Maria Luisa Berg", the full name "Dr. Anna Maria Luisa Berg Jr." and the initials "A.M.L.B.".
DerivedNames DeriveNames(const CMAPIContactInfo& info)
{
    DerivedNames names;
    if (!info.strNamePrefix.IsEmpty())
        names.strFullName = info.strNamePrefix + _T(" ");
    if (!info.strFirstName.IsEmpty())
    {
        names.strFileAs += info.strFirstName;
        AppendInitial(names.strInitials, info.strFirstName, 0);
    }
    if (!info.strMiddleName.IsEmpty())
    {
        AppendPart(names.strFileAs, info.strMiddleName);
        AppendMiddleInitials(names.strInitials, info.strMiddleName);
    }
    if (!info.strLastName.IsEmpty())
    {
        AppendPart(names.strFileAs, info.strLastName);
        AppendInitial(names.strInitials, info.strLastName, 0);
    }
    names.strFullName += names.strFileAs;
    if (!info.strGeneration.IsEmpty())
        AppendPart(names.strFullName, info.strGeneration);
    return names;
}
} // namespace

// Every derived name is written, an empty one as an empty property; the record takes the full and file-as names
// that could be written.
BOOL CMAPIContactItem::SetDisplayNames(CMAPIContactInfo* pInfo)
{
    if (!pInfo)
        return FALSE;
    const DerivedNames names = DeriveNames(*pInfo);
    if (!SetPropertyString(PR_INITIALS_W, names.strInitials))
        LOGTRACE(_T("[MAPI] Set failed : %s(strInitials)"), names.strInitials);
    if (SetPropertyString(PR_DISPLAY_NAME_W, names.strFullName))
        pInfo->strFullName = names.strFullName;
    else
        LOGTRACE(_T("[MAPI] Set failed : %s(strFullName)"), names.strFullName);
    if (SetPropertyString(mapipim::PidLidFileUnder, names.strFileAs, MAPIPIM_SET_ADDRESS))
        pInfo->strDisplay = names.strFileAs;
    else
        LOGTRACE(_T("[MAPI] Set failed : %s(strDisplayAs)"), names.strFileAs);
    if (!SetPropertyString(PR_SUBJECT_W, names.strFileAs))
        LOGTRACE(_T("[MAPI] Set failed : %s(strSubject)"), names.strFileAs);
    if (!SetPropertyString(PR_NORMALIZED_SUBJECT_W, names.strFileAs))
        LOGTRACE(_T("[MAPI] Set failed : %s(strNormalizeSubject)"), names.strFileAs);
    return TRUE;
}
