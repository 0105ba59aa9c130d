// The Internet message (RFC 5322, MIME) of an outgoing message, written by GMime: headers with UTF-8 text
// encoded per RFC 2047, the text and HTML bodies as alternatives, attachments as base64 parts, CRLF line ends.
#pragma once

#include "platform/mapi/OutgoingMessage.h"

#include <string>

namespace mapisvc
{
// The message's bytes; false (and nothing) when GMime cannot make them.
bool FormatMimeMessage(const OutgoingMessage& message, const std::string& messageIdDomain, std::string& bytes);
} // namespace mapisvc
