// What delivery writes of a queued message, read from its stored form: addresses, subject, times, flags, the
// text and HTML bodies and the attachments by value, all text in UTF-8. The MIME writer (MimeWriter.h) turns it
// into an Internet message; nothing here knows MIME.
#pragma once

#include "platform/mapi/StoreDatabase.h"

#include <string>
#include <vector>

namespace mapisvc
{
struct MailAddress
{
    std::string name;    // UTF-8; empty when the entry has none, or it is the address itself
    std::string address; // UTF-8
};

struct OutgoingAttachment
{
    std::string fileName; // UTF-8
    std::string mimeType; // PR_ATTACH_MIME_TAG, else empty
    std::string contentId;
    std::string bytes;
};

struct OutgoingMessage
{
    std::string subject;
    MailAddress from;
    std::vector<MailAddress> to, cc, bcc;
    int64_t submitTime = 0; // FILETIME ticks (UTC), 0 when unknown
    LONG importance = IMPORTANCE_NORMAL;
    LONG sensitivity = 0;
    std::vector<std::string> categories;
    bool hasText = false, hasHtml = false;
    std::string text; // UTF-8
    std::string html; // UTF-8
    std::vector<OutgoingAttachment> attachments;
};

// The address of an address-book entry (the profile's identity): its SMTP address, else its e-mail address.
MailAddress AddressOfEntry(const PropertyBag& props);

// The message as delivery writes it. The address of a recipient is its SMTP address when it has one
// (PR_SMTP_ADDRESS), else its e-mail address; recipients without either are left out.
OutgoingMessage ReadOutgoingMessage(const WholeMessage& message, StoreDatabase& store);
} // namespace mapisvc
