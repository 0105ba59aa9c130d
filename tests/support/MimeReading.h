// Reads back an Internet message (.eml) with GMime, the library delivery writes with, so that tests compare what
// a mail reader would see: decoded headers, addresses, bodies and attachment bytes.
#pragma once

#include <string>
#include <vector>

struct ParsedMailbox
{
    std::string name;
    std::string address;
};

struct ParsedAttachment
{
    std::string fileName;
    std::string mimeType;
    std::string transferEncoding;
    std::string bytes;
};

struct ParsedMail
{
    bool parsed = false;
    std::string subject;
    std::string rawSubject; // the header as written (RFC 2047 words)
    std::vector<ParsedMailbox> from, to, cc, bcc;
    std::string date;
    std::string importance, sensitivity, keywords;
    std::string contentType; // of the top part
    bool hasText = false, hasHtml = false;
    std::string text, html; // decoded, UTF-8
    std::vector<ParsedAttachment> attachments;
};

ParsedMail ParseMailFile(const std::string& path);
std::string ReadWholeFile(const std::string& path);
