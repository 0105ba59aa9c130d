// The independent reader of Outlook item files (@kenjiuno/msgreader, run with node over tests/oracles/msgdump.js):
// what it reads from a file. None when node or the module is not installed (the caller skips).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace msgtest
{
struct OracleAttachment
{
    std::string name;
    bool embedded = false;
    long long size = -1; // bytes of a file attachment
    std::string subject; // of an attached message
};

struct OracleRecipient
{
    std::string name;
    std::string email;
    std::string type; // "to", "cc", "bcc"
};

struct OracleView
{
    std::string messageClass;
    std::string subject;
    std::string senderName;
    std::string senderEmail;
    std::string body;
    std::vector<OracleRecipient> recipients;
    std::vector<OracleAttachment> attachments;
};

bool OracleAvailable();
// `ansiEncoding` names the code page of an ANSI file's 8-bit text for the reader ("cp932", "big5", ...).
std::optional<OracleView> ReadWithOracle(const std::filesystem::path& file, const std::string& ansiEncoding = "");
// The code page of the 8-bit text of an ANSI sample, as its name tells; empty for the others.
std::string SampleEncoding(const std::string& name);
} // namespace msgtest
