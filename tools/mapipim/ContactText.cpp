#include "ContactText.h"

#include "ContactFields.h"
#include "DateText.h"
#include "LabelledText.h"
#include "ShortIds.h"
#include "Text.h"

namespace cli
{
namespace
{
std::string DisplayName(const CMAPIContactInfo& contact)
{
    if (!contact.strFullName.IsEmpty())
        return Utf8(contact.strFullName);
    if (!contact.strDisplay.IsEmpty())
        return Utf8(contact.strDisplay);
    return "(no name)";
}
} // namespace

void WriteContactLine(std::ostream& out, const CMAPIContactInfo& contact)
{
    out << ShownId(Utf8(contact.strEntryID)) << "  " << DisplayName(contact);
    if (!contact.strEmail1.IsEmpty())
        out << " <" << Utf8(contact.strEmail1) << '>';
    if (!contact.strCompany.IsEmpty())
        out << ", " << Utf8(contact.strCompany);
    out << '\n';
}

void WriteContact(std::ostream& out, const CMAPIContactInfo& contact)
{
    WriteLabelled(out, "Entry ID", ShownId(Utf8(contact.strEntryID)));
    WriteLabelled(out, "Created", DateTimeText(contact.tmCTime));
    WriteLabelled(out, "Modified", DateTimeText(contact.tmLMTime));
    for (const ContactTextField& field : ContactTextFields())
        WriteLabelled(out, field.label, Utf8(contact.*field.member));
    for (const ContactDateField& field : ContactDateFields())
        WriteLabelled(out, field.label, DayText(contact.*field.member));
    if (contact.nSensitivity != 0)
        WriteLabelled(out, "Sensitivity", SensitivityName(contact.nSensitivity));
    WriteLabelled(out, "Picture", Utf8(contact.strPicturePath));
    WriteLabelled(out, "Attachments", Utf8(contact.strAttachFile));
}
} // namespace cli
