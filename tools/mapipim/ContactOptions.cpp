#include "ContactOptions.h"

#include "ContactFields.h"
#include "DateText.h"
#include "Failure.h"
#include "InputFiles.h"
#include "OptionChecks.h"
#include "Text.h"

#include <algorithm>

namespace cli
{
void ContactOptions::AddTo(CLI::App& command, bool bEditing)
{
    m_text.resize(ContactTextFields().size());
    for (size_t i = 0; i < m_text.size(); ++i)
    {
        const ContactTextField& field = ContactTextFields()[i];
        if (field.option)
            m_text[i].option = command.add_option(std::string("--") + field.option, m_text[i].value, field.label)
                                   ->group("Contact fields");
    }
    m_dates.resize(ContactDateFields().size());
    for (size_t i = 0; i < m_dates.size(); ++i)
    {
        const ContactDateField& field = ContactDateFields()[i];
        m_dates[i].option = command.add_option(std::string("--") + field.option, m_dates[i].value, field.label)
                                ->check(kDateValidator)
                                ->group("Contact fields");
    }
    const char* sensitivityHelp = "none, personal, private or confidential";
    m_sensitivity.option = command.add_option("--sensitivity", m_sensitivity.value, sensitivityHelp)
                               ->check(kSensitivityValidator)
                               ->group("Contact fields");
    m_picture.option =
        command.add_option("--picture", m_picture.value, "JPEG or PNG image that becomes the contact's picture");
    if (bEditing)
        command.add_flag("--no-picture", m_bNoPicture, "Remove the contact's picture")->excludes(m_picture.option);
    AddAttachOption(command, m_attachments);
}

bool ContactOptions::AnyGiven() const
{
    const auto given = [](const Given& option) { return option.IsGiven(); };
    return std::any_of(m_text.begin(), m_text.end(), given) || std::any_of(m_dates.begin(), m_dates.end(), given) ||
           m_sensitivity.IsGiven() || m_picture.IsGiven() || m_bNoPicture || !m_attachments.empty();
}

bool ContactOptions::AnyValue() const
{
    const auto holds = [](const Given& option)
    { return option.IsGiven() && option.value.find_first_not_of(" \t") != std::string::npos; };
    return std::any_of(m_text.begin(), m_text.end(), holds) || std::any_of(m_dates.begin(), m_dates.end(), holds) ||
           m_picture.IsGiven() || !m_attachments.empty();
}

void ContactOptions::ApplyTo(CMAPIContactInfo& contact) const
{
    const std::string picture = m_picture.IsGiven() ? PictureFilePath(m_picture.value) : std::string();
    const std::string attachments = JoinedAttachmentPaths(m_attachments);

    for (size_t i = 0; i < m_text.size(); ++i)
    {
        if (m_text[i].IsGiven())
            contact.*ContactTextFields()[i].member = WideText(m_text[i].value);
    }
    for (size_t i = 0; i < m_dates.size(); ++i)
    {
        if (m_dates[i].IsGiven())
            ParseDateText(m_dates[i].value, contact.*ContactDateFields()[i].member);
    }
    if (m_sensitivity.IsGiven())
        contact.nSensitivity = SensitivityOf(m_sensitivity.value);
    if (m_picture.IsGiven())
        contact.strPicturePath = WideText(picture);
    if (m_bNoPicture)
        contact.strPicturePath.Empty();
    // Attachments already on the contact stay: the names read back are no paths, so the library keeps them, and
    // the paths listed here are added. An empty list would remove them all.
    if (!m_attachments.empty())
        contact.strAttachFile = WideText(attachments);
}

void ContactOptions::CheckApplied(const CMAPIContactInfo& contact) const
{
    if (m_picture.IsGiven() && contact.strPicturePath.IsEmpty())
        throw MissingPart("its picture");
    CheckAttached(contact.strAttachFile, m_attachments);
}
} // namespace cli
