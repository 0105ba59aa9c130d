// attachments list|save|delete: the attachment operations of the interface object, on any item named by its entry
// identifier. Attachments are addressed by their position in the item's attachment table, as the library does.
#include "CommandSet.h"
#include "EntryId.h"
#include "Failure.h"
#include "Host.h"
#include "Text.h"

#include <mapipim/MAPIItem.h>

#include <climits>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <unistd.h>

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
    EntryId id = EntryId::Parse(text);
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

void Save(Host& host, const AttachmentRequest& request)
{
    Item item = OpenItem(host, request.id);
    RequireIndex(item, request.index);
    const std::string target = request.target.empty() ? CurrentDirectory() : request.target;
    CMAPIInterface& mapi = host.Mapi();
    CString names;
    mapi.GetAttachmentName(item.id.Value(), names, request.index, request.filter);
    if (!mapi.SaveAttachment(item.id.Value(), WideText(target), request.index, request.filter))
    {
        Host::CheckCancel();
        throw Failure("cannot save the attachments to '" + target + "'");
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", item.id.Text()}, {"target", target}, {"names", Utf8(names)}});
    else
        std::cout << "saved " << Utf8(names) << " to " << target << '\n';
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
        ->transform(CLI::CheckedTransformer(kFilters));
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

    auto deleting = std::make_shared<AttachmentRequest>();
    CLI::App& remove =
        AddItemCommand(commands, group, "delete", "Delete an attachment, or all with --all", Delete, deleting);
    AddSelection(remove, *deleting);
}
} // namespace cli
