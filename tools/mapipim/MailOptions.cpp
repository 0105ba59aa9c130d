#include "MailOptions.h"

#include "ContactFields.h"
#include "Failure.h"
#include "InputFiles.h"
#include "MailText.h"
#include "OptionChecks.h"
#include "Text.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace cli
{
namespace
{
const std::vector<std::string> kImportanceNames = {"low", "normal", "high"};

// A name of the list or its number.
int LevelOf(const std::vector<std::string>& names, const std::string& text)
{
    const auto found = std::find(names.begin(), names.end(), text);
    return found != names.end() ? static_cast<int>(found - names.begin()) : std::stoi(text);
}

CLI::Validator LevelValidator(const std::vector<std::string>& names, const std::string& what)
{
    return CLI::Validator(
        [names, what](std::string& text)
        {
            if (std::find(names.begin(), names.end(), text) != names.end() ||
                (text.size() == 1 && text[0] >= '0' && text[0] < static_cast<char>('0' + names.size())))
                return std::string();
            std::string expected;
            for (const std::string& name : names)
                expected += (expected.empty() ? "" : ", ") + name;
            return "'" + text + "' is no " + what + ": expected " + expected + " or its number";
        },
        "LEVEL");
}

std::string Joined(const std::vector<std::string>& items, const std::string& separator)
{
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : separator) + item;
    return joined;
}

// The whole file as UTF-8 text; throws Failure when it cannot be read.
std::string BodyFileText(const std::string& path)
{
    const std::string resolved = ReadableFilePath(path);
    std::ifstream in(resolved, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof())
        throw Failure("cannot read '" + path + "'");
    return text.str();
}
} // namespace

void MailOptions::AddTo(CLI::App& command)
{
    const char* group = "E-mail fields";
    command.add_option("--to", m_to, "Recipient, \"Name <address>\" or an address (repeatable)")->group(group);
    command.add_option("--cc", m_cc, "Copy recipient (repeatable)")->group(group);
    command.add_option("--bcc", m_bcc, "Blind copy recipient (repeatable)")->group(group);
    m_pFrom = command.add_option("--from", m_from, "Sender, \"Name <address>\" or an address")->group(group);
    m_pSubject = command.add_option("--subject", m_subject, "Subject")->group(group);
    m_pText = command.add_option("--text", m_text, "Plain text body")->group(group);
    m_pHtml = command.add_option("--html", m_htmlFile, "File whose HTML becomes the body")->group(group);
    m_pRtf = command.add_option("--rtf", m_rtfFile, "File whose RTF becomes the body")->group(group);
    m_pText->excludes(m_pHtml)->excludes(m_pRtf);
    m_pHtml->excludes(m_pRtf);
    AddAttachOption(command, m_attachments);
    m_pImportance = command.add_option("--importance", m_importance, "low, normal or high")
                        ->check(LevelValidator(kImportanceNames, "importance"))
                        ->group(group);
    m_pSensitivity = command.add_option("--sensitivity", m_sensitivity, "none, personal, private or confidential")
                         ->check(LevelValidator(SensitivityNames(), "sensitivity"))
                         ->group(group);
    command.add_option("--category", m_categories, "Category (repeatable)")->group(group);
}

bool MailOptions::AnyGiven() const
{
    const CLI::Option* options[] = {m_pFrom, m_pSubject, m_pText, m_pHtml, m_pRtf, m_pImportance, m_pSensitivity};
    return std::any_of(std::begin(options), std::end(options), [](const CLI::Option* o) { return o->count() > 0; }) ||
           !m_to.empty() || !m_cc.empty() || !m_bcc.empty() || !m_categories.empty() || !m_attachments.empty();
}

void MailOptions::ApplyTo(CMAPIEmailInfo& email) const
{
    const std::string html = m_pHtml->count() ? BodyFileText(m_htmlFile) : std::string();
    const std::string rtf = m_pRtf->count() ? BodyFileText(m_rtfFile) : std::string();
    std::vector<std::string> attachments;
    for (const std::string& file : m_attachments)
        attachments.push_back(AttachmentFilePath(file));

    if (!m_to.empty())
        email.strTo = WideText(Joined(m_to, ";"));
    if (!m_cc.empty())
        email.strCC = WideText(Joined(m_cc, ";"));
    if (!m_bcc.empty())
        email.strBCC = WideText(Joined(m_bcc, ";"));
    if (m_pFrom->count())
        email.strSenderName = WideText(m_from);
    if (m_pSubject->count())
        email.strSubject = WideText(m_subject);
    if (m_pText->count())
    {
        email.nForm = 1;
        email.strContents = WideText(m_text);
    }
    if (m_pHtml->count())
    {
        email.nForm = 2;
        email.strContents = WideText(html);
    }
    if (m_pRtf->count())
    {
        email.nForm = 3;
        email.strContents = WideText(rtf);
    }
    if (m_pImportance->count())
        email.nImportance = LevelOf(kImportanceNames, m_importance);
    if (m_pSensitivity->count())
        email.nSensitivity = LevelOf(SensitivityNames(), m_sensitivity);
    if (!m_categories.empty())
        email.strLabel = WideText(Joined(m_categories, ";"));
    // Attachments already on the e-mail stay: the names read back are no paths, so the library keeps them, and
    // the paths listed here are added. An empty list would remove them all.
    if (!attachments.empty())
        email.strAttachFile = WideText(Joined(attachments, ";"));
}

void MailOptions::CheckApplied(const CMAPIEmailInfo& email) const
{
    CheckAttached(email.strAttachFile, m_attachments);
}

bool HasRecipients(const CMAPIEmailInfo& email)
{
    return !email.strTo.IsEmpty() || !email.strCC.IsEmpty() || !email.strBCC.IsEmpty();
}
} // namespace cli
