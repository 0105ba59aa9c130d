#include "items/AttachmentFileName.h"

namespace mapipim
{
const LPCWSTR kDefaultAttachmentFileName = _T("Attachment.dat");
const LPCWSTR kContactPictureFileName = _T("ContactPicture.jpg");

namespace
{
bool IsNameSeparator(WCHAR ch)
{
    return ch == _T('\\') || ch == _T('/');
}

bool IsRefusedInFileName(WCHAR ch)
{
    static const WCHAR kRefused[] = _T("\\/:*?\"<>|");
    if (ch < 0x20 || ch == 0x7F)
        return true;
    for (const WCHAR* p = kRefused; *p; ++p)
        if (*p == ch)
            return true;
    return false;
}

// Windows opens a device, not a file, for these names, whatever extension follows.
bool IsDeviceName(const CString& strName)
{
    static const LPCWSTR kDevices[] = {_T("CON"),  _T("PRN"),  _T("AUX"),  _T("NUL"),  _T("COM1"), _T("COM2"),
                                       _T("COM3"), _T("COM4"), _T("COM5"), _T("COM6"), _T("COM7"), _T("COM8"),
                                       _T("COM9"), _T("LPT1"), _T("LPT2"), _T("LPT3"), _T("LPT4"), _T("LPT5"),
                                       _T("LPT6"), _T("LPT7"), _T("LPT8"), _T("LPT9")};
    const int nDot = strName.Find(_T('.'));
    CString strBase = nDot < 0 ? strName : strName.Left(nDot);
    strBase.TrimRight(_T(' '));
    for (LPCWSTR szDevice : kDevices)
        if (strBase.CompareNoCase(szDevice) == 0)
            return true;
    return false;
}
} // namespace

CString GetFileNamePart(LPCWSTR szPath)
{
    if (!szPath)
        return CString();
    int nStart = 0;
    for (int i = 0; szPath[i]; ++i)
        if (IsNameSeparator(szPath[i]))
            nStart = i + 1;
    return CString(szPath + nStart);
}

CString GetSafeAttachmentFileName(LPCWSTR szStoredName)
{
    CString strName = GetFileNamePart(szStoredName);
    // Windows drops trailing dots and blanks from a file name, which would turn ".. " into "..": drop them
    // first, on every platform, so that "." and ".." leave nothing.
    strName.TrimRight(_T(". "));
    if (strName.IsEmpty())
        return kDefaultAttachmentFileName;
    for (int i = 0; i < strName.GetLength(); ++i)
        if (IsRefusedInFileName(strName[i]))
            strName.SetAt(i, _T('_'));
    if (IsDeviceName(strName))
        strName.Insert(0, _T('_'));
    return strName;
}
} // namespace mapipim
