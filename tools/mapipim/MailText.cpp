#include "MailText.h"

#include "DateText.h"
#include "ShortIds.h"
#include "Text.h"

#include <iomanip>
#include <sstream>

namespace cli
{
namespace
{
const int kLabelWidth = 14;

void WriteField(std::ostream& out, const std::string& label, const std::string& value)
{
    if (!value.empty())
        out << std::left << std::setw(kLabelWidth) << label + ":" << value << '\n';
}

const char* const kImportance[] = {"low", "normal", "high"};
const char* const kSensitivity[] = {"none", "personal", "private", "confidential"};

std::string LevelName(const char* const* names, int count, int value)
{
    return value >= 0 && value < count ? names[value] : std::to_string(value);
}
} // namespace

std::string MailStateName(const CMAPIEmailInfo& email)
{
    switch (email.nMsgState)
    {
    case 1:
        return "replied";
    case 2:
        return "forwarded";
    case 3:
        return "read";
    case 4:
        return "queued";
    case 5:
        return "draft";
    default:
        return email.bRead ? "read" : "unread";
    }
}

std::string MailFormName(int nForm)
{
    switch (nForm)
    {
    case 0:
    case 1:
        return "text";
    case 2:
        return "html";
    case 3:
        return "rtf";
    default:
        return std::to_string(nForm);
    }
}

int MailFormOfName(const std::string& name)
{
    if (name == "text")
        return 1;
    if (name == "html")
        return 2;
    if (name == "rtf")
        return 3;
    return 0;
}

void WriteMailLine(std::ostream& out, const CMAPIEmailInfo& email)
{
    const std::string received = email.tmRcvTime.wYear ? DateTimeText(email.tmRcvTime) : std::string("-");
    out << ShownId(Utf8(email.strEntryID)) << "  " << received << "  " << std::left << std::setw(9)
        << MailStateName(email) << ' ' << email.nAttachCount << "  " << Utf8(email.strSenderName) << "  "
        << (email.strSubject.IsEmpty() ? std::string("(no subject)") : Utf8(email.strSubject)) << '\n';
}

void WriteMail(std::ostream& out, const CMAPIEmailInfo& email)
{
    WriteField(out, "Entry ID", ShownId(Utf8(email.strEntryID)));
    WriteField(out, "From", Utf8(email.strSenderName));
    WriteField(out, "To", Utf8(email.strTo));
    WriteField(out, "Cc", Utf8(email.strCC));
    WriteField(out, "Bcc", Utf8(email.strBCC));
    WriteField(out, "Subject", Utf8(email.strSubject));
    WriteField(out, "Sent", DateTimeText(email.tmSendTime));
    WriteField(out, "Received", DateTimeText(email.tmRcvTime));
    WriteField(out, "State", MailStateName(email));
    WriteField(out, "Importance", LevelName(kImportance, 3, email.nImportance));
    WriteField(out, "Sensitivity", LevelName(kSensitivity, 4, email.nSensitivity));
    WriteField(out, "Categories", Utf8(email.strLabel));
    WriteField(out, "Attachments", email.nAttachCount ? Utf8(email.strAttachFile) : std::string());
    WriteField(out, "Size", std::to_string(email.nSize));
    WriteField(out, "Created", DateTimeText(email.tmCTime));
    WriteField(out, "Modified", DateTimeText(email.tmLMTime));
    WriteField(out, "Body format", MailFormName(email.nForm));
    out << '\n' << Utf8(email.strContents);
    if (!email.strContents.IsEmpty() && email.strContents[email.strContents.GetLength() - 1] != '\n')
        out << '\n';
}
} // namespace cli
