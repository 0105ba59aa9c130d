#include "ContactText.h"

#include "ContactFields.h"
#include "DateText.h"
#include "Text.h"

#include <iomanip>
#include <sstream>

namespace cli
{
namespace
{
const int kLabelWidth = 24;

std::string DisplayName(const CMAPIContactInfo& contact)
{
    if (!contact.strFullName.IsEmpty())
        return Utf8(contact.strFullName);
    if (!contact.strDisplay.IsEmpty())
        return Utf8(contact.strDisplay);
    return "(no name)";
}

// Multi-line values (notes, composed addresses) continue under the value column.
void WriteField(std::ostream& out, const std::string& label, const std::string& value)
{
    if (value.empty())
        return;
    std::istringstream lines(value);
    std::string line;
    bool bFirst = true;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out << std::left << std::setw(kLabelWidth) << (bFirst ? label + ":" : std::string()) << line << '\n';
        bFirst = false;
    }
}
} // namespace

void WriteContactLine(std::ostream& out, const CMAPIContactInfo& contact)
{
    out << Utf8(contact.strEntryID) << "  " << DisplayName(contact);
    if (!contact.strEmail1.IsEmpty())
        out << " <" << Utf8(contact.strEmail1) << '>';
    if (!contact.strCompany.IsEmpty())
        out << ", " << Utf8(contact.strCompany);
    out << '\n';
}

void WriteContact(std::ostream& out, const CMAPIContactInfo& contact)
{
    WriteField(out, "Entry ID", Utf8(contact.strEntryID));
    WriteField(out, "Created", DateTimeText(contact.tmCTime));
    WriteField(out, "Modified", DateTimeText(contact.tmLMTime));
    for (const ContactTextField& field : ContactTextFields())
        WriteField(out, field.label, Utf8(contact.*field.member));
    for (const ContactDateField& field : ContactDateFields())
        WriteField(out, field.label, DateText(contact.*field.member));
    if (contact.nSensitivity != 0)
        WriteField(out, "Sensitivity", SensitivityName(contact.nSensitivity));
    WriteField(out, "Picture", Utf8(contact.strPicturePath));
    WriteField(out, "Attachments", Utf8(contact.strAttachFile));
}
} // namespace cli
