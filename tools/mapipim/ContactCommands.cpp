// contacts list|show|add|edit|delete: the contact operations of the interface object.
#include "AttachingProgress.h"
#include "CommandSet.h"
#include "ContactOptions.h"
#include "ContactReading.h"
#include "ContactText.h"
#include "Failure.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "JsonRecords.h"
#include "OptionChecks.h"
#include "ShortIds.h"
#include "ShowCommand.h"
#include "Text.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct ContactRequest
{
    std::string id;
    std::string folder;
    ContactOptions fields;
    bool bToDeletedItems = false;
};

void PrintContactId(Host& host, const CMAPIContactInfo& contact)
{
    if (host.Json())
        Host::Print(ContactJson(contact));
    else
        std::cout << ShownId(Utf8(contact.strEntryID)) << '\n';
}

void List(Host& host, const ContactRequest& request)
{
    FolderLocator folders(host);
    COutlookFolder& folder = folders.Find(request.folder);
    RecordArray<CMAPIContactInfo> contacts;
    ListContacts(host, folder, folders.PathOf(folder), contacts);
    if (host.Json())
    {
        Json list = Json::array();
        for (INT_PTR i = 0; i < contacts.GetSize(); ++i)
            list.push_back(ContactJson(contacts[i]));
        Host::Print(Json{{"folder", FolderJson(folder, folders.PathOf(folder))}, {"contacts", list}});
        return;
    }
    for (INT_PTR i = 0; i < contacts.GetSize(); ++i)
        WriteContactLine(std::cout, contacts[i]);
}

void Show(Host& host, const ContactRequest& request)
{
    CMAPIContactInfo contact;
    ReadContact(host, request.id, contact);
    if (host.Json())
        Host::Print(ContactJson(contact));
    else
        WriteContact(std::cout, contact);
}

void Add(Host& host, const ContactRequest& request)
{
    if (!request.fields.AnyGiven())
        throw UsageFailure("give at least one field of the new contact");
    if (!request.fields.AnyValue())
        throw UsageFailure("give at least one field of the new contact a value: every field given is empty");
    FolderLocator folders(host);
    COutlookFolder& folder = folders.Find(request.folder);
    CMAPIContactInfo contact;
    request.fields.ApplyTo(contact);
    if (!WriteAttaching(contact.strAttachFile, [&] { return host.Mapi().CreateContact(&folder, &contact); }))
    {
        Host::CheckCancel();
        throw Failure("cannot create the contact in '" + folders.PathOf(folder) + "'");
    }
    ReadContact(host, Utf8(contact.strEntryID), contact);
    CheckNewItem(
        "contact", [&] { request.fields.CheckApplied(contact); },
        [&] { return host.Mapi().DeleteContact(&folder, &contact, FALSE); });
    PrintContactId(host, contact);
}

void Edit(Host& host, const ContactRequest& request)
{
    if (!request.fields.AnyGiven())
        throw UsageFailure("give at least one field to change");
    CMAPIContactInfo contact;
    ReadContact(host, request.id, contact);
    FolderLocator folders(host);
    COutlookFolder& folder = folders.FolderOfItem(request.folder, contact.sbEntryID, kFolderTypeContacts);
    request.fields.ApplyTo(contact);
    if (!WriteAttaching(contact.strAttachFile, [&] { return host.Mapi().ModifyContact(&folder, &contact); }))
    {
        Host::CheckCancel();
        throw Failure("cannot change the contact " + request.id);
    }
    ReadContact(host, request.id, contact);
    CheckEditedItem("contact", request.id, [&] { request.fields.CheckApplied(contact); });
    PrintContactId(host, contact);
}

void Delete(Host& host, const ContactRequest& request)
{
    CMAPIContactInfo contact;
    ReadContact(host, request.id, contact);
    FolderLocator folders(host);
    COutlookFolder& folder = folders.FolderOfItem(request.folder, contact.sbEntryID, kFolderTypeContacts);
    if (!host.Mapi().DeleteContact(&folder, &contact, request.bToDeletedItems))
    {
        Host::CheckCancel();
        throw Failure("cannot delete the contact " + request.id + " from '" + folders.PathOf(folder) + "'");
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", Utf8(contact.strEntryID)}, {"movedToDeletedItems", request.bToDeletedItems}});
}

void AddIdArgument(CLI::App& command, ContactRequest& request)
{
    command.add_option("id", request.id, "Entry identifier of the contact (hexadecimal)")->required();
}

void AddFolderOption(CLI::App& command, ContactRequest& request, const char* description)
{
    command.add_option("--folder", request.folder, description);
}
} // namespace

void ShowContact(Host& host, const std::string& id)
{
    ContactRequest request;
    request.id = id;
    Show(host, request);
}

void AddContactCommands(CommandSet& commands)
{
    CLI::App& group = commands.AddGroup("contacts", "Read and write contacts");
    // One request per command: the field options of "add" and "edit" are distinct options of the parser.
    auto listing = std::make_shared<ContactRequest>();
    CLI::App& list = commands.Add(group, "list", "List the contacts of a folder", List, listing);
    list.add_option("folder", listing->folder, "Folder path or entry identifier (default: the contacts folder)");

    auto showing = std::make_shared<ContactRequest>();
    AddIdArgument(commands.Add(group, "show", "Show every field of a contact", Show, showing), *showing);

    auto adding = std::make_shared<ContactRequest>();
    CLI::App& add = commands.Add(group, "add", "Create a contact", Add, adding);
    AddFolderOption(add, *adding, "Folder to create it in (default: the contacts folder)");
    adding->fields.AddTo(add, false);

    auto editing = std::make_shared<ContactRequest>();
    CLI::App& edit = commands.Add(group, "edit", "Change the given fields of a contact", Edit, editing);
    AddIdArgument(edit, *editing);
    AddFolderOption(edit, *editing, "Folder of the contact (default: the contacts folder)");
    editing->fields.AddTo(edit, true);

    auto deleting = std::make_shared<ContactRequest>();
    CLI::App& remove = commands.Add(group, "delete", "Delete a contact", Delete, deleting);
    AddIdArgument(remove, *deleting);
    AddFolderOption(remove, *deleting, "Folder of the contact (default: the contacts folder)");
    remove.add_flag("--to-deleted-items", deleting->bToDeletedItems, "Move it to Deleted Items instead");
}
} // namespace cli
