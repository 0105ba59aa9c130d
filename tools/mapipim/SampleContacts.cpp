#include "SampleContacts.h"

#include "DateText.h"
#include "Text.h"

namespace cli
{
namespace
{
struct Sample
{
    const char* prefix;
    const char* first;
    const char* last;
    const char* company;
    const char* title;
    const char* email;
    const char* mobile;
    const char* businessPhone;
    const char* street;
    const char* postalCode;
    const char* city;
    const char* country;
    const char* birthday;
    const char* notes;
};

const Sample kSamples[] = {
    {"", "Anna", "Berg", "Contoso Ltd.", "Product Manager", "anna.berg@contoso.example", "+46 70 123 45 67",
     "+46 8 555 010 00", "Sveavägen 44", "111 34", "Stockholm", "Sweden", "1986-04-12",
     "Met at the Nordic retail fair. Prefers calls in the morning."},
    {"", "José", "García", "Fabrikam, Inc.", "Sales Director", "jose.garcia@fabrikam.example", "+34 612 345 678",
     "+34 91 555 01 23", "Calle de Alcalá 120", "28009", "Madrid", "Spain", "1979-11-03",
     "Directions to the Madrid office are attached."},
    {"", "Zoë", "Müller", "Northwind Traders", "Buyer", "zoe.mueller@northwind.example", "+49 151 2345 6789",
     "+49 40 555 12 34", "Große Elbstraße 27", "22767", "Hamburg", "Germany", "",
     "Orders quarterly; send the catalogue in March."},
    {"", "健二", "佐藤", "Adventure Works", "Hardware Engineer", "kenji.sato@adventure-works.example",
     "+81 90 1234 5678", "+81 3 5555 0199", "千代田区丸の内 1-1", "100-0005", "東京", "Japan", "1990-07-21",
     "Speaks English and Japanese."},
    {"Dr.", "Grace", "O'Neill", "Litware, Inc.", "Chief Medical Officer", "grace.oneill@litware.example",
     "+353 87 123 4567", "+353 1 555 0147", "12 Merrion Square", "D02 XY45", "Dublin", "Ireland", "1972-02-29",
     "Board member since 2019."},
};

CMAPIContactInfo ContactOf(const Sample& sample)
{
    CMAPIContactInfo contact;
    contact.strNamePrefix = WideText(sample.prefix);
    contact.strFirstName = WideText(sample.first);
    contact.strLastName = WideText(sample.last);
    contact.strCompany = WideText(sample.company);
    contact.strTitle = WideText(sample.title);
    contact.strEmail1 = WideText(sample.email);
    contact.strEmailDispaly1 = WideText(std::string(sample.first) + " " + sample.last + " (" + sample.email + ")");
    contact.strNumberCellphone = WideText(sample.mobile);
    contact.strNumberBiz1 = WideText(sample.businessPhone);
    contact.strBizStreet = WideText(sample.street);
    contact.strBizPostalCode = WideText(sample.postalCode);
    contact.strBizCity = WideText(sample.city);
    contact.strBizCountry = WideText(sample.country);
    ParseDateText(sample.birthday, contact.tmBirthday);
    contact.strMemo = WideText(sample.notes);
    return contact;
}
} // namespace

std::vector<CMAPIContactInfo> SampleContacts(const std::string& picture, const std::string& attachment)
{
    std::vector<CMAPIContactInfo> contacts;
    for (const Sample& sample : kSamples)
        contacts.push_back(ContactOf(sample));
    contacts[0].strPicturePath = WideText(picture);
    contacts[1].strAttachFile = WideText(attachment);
    return contacts;
}

const char* SampleAttachmentText()
{
    return "Fabrikam, Madrid office\n"
           "Calle de Alcalá 120, 4th floor\n"
           "Metro: Goya (lines 2 and 4), exit Alcalá.\n"
           "Ask at the front desk for José García.\n";
}
} // namespace cli
