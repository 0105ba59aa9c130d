#include "support/DataFileSamples.h"
#include "support/SampleFiles.h"

#include "platform/mapi/Text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace datafiletest
{
namespace
{
std::string ToUtf8(const std::u16string& text)
{
    return mapisvc::ToUtf8(text);
}

void WalkFolder(IMAPIFolder* folder, const std::string& path, const mapisvc::EntryId& ipm, bool isRoot,
                std::vector<std::string>& lines)
{
    lines.push_back(path + "\t" + std::to_string(GetLong(folder, PR_CONTENT_COUNT)));
    Ref<IMAPITable> table;
    if (folder->GetHierarchyTable(0, table.Out()) != S_OK)
        return;
    TableRows rows = ReadRows(table.Get(), {PR_ENTRYID, PR_DISPLAY_NAME_W});
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const mapisvc::EntryId id = ToEntryId(rows[i].lpProps[0].Value.bin);
        // The store's IPM subtree is the file's, written on its own.
        if (isRoot && id == ipm)
            continue;
        Ref<IMAPIFolder> sub;
        ULONG type = 0;
        if (folder->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())),
                              nullptr, 0, &type, sub.OutUnknown()) != S_OK)
            continue;
        const std::u16string name = reinterpret_cast<const char16_t*>(rows[i].lpProps[1].Value.lpszW);
        WalkFolder(sub.Get(), path + "/" + ToUtf8(name), ipm, false, lines);
    }
}
} // namespace

std::optional<fs::path> SampleFolder()
{
    return sampletest::SampleFolderOf("pst");
}

std::vector<std::string> SampleNames()
{
    return sampletest::SampleNamesOf("pst", {".pst", ".ost"});
}

std::optional<fs::path> Sample(const std::string& name)
{
    return sampletest::SampleOf("pst", name);
}

std::string SampleCodePage(const std::string& name)
{
    return name.find("cp932") != std::string::npos ? "cp932" : "windows-1252";
}

std::optional<std::vector<std::string>> ReaderTree(const fs::path& file, const std::string& codePage)
{
    const char* source = std::getenv("MAPIPIM_TEST_SOURCE_DIR");
    const fs::path script = fs::path(source ? source : ".") / "tests/service/datafile/pff_tree.py";
    if (!fs::exists("/usr/bin/python3") || !fs::exists(script))
        return std::nullopt;
    const std::string command =
        "/usr/bin/python3 '" + script.string() + "' '" + file.string() + "' " + codePage + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    std::array<char, 4096> buffer;
    size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), read);
    if (pclose(pipe) != 0 || output.empty())
        return std::nullopt;
    std::vector<std::string> lines;
    std::istringstream text(output);
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> StoreTree(IMsgStore* store)
{
    std::vector<std::string> lines;
    const mapisvc::EntryId ipm = GetBinary(store, PR_IPM_SUBTREE_ENTRYID);
    Ref<IMAPIFolder> root;
    ULONG type = 0;
    if (store->OpenEntry(0, nullptr, nullptr, 0, &type, root.OutUnknown()) != S_OK)
        return lines;
    WalkFolder(root.Get(), "ROOT", ipm, true, lines);
    Ref<IMAPIFolder> ipmFolder = OpenFolder(store, ipm);
    if (ipmFolder)
        WalkFolder(ipmFolder.Get(), "IPM", ipm, false, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
} // namespace datafiletest
