#include "ContactFields.h"

namespace cli
{
const std::vector<ContactTextField>& ContactTextFields()
{
    typedef CMAPIContactInfo C;
    static const std::vector<ContactTextField> fields = {
        {nullptr, "strFullName", "Full name", &C::strFullName},
        {"last-name", "strLastName", "Last name", &C::strLastName},
        {"first-name", "strFirstName", "First name", &C::strFirstName},
        {"middle-name", "strMiddleName", "Middle name", &C::strMiddleName},
        {nullptr, "strInitial", "Initials", &C::strInitial},
        {"company", "strCompany", "Company", &C::strCompany},
        {"department", "strDepartment", "Department", &C::strDepartment},
        {"title", "strTitle", "Job title", &C::strTitle},
        {nullptr, "strDisplay", "File as", &C::strDisplay},
        {"email1", "strEmail1", "E-mail", &C::strEmail1},
        {"email1-name", "strEmailDispaly1", "E-mail display name", &C::strEmailDispaly1},
        {"email2", "strEmail2", "E-mail 2", &C::strEmail2},
        {"email2-name", "strEmailDispaly2", "E-mail 2 display name", &C::strEmailDispaly2},
        {"email3", "strEmail3", "E-mail 3", &C::strEmail3},
        {"email3-name", "strEmailDispaly3", "E-mail 3 display name", &C::strEmailDispaly3},
        {"business-web", "strBizHomePage", "Business web page", &C::strBizHomePage},
        {"home-web", "strHomePage", "Personal web page", &C::strHomePage},
        {"im", "strIMAddress", "IM address", &C::strIMAddress},
        {"notes", "strMemo", "Notes", &C::strMemo},
        {"phone", "strNumberBase", "Primary phone", &C::strNumberBase},
        {"home-phone", "strNumberHome1", "Home phone", &C::strNumberHome1},
        {"home-phone2", "strNumberHome2", "Home phone 2", &C::strNumberHome2},
        {"home-fax", "strNumberHomeFax", "Home fax", &C::strNumberHomeFax},
        {"mobile", "strNumberCellphone", "Mobile phone", &C::strNumberCellphone},
        {"radio-phone", "strNumberRadioTelephony", "Radio phone", &C::strNumberRadioTelephony},
        {"pager", "strNumberBeeper", "Pager", &C::strNumberBeeper},
        {"company-phone", "strNumberCompany", "Company main phone", &C::strNumberCompany},
        {"business-phone", "strNumberBiz1", "Business phone", &C::strNumberBiz1},
        {"business-phone2", "strNumberBiz2", "Business phone 2", &C::strNumberBiz2},
        {"business-fax", "strNumberBizFax", "Business fax", &C::strNumberBizFax},
        {"assistant-phone", "strNumberAssistant", "Assistant's phone", &C::strNumberAssistant},
        {"callback-phone", "strNumberCallback", "Callback phone", &C::strNumberCallback},
        {"car-phone", "strNumberCarphone", "Car phone", &C::strNumberCarphone},
        {"other-phone", "strNumberOther", "Other phone", &C::strNumberOther},
        {"other-fax", "strNumberOtherFax", "Other fax", &C::strNumberOtherFax},
        {"isdn", "strNumberISDN", "ISDN", &C::strNumberISDN},
        {"telex", "strNumberTelex", "Telex", &C::strNumberTelex},
        {"tty-tdd", "strNumberTTYTDD", "TTY/TDD phone", &C::strNumberTTYTDD},
        {"home-postal-code", "strHomePostalCode", "Home postal code", &C::strHomePostalCode},
        {"home-state", "strHomeState", "Home state", &C::strHomeState},
        {"home-city", "strHomeCity", "Home city", &C::strHomeCity},
        {"home-street", "strHomeStreet", "Home street", &C::strHomeStreet},
        {"home-country", "strHomeCountry", "Home country", &C::strHomeCountry},
        {"business-postal-code", "strBizPostalCode", "Business postal code", &C::strBizPostalCode},
        {"business-state", "strBizState", "Business state", &C::strBizState},
        {"business-city", "strBizCity", "Business city", &C::strBizCity},
        {"business-street", "strBizStreet", "Business street", &C::strBizStreet},
        {"business-country", "strBizCountry", "Business country", &C::strBizCountry},
        {"other-postal-code", "strOtherPostalCode", "Other postal code", &C::strOtherPostalCode},
        {"other-state", "strOtherState", "Other state", &C::strOtherState},
        {"other-city", "strOtherCity", "Other city", &C::strOtherCity},
        {"other-street", "strOtherStreet", "Other street", &C::strOtherStreet},
        {"other-country", "strOtherCountry", "Other country", &C::strOtherCountry},
        {"office", "strOffice", "Office", &C::strOffice},
        {"profession", "strJob", "Profession", &C::strJob},
        {"manager", "strManagerName", "Manager", &C::strManagerName},
        {"assistant", "strAssistantName", "Assistant", &C::strAssistantName},
        {"nickname", "strNickName", "Nickname", &C::strNickName},
        {"spouse", "strSpouseName", "Spouse", &C::strSpouseName},
        {"prefix", "strNamePrefix", "Name prefix", &C::strNamePrefix},
        {"generation", "strGeneration", "Generation", &C::strGeneration},
        {"free-busy-url", "strInternetAddress", "Free/busy address", &C::strInternetAddress},
    };
    return fields;
}

const std::vector<ContactDateField>& ContactDateFields()
{
    static const std::vector<ContactDateField> fields = {
        {"birthday", "tmBirthday", "Birthday", &CMAPIContactInfo::tmBirthday},
        {"anniversary", "tmAnniversary", "Anniversary", &CMAPIContactInfo::tmAnniversary},
    };
    return fields;
}

const std::vector<std::string>& SensitivityNames()
{
    static const std::vector<std::string> names = {"none", "personal", "private", "confidential"};
    return names;
}

std::string SensitivityName(int sensitivity)
{
    const std::vector<std::string>& names = SensitivityNames();
    if (sensitivity >= 0 && sensitivity < static_cast<int>(names.size()))
        return names[static_cast<size_t>(sensitivity)];
    return std::to_string(sensitivity);
}
} // namespace cli
