#include "support/MsgOracle.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

namespace msgtest
{
namespace
{
namespace fs = std::filesystem;

fs::path OracleDir()
{
    const char* source = std::getenv("MAPIPIM_TEST_SOURCE_DIR");
    return fs::path(source && *source ? source : ".") / "tests" / "oracles";
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Text(const nlohmann::json& object, const char* key)
{
    auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}
} // namespace

bool OracleAvailable()
{
    std::error_code error;
    return std::system("node --version >/dev/null 2>&1") == 0 &&
           fs::is_directory(OracleDir() / "node_modules" / "@kenjiuno" / "msgreader", error);
}

std::string SampleEncoding(const std::string& name)
{
    if (name.find("cp932") != std::string::npos || name.find("ansi_ja") != std::string::npos)
        return "cp932";
    if (name.find("big5") != std::string::npos)
        return "big5";
    if (name.find("cp1251") != std::string::npos)
        return "windows1251";
    return std::string();
}

std::optional<OracleView> ReadWithOracle(const fs::path& file, const std::string& ansiEncoding)
{
    if (!OracleAvailable())
        return std::nullopt;
    std::string command = "node " + Quoted((OracleDir() / "msgdump.js").string()) + " " + Quoted(file.string());
    if (!ansiEncoding.empty())
        command += " " + Quoted(ansiEncoding);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    while (size_t read = std::fread(buffer, 1, sizeof(buffer), pipe))
        output.append(buffer, read);
    if (pclose(pipe) != 0)
        return std::nullopt;
    const nlohmann::json data = nlohmann::json::parse(output, nullptr, false);
    if (data.is_discarded() || !data.is_object())
        return std::nullopt;
    OracleView view;
    view.messageClass = Text(data, "messageClass");
    view.subject = Text(data, "subject");
    view.senderName = Text(data, "senderName");
    view.senderEmail = Text(data, "senderEmail");
    view.body = Text(data, "body");
    for (const auto& r : data.value("recipients", nlohmann::json::array()))
        view.recipients.push_back({Text(r, "name"), Text(r, "email"), Text(r, "type")});
    for (const auto& a : data.value("attachments", nlohmann::json::array()))
    {
        OracleAttachment attachment;
        attachment.name = Text(a, "name");
        attachment.embedded = a.value("embedded", false);
        attachment.size = a.value("size", -1LL);
        attachment.subject = Text(a, "subject");
        view.attachments.push_back(std::move(attachment));
    }
    return view;
}
} // namespace msgtest
