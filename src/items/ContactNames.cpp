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
} // namespace

// Prefix "Dr.", first "Anna", middle "Maria Luisa", last "Berg" and generation "Jr." give the file-as name
// "Anna Maria Luisa Berg", the full name "Dr. Anna Maria Luisa Berg Jr." and the initials "A.M.L.B.".
BOOL CMAPIContactItem::SetDisplayNames(CMAPIContactInfo* pInfo)
{
    if (!pInfo)
        return FALSE;
    CString strFullName;
    CString strFileAs;
    CString strInitials;
    if (!pInfo->strNamePrefix.IsEmpty())
        strFullName = pInfo->strNamePrefix + _T(" ");
    if (!pInfo->strFirstName.IsEmpty())
    {
        strFileAs += pInfo->strFirstName;
        AppendInitial(strInitials, pInfo->strFirstName, 0);
    }
    if (!pInfo->strMiddleName.IsEmpty())
    {
        AppendPart(strFileAs, pInfo->strMiddleName);
        AppendMiddleInitials(strInitials, pInfo->strMiddleName);
    }
    if (!pInfo->strLastName.IsEmpty())
    {
        AppendPart(strFileAs, pInfo->strLastName);
        AppendInitial(strInitials, pInfo->strLastName, 0);
    }
    strFullName += strFileAs;
    if (!pInfo->strGeneration.IsEmpty())
        AppendPart(strFullName, pInfo->strGeneration);

    if (!SetPropertyString(PR_INITIALS_W, strInitials))
        LOGTRACE(_T("[MAPI] Set failed : %s(strInitials)"), strInitials);
    if (SetPropertyString(PR_DISPLAY_NAME_W, strFullName))
        pInfo->strFullName = strFullName;
    else
        LOGTRACE(_T("[MAPI] Set failed : %s(strFullName)"), strFullName);
    if (SetPropertyString(mapipim::PidLidFileUnder, strFileAs, MAPIPIM_SET_ADDRESS))
        pInfo->strDisplay = strFileAs;
    else
        LOGTRACE(_T("[MAPI] Set failed : %s(strDisplayAs)"), strFileAs);
    if (!SetPropertyString(PR_SUBJECT_W, strFileAs))
        LOGTRACE(_T("[MAPI] Set failed : %s(strSubject)"), strFileAs);
    if (!SetPropertyString(PR_NORMALIZED_SUBJECT_W, strFileAs))
        LOGTRACE(_T("[MAPI] Set failed : %s(strNormalizeSubject)"), strFileAs);
    return TRUE;
}
