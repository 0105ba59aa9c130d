// attachments list|save|delete: the attachment operations of the interface object, on any item named by its entry
// identifier. Attachments are addressed by their position in the item's attachment table, as the library does.
#include "AttachmentFiles.h"
#include "AttachmentSizes.h"
#include "ByteProgressWatch.h"
#include "CommandSet.h"
#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "Host.h"
#include "Text.h"

#include <mapipim/MAPIItem.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace cli
{
namespace
{
const int kAllAttachments = -1;

const std::map<std::string, int> kFilters = {
    {"all", MAPIPIM_ATTACH_ALL},
    {"picture", MAPIPIM_ATTACH_PHOTO_ONLY},
    {"files", MAPIPIM_ATTACH_NO_PHOTO},
};

struct AttachmentRequest
{
    std::string id;
    int index = kAllAttachments;
    CLI::Option* indexOption = nullptr;
    bool bAll = false;
    bool bOverwrite = false;
    std::string target;
    int filter = MAPIPIM_ATTACH_ALL;
};

// The item's identifier, checked to name an item, and its number of attachments.
struct Item
{
    EntryId id;
    int count;
};

Item OpenItem(Host& host, const std::string& text)
{
    EntryId id = EntryId::Parse(ExpandEntryIdTail(host, text));
    if (!host.CanOpenItem(id.Value()))
        throw Failure("no item with the entry identifier " + id.Text());
    const int count = host.Mapi().GetAttachmentCount(id.Value());
    return Item{id, count};
}

void RequireIndex(const Item& item, int index)
{
    if (item.count == 0)
        throw Failure("the item has no attachments");
    if (index != kAllAttachments && index >= item.count)
        throw Failure("the item has no attachment " + std::to_string(index) + " (it has " + std::to_string(item.count) +
                      ")");
}

std::string CurrentDirectory()
{
    char* directory = getcwd(nullptr, 0);
    const std::string text = directory ? directory : ".";
    std::free(directory);
    return text;
}

void List(Host& host, const AttachmentRequest& request)
{
    Item item = OpenItem(host, request.id);
    CMAPIInterface& mapi = host.Mapi();
    Json list = Json::array();
    for (int i = 0; i < item.count; ++i)
    {
        CString name, photo, contentId;
        mapi.GetAttachmentName(item.id.Value(), name, i, MAPIPIM_ATTACH_ALL);
        const bool bPicture = mapi.GetAttachmentName(item.id.Value(), photo, i, MAPIPIM_ATTACH_PHOTO_ONLY) != 0;
        mapi.GetAttachmentCID(item.id.Value(), contentId, i);
        Host::CheckCancel();
        list.push_back(Json{{"index", i}, {"name", Utf8(name)}, {"picture", bPicture}, {"contentId", Utf8(contentId)}});
        if (!host.Json())
            std::cout << i << "  " << Utf8(name) << (bPicture ? "  (picture)" : "") << '\n';
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", item.id.Text()}, {"attachments", list}});
}

// The positions to save: the one asked for, or every one that passes the filter.
std::vector<int> ChosenPositions(Host& host, Item& item, const AttachmentRequest& request)
{
    std::vector<int> positions;
    for (int i = 0; i < item.count; ++i)
    {
        if (request.index != kAllAttachments && i != request.index)
            continue;
        CString name;
        if (host.Mapi().GetAttachmentName(item.id.Value(), name, i, request.filter))
            positions.push_back(i);
    }
    return positions;
}

bool IsDirectory(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string DirectoryOfFile(const std::string& path)
{
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

// The library writes the attachment into the private folder; the bar follows the file growing there.
bool SaveWatched(CMAPIInterface& mapi, Item& item, int index, const AttachmentFiles& files, const std::string& label,
                 std::int64_t size)
{
    const ByteProgressWatch progress(label, size, [&files] { return files.StagedBytes(); });
    return mapi.SaveAttachment(item.id.Value(), WideText(files.Staging()), index, MAPIPIM_ATTACH_ALL) != 0;
}

void Save(Host& host, const AttachmentRequest& request)
{
    Item item = OpenItem(host, request.id);
    RequireIndex(item, request.index);
    const std::vector<int> positions = ChosenPositions(host, item, request);
    if (positions.empty())
        throw Failure("no attachment of the item passes the filter");
    const std::string target = request.target.empty() ? CurrentDirectory() : request.target;
    const bool bDirectory = IsDirectory(target);
    if (!bDirectory && (request.bAll || positions.size() > 1))
        throw UsageFailure("'" + target + "' is no directory: several attachments are saved into a directory");
    if (!bDirectory && !IsDirectory(DirectoryOfFile(target)))
        throw Failure("cannot save to '" + target + "': no directory '" + DirectoryOfFile(target) + "'");
    if (!bDirectory && !request.bOverwrite && std::filesystem::exists(target))
        throw Failure("'" + target + "' exists: give --overwrite to replace it");

    AttachmentFiles files(bDirectory ? target : DirectoryOfFile(target), request.bOverwrite);
    CMAPIInterface& mapi = host.Mapi();
    const std::vector<std::int64_t> sizes = ReadAttachmentSizes(host.Session(), item.id.Value());
    Json written = Json::array();
    for (int index : positions)
    {
        CString name;
        mapi.GetAttachmentName(item.id.Value(), name, index, MAPIPIM_ATTACH_ALL);
        if (!SaveWatched(mapi, item, index, files, "Saving " + Utf8(name), AttachmentSizeAt(sizes, index)))
        {
            Host::CheckCancel();
            throw Failure("cannot save the attachment " + std::to_string(index) + " (" + Utf8(name) + ")");
        }
        const std::string path = bDirectory ? files.Place() : files.PlaceAs(target);
        written.push_back(Json{{"index", index}, {"name", Utf8(name)}, {"path", path}});
        if (!host.Json())
            std::cout << path << '\n';
        Host::CheckCancel();
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", item.id.Text()}, {"files", written}});
}

void Delete(Host& host, const AttachmentRequest& request)
{
    if (!request.indexOption->count() && !request.bAll)
        throw UsageFailure("name the attachment by its position, or give --all");
    Item item = OpenItem(host, request.id);
    RequireIndex(item, request.index);
    CMAPIInterface& mapi = host.Mapi();
    if (!mapi.DeleteAttachment(item.id.Value(), request.index, request.filter))
    {
        Host::CheckCancel();
        throw Failure("cannot delete the attachments");
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", item.id.Text()}, {"remaining", mapi.GetAttachmentCount(item.id.Value())}});
}

CLI::App& AddItemCommand(CommandSet& commands, CLI::App& group, const char* name, const char* description,
                         void (*run)(Host&, const AttachmentRequest&),
                         const std::shared_ptr<AttachmentRequest>& request)
{
    CLI::App& command = commands.Add(group, name, description, run, request);
    command.add_option("id", request->id, "Entry identifier of the item (hexadecimal)")->required();
    return command;
}

void AddSelection(CLI::App& command, AttachmentRequest& request)
{
    request.indexOption = command.add_option("index", request.index, "Position in the attachment table (from 0)")
                              ->check(CLI::Range(0, INT_MAX));
    command.add_flag("--all", request.bAll, "Every attachment that passes the filter")->excludes(request.indexOption);
    command.add_option("--filter", request.filter, "all, picture (the contact picture) or files (all but it)")
        ->transform(CLI::Validator(
            [](std::string& text)
            {
                const auto found = kFilters.find(text);
                if (found == kFilters.end())
                    return "'" + text + "' is no filter: expected all, picture or files";
                text = std::to_string(found->second);
                return std::string();
            },
            "all|picture|files"));
}
} // namespace

void AddAttachmentCommands(CommandSet& commands)
{
    CLI::App& group = commands.AddGroup("attachments", "List, save and delete the attachments of an item");

    auto listing = std::make_shared<AttachmentRequest>();
    AddItemCommand(commands, group, "list", "List the attachments with their positions", List, listing);

    auto saving = std::make_shared<AttachmentRequest>();
    CLI::App& save =
        AddItemCommand(commands, group, "save", "Save attachments to files (all without an index)", Save, saving);
    AddSelection(save, *saving);
    save.add_option("--to", saving->target, "Directory, or file name for one attachment (default: here)");
    save.add_flag("--overwrite", saving->bOverwrite,
                  "Replace existing files (else a file of the same name in the directory gives 'name (2).ext')");

    auto deleting = std::make_shared<AttachmentRequest>();
    CLI::App& remove =
        AddItemCommand(commands, group, "delete", "Delete an attachment, or all with --all", Delete, deleting);
    AddSelection(remove, *deleting);
}
} // namespace cli
