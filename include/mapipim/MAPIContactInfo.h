// CMAPIContactInfo: one contact as a plain record, read from and written to contact messages by the contact item.
// Times are local; a SYSTEMTIME whose wYear is 0 is not set. strFullName, strDisplay and strInitial are derived
// from the name parts when a contact is written.
#pragma once

#include <mapipim/MAPIInfoBase.h>

class MAPIPIM_API CMAPIContactInfo : public CMAPIInfoBase
{
public:
    CMAPIContactInfo();
    CMAPIContactInfo(const CMAPIContactInfo& source);
    ~CMAPIContactInfo();

    CMAPIContactInfo& operator=(const CMAPIContactInfo& source);

    // ---- Names and organisation
    CString strFullName;
    CString strLastName;
    CString strFirstName;
    CString strMiddleName;
    CString strInitial;
    CString strCompany;
    CString strDepartment;
    CString strTitle;
    CString strDisplay; // the file-as name
    // ---- E-mail slots and web
    CString strEmail1;
    CString strEmailDispaly1;
    CString strEmail2;
    CString strEmailDispaly2;
    CString strEmail3;
    CString strEmailDispaly3;
    CString strBizHomePage;
    CString strHomePage;
    CString strIMAddress;
    CString strMemo; // the notes (message body)
    // ---- Telephone numbers
    CString strNumberBase;
    CString strNumberHome1;
    CString strNumberHome2;
    CString strNumberHomeFax;
    CString strNumberCellphone;
    CString strNumberRadioTelephony;
    CString strNumberBeeper;
    CString strNumberCompany;
    CString strNumberBiz1;
    CString strNumberBiz2;
    CString strNumberBizFax;
    CString strNumberAssistant;
    CString strNumberCallback;
    CString strNumberCarphone;
    CString strNumberOther;
    CString strNumberOtherFax;
    CString strNumberISDN;
    CString strNumberTelex;
    CString strNumberTTYTDD;
    // ---- Addresses
    CString strHomePostalCode;
    CString strHomeState;
    CString strHomeCity;
    CString strHomeStreet;
    CString strHomeCountry;
    CString strBizPostalCode;
    CString strBizState;
    CString strBizCity;
    CString strBizStreet;
    CString strBizCountry;
    CString strOtherPostalCode;
    CString strOtherState;
    CString strOtherCity;
    CString strOtherStreet;
    CString strOtherCountry;
    // ---- Further personal and business data
    CString strOffice;
    CString strJob; // profession
    CString strManagerName;
    CString strAssistantName;
    CString strNickName;
    CString strSpouseName;
    CString strNamePrefix;
    CString strGeneration;
    CString strInternetAddress; // free/busy URL
    SYSTEMTIME tmBirthday;
    SYSTEMTIME tmAnniversary;
    int nSensitivity; // 0 none, 1 personal, 2 private, 3 confidential
    // On reading, the picture attachment's file name(s); on writing, the image file that becomes the picture,
    // empty to remove it; a value without a backslash after its first character leaves the picture as it is.
    CString strPicturePath;
    // Attachments other than the picture: file names when read; full paths separated by "," or ";" to attach.
    CString strAttachFile;
};
