// show ID: an item of any kind, shown by the show command of the kind its message class names, so that a user who
// imported a file can look at the item without knowing what it holds.
#include "ShowCommand.h"

#include "CommandSet.h"
#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "Host.h"
#include "MessageClasses.h"

#include <memory>

namespace cli
{
namespace
{
typedef void (*ShowFunction)(Host&, const std::string&);

struct ShowRequest
{
    std::string id;
};

// Null for a kind that no show command reads.
ShowFunction ShowOfKind(ItemKind kind)
{
    switch (kind)
    {
    case ItemKind::Mail:
        return ShowEmail;
    case ItemKind::Contact:
        return ShowContact;
    case ItemKind::Appointment:
        return ShowAppointment;
    case ItemKind::Task:
        return ShowTask;
    case ItemKind::Note:
        return ShowNote;
    default:
        return nullptr;
    }
}

void Show(Host& host, const ShowRequest& request)
{
    EntryId id = EntryId::Parse(ExpandEntryIdTail(host, request.id));
    std::string messageClass;
    if (!host.ReadMessageClass(id.Value(), messageClass))
    {
        Host::CheckCancel();
        throw Failure("no item with the entry identifier " + id.Text());
    }
    if (messageClass.empty())
        throw Failure(id.Text() + " has no message class: it is no item that a show command reads");
    const ShowFunction show = ShowOfKind(KindOfClass(messageClass));
    if (!show)
        throw Failure("the item " + id.Text() + " is of the class '" + messageClass +
                      "', which none of the show commands reads");
    show(host, id.Text());
}
} // namespace

void AddShowCommand(CommandSet& commands)
{
    auto request = std::make_shared<ShowRequest>();
    CLI::App& show = commands.Add(commands.App(), "show",
                                  "Show every field of an item of any kind: an e-mail, contact, appointment, task or "
                                  "note, told apart by its message class",
                                  Show, request);
    show.add_option("id", request->id, "Entry identifier of the item (hexadecimal, or its last 8 digits or more)")
        ->required();
}
} // namespace cli
