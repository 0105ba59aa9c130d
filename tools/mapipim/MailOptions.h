// The options of "mail add" and "mail edit": recipients, sender, subject, one body (text given inline, HTML or RTF
// from a file), attachments, importance, sensitivity and categories. Only the options given change the record they
// are applied to, so "edit" reads the e-mail, applies them and writes it back.
#pragma once

#include <mapipim/MAPIEmailInfo.h>

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli
{
class MailOptions
{
public:
    void AddTo(CLI::App& command);

    bool AnyGiven() const;

    // Reads every file named (bodies, attachments), then changes the record. Throws Failure for a file that cannot
    // be used, before the record is touched.
    void ApplyTo(CMAPIEmailInfo& email) const;

    // The library saves an e-mail whose attachment could not be added, tracing only; this compares the e-mail as
    // read back and throws Failure naming what is missing.
    void CheckApplied(const CMAPIEmailInfo& email) const;

private:
    std::vector<std::string> m_to, m_cc, m_bcc, m_categories, m_attachments;
    std::string m_from, m_subject, m_text, m_htmlFile, m_rtfFile, m_importance, m_sensitivity;
    CLI::Option* m_pFrom = nullptr;
    CLI::Option* m_pSubject = nullptr;
    CLI::Option* m_pText = nullptr;
    CLI::Option* m_pHtml = nullptr;
    CLI::Option* m_pRtf = nullptr;
    CLI::Option* m_pImportance = nullptr;
    CLI::Option* m_pSensitivity = nullptr;
};

// Whether the record names any recipient.
bool HasRecipients(const CMAPIEmailInfo& email);
} // namespace cli
