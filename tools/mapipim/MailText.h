// E-mails as text for people, and the names the command line gives states and body formats.
#pragma once

#include <mapipim/MAPIEmailInfo.h>

#include <ostream>
#include <string>

namespace cli
{
// "unread", "read", "replied", "forwarded", "queued" (submitted, waiting for "mail send") or "draft".
std::string MailStateName(const CMAPIEmailInfo& email);
// "text", "html" or "rtf" for nForm 1, 2, 3 (0 reads as text); the number itself for anything else.
std::string MailFormName(int nForm);
// The nForm of a name; 0 for an unknown name.
int MailFormOfName(const std::string& name);

// One line for a list: entry identifier, received time, state, attachment count, sender, subject.
void WriteMailLine(std::ostream& out, const CMAPIEmailInfo& email);

// Every field that holds a value, one per line, then the body.
void WriteMail(std::ostream& out, const CMAPIEmailInfo& email);
} // namespace cli
