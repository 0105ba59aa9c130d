// Contact records for tests: every text field of the record by member pointer, so that each field can be filled
// and compared alike.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <cstddef>

typedef CString CMAPIContactInfo::*ContactTextField;

// The record's 64 text fields in declaration order; with the two dates and the sensitivity they make its 67 fields.
inline const ContactTextField kContactTextFields[] = {
    &CMAPIContactInfo::strFullName,
    &CMAPIContactInfo::strLastName,
    &CMAPIContactInfo::strFirstName,
    &CMAPIContactInfo::strMiddleName,
    &CMAPIContactInfo::strInitial,
    &CMAPIContactInfo::strCompany,
    &CMAPIContactInfo::strDepartment,
    &CMAPIContactInfo::strTitle,
    &CMAPIContactInfo::strDisplay,
    &CMAPIContactInfo::strEmail1,
    &CMAPIContactInfo::strEmailDispaly1,
    &CMAPIContactInfo::strEmail2,
    &CMAPIContactInfo::strEmailDispaly2,
    &CMAPIContactInfo::strEmail3,
    &CMAPIContactInfo::strEmailDispaly3,
    &CMAPIContactInfo::strBizHomePage,
    &CMAPIContactInfo::strHomePage,
    &CMAPIContactInfo::strIMAddress,
    &CMAPIContactInfo::strMemo,
    &CMAPIContactInfo::strNumberBase,
    &CMAPIContactInfo::strNumberHome1,
    &CMAPIContactInfo::strNumberHome2,
    &CMAPIContactInfo::strNumberHomeFax,
    &CMAPIContactInfo::strNumberCellphone,
    &CMAPIContactInfo::strNumberRadioTelephony,
    &CMAPIContactInfo::strNumberBeeper,
    &CMAPIContactInfo::strNumberCompany,
    &CMAPIContactInfo::strNumberBiz1,
    &CMAPIContactInfo::strNumberBiz2,
    &CMAPIContactInfo::strNumberBizFax,
    &CMAPIContactInfo::strNumberAssistant,
    &CMAPIContactInfo::strNumberCallback,
    &CMAPIContactInfo::strNumberCarphone,
    &CMAPIContactInfo::strNumberOther,
    &CMAPIContactInfo::strNumberOtherFax,
    &CMAPIContactInfo::strNumberISDN,
    &CMAPIContactInfo::strNumberTelex,
    &CMAPIContactInfo::strNumberTTYTDD,
    &CMAPIContactInfo::strHomePostalCode,
    &CMAPIContactInfo::strHomeState,
    &CMAPIContactInfo::strHomeCity,
    &CMAPIContactInfo::strHomeStreet,
    &CMAPIContactInfo::strHomeCountry,
    &CMAPIContactInfo::strBizPostalCode,
    &CMAPIContactInfo::strBizState,
    &CMAPIContactInfo::strBizCity,
    &CMAPIContactInfo::strBizStreet,
    &CMAPIContactInfo::strBizCountry,
    &CMAPIContactInfo::strOtherPostalCode,
    &CMAPIContactInfo::strOtherState,
    &CMAPIContactInfo::strOtherCity,
    &CMAPIContactInfo::strOtherStreet,
    &CMAPIContactInfo::strOtherCountry,
    &CMAPIContactInfo::strOffice,
    &CMAPIContactInfo::strJob,
    &CMAPIContactInfo::strManagerName,
    &CMAPIContactInfo::strAssistantName,
    &CMAPIContactInfo::strNickName,
    &CMAPIContactInfo::strSpouseName,
    &CMAPIContactInfo::strNamePrefix,
    &CMAPIContactInfo::strGeneration,
    &CMAPIContactInfo::strInternetAddress,
    &CMAPIContactInfo::strPicturePath,
    &CMAPIContactInfo::strAttachFile,
};

inline constexpr size_t kContactTextFieldCount = sizeof(kContactTextFields) / sizeof(kContactTextFields[0]);
