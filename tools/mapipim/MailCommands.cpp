// mail list|show|add|edit|delete|send: the e-mail operations of the interface object, and delivering the queue of
// messages waiting to be sent as .eml files.
#include "AttachingProgress.h"
#include "CommandSet.h"
#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "JsonRecords.h"
#include "MailOptions.h"
#include "OptionChecks.h"
#include "MailText.h"
#include "RecordArray.h"
#include "ShortIds.h"
#include "ShowCommand.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>
#include <mapipim/mapisvc.h>

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
const ULONG kReadAllMailFields = 0x7;
const int kStateQueued = 4;

struct MailRequest
{
    std::string id;
    std::string folder;
    std::string body; // show: the body format to show
    MailOptions fields;
    bool bDraft = false;
    bool bSend = false;
    bool bToDeletedItems = false;
};

void ReadMail(Host& host, const std::string& entryId, CMAPIEmailInfo& email)
{
    const EntryId id = EntryId::Parse(ExpandEntryIdTail(host, entryId));
    CopySBinary(email.sbEntryID, id.Value());
    email.strEntryID = WideText(id.Text());
    if (!host.Mapi().GetEmail(&email, kReadAllMailFields))
    {
        Host::CheckCancel();
        throw Failure("no e-mail with the entry identifier " + id.Text());
    }
}

// The folder given, else the folder that holds the e-mail.
COutlookFolder& FolderOfMail(Host& host, FolderLocator& folders, const MailRequest& request, CMAPIEmailInfo& email)
{
    return folders.FolderOfItem(request.folder, email.sbEntryID, kFolderTypeInbox);
}

void PrintMail(Host& host, const CMAPIEmailInfo& email)
{
    if (host.Json())
        Host::Print(EmailJson(email));
    else
        std::cout << ShownId(Utf8(email.strEntryID)) << '\n';
}

void List(Host& host, const MailRequest& request)
{
    FolderLocator folders(host);
    COutlookFolder& folder =
        request.folder.empty() ? folders.StandardFolder(kFolderTypeInbox) : folders.Find(request.folder);
    const std::string path = folders.PathOf(folder);
    RecordArray<CMAPIEmailInfo> emails;
    CMAPIInterface& mapi = host.Mapi();
    host.Progress().ExpectItems("Reading " + path, mapi.GetRowCount(&folder));
    const BOOL bListed = mapi.GetEmail(&folder, emails.Array(), kReadAllMailFields);
    host.Progress().Done();
    Host::CheckCancel();
    if (!bListed)
        throw Failure("cannot read the folder '" + path + "'");
    if (host.Json())
    {
        Json list = Json::array();
        for (INT_PTR i = 0; i < emails.GetSize(); ++i)
            list.push_back(EmailJson(emails[i]));
        Host::Print(Json{{"folder", FolderJson(folder, path)}, {"emails", list}});
        return;
    }
    for (INT_PTR i = 0; i < emails.GetSize(); ++i)
        WriteMailLine(std::cout, emails[i]);
}

void Show(Host& host, const MailRequest& request)
{
    CMAPIEmailInfo email;
    ReadMail(host, request.id, email);
    if (!request.body.empty())
    {
        const int nForm = MailFormOfName(request.body);
        CString strBody;
        if (!host.ReadEmailBody(email.sbEntryID, nForm, strBody))
            throw Failure("the e-mail " + request.id + " has no " + request.body + " body");
        email.nForm = nForm;
        email.strContents = strBody;
    }
    if (host.Json())
        Host::Print(EmailJson(email));
    else
        WriteMail(std::cout, email);
}

void Add(Host& host, const MailRequest& request)
{
    if (!request.fields.AnyGiven())
        throw UsageFailure("give at least one field of the new e-mail");
    CMAPIEmailInfo email;
    request.fields.ApplyTo(email);
    if (request.bSend && !HasRecipients(email))
        throw UsageFailure("no recipients to send to: give --to, --cc or --bcc");
    FolderLocator folders(host);
    COutlookFolder& folder = request.bSend             ? folders.StandardFolder(kFolderTypeOutbox)
                             : !request.folder.empty() ? folders.Find(request.folder)
                                                       : folders.StandardFolder(kFolderTypeDrafts);
    if (!WriteAttaching(email.strAttachFile, [&] { return host.Mapi().CreateEmail(&folder, &email); }))
    {
        Host::CheckCancel();
        throw Failure("cannot create the e-mail in '" + folders.PathOf(folder) + "'");
    }
    ReadMail(host, Utf8(email.strEntryID), email);
    CheckNewItem(
        "e-mail", [&] { request.fields.CheckApplied(email); },
        [&] { return host.Mapi().DeleteEmail(&folder, &email, FALSE); });
    if (request.bSend && email.nMsgState != kStateQueued)
        throw Failure("the e-mail " + Utf8(email.strEntryID) +
                      " was saved, but not queued for sending: " + "no recipient with an address (see --trace)");
    PrintMail(host, email);
}

void Edit(Host& host, const MailRequest& request)
{
    if (!request.fields.AnyGiven() && !request.bSend)
        throw UsageFailure("give at least one field to change, or --send");
    CMAPIEmailInfo email;
    ReadMail(host, request.id, email);
    FolderLocator folders(host);
    COutlookFolder& folder = FolderOfMail(host, folders, request, email); // names the folder in trace lines only
    request.fields.ApplyTo(email);
    if (request.bSend)
    {
        if (!HasRecipients(email))
            throw UsageFailure("no recipients to send to: give --to, --cc or --bcc");
        email.nMsgState = kStateQueued;
    }
    if (!WriteAttaching(email.strAttachFile, [&] { return host.Mapi().ModifyEmail(&folder, &email); }))
    {
        Host::CheckCancel();
        throw Failure("cannot change the e-mail " + request.id);
    }
    ReadMail(host, request.id, email);
    CheckEditedItem("e-mail", request.id, [&] { request.fields.CheckApplied(email); });
    if (request.bSend && email.nMsgState != kStateQueued)
        throw Failure("the e-mail " + request.id + " was saved, but not queued for sending (see --trace)");
    PrintMail(host, email);
}

void Delete(Host& host, const MailRequest& request)
{
    CMAPIEmailInfo email;
    ReadMail(host, request.id, email);
    FolderLocator folders(host);
    COutlookFolder& folder = FolderOfMail(host, folders, request, email);
    if (!host.Mapi().DeleteEmail(&folder, &email, request.bToDeletedItems))
    {
        Host::CheckCancel();
        throw Failure("cannot delete the e-mail " + request.id + " from '" + folders.PathOf(folder) + "'");
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", Utf8(email.strEntryID)},
                         {"movedToDeletedItems", request.bToDeletedItems && folder.nFolderType != 0x10}});
}

void Send(Host& host, const MailRequest&)
{
    host.Mapi(); // the default profile, made on a fresh home
    mapisvc::DeliveryResult result;
    const HRESULT hr = mapisvc::DeliverOutgoingQueue(std::u16string(), result);
    if (FAILED(hr))
        throw Failure("cannot deliver the outgoing queue (" + std::to_string(static_cast<long>(hr)) + ")");
    if (host.Json())
    {
        Json delivered = Json::array();
        for (const mapisvc::DeliveredMessage& message : result.delivered)
        {
            SBinary id = {static_cast<ULONG>(message.message.size()), const_cast<BYTE*>(message.message.data())};
            delivered.push_back(Json{{"file", message.file}, {"strEntryID", EntryIdText(id)}});
        }
        Json failed = Json::array();
        for (const mapisvc::EntryId& message : result.failed)
        {
            SBinary id = {static_cast<ULONG>(message.size()), const_cast<BYTE*>(message.data())};
            failed.push_back(EntryIdText(id));
        }
        Host::Print(Json{{"directory", mapisvc::GetOutgoingDirectory()}, {"delivered", delivered}, {"failed", failed}});
    }
    else
        for (const mapisvc::DeliveredMessage& message : result.delivered)
            std::cout << message.file << '\n';
    if (!result.failed.empty())
        throw Failure(std::to_string(result.failed.size()) +
                      " queued e-mail(s) could not be delivered and stay queued");
}

void AddIdArgument(CLI::App& command, MailRequest& request)
{
    command.add_option("id", request.id, "Entry identifier of the e-mail (hexadecimal)")->required();
}
} // namespace

void ShowEmail(Host& host, const std::string& id)
{
    MailRequest request;
    request.id = id;
    Show(host, request);
}

void AddMailCommands(CommandSet& commands)
{
    CLI::App& group = commands.AddGroup("mail", "Read, write and send e-mails");
    auto listing = std::make_shared<MailRequest>();
    CLI::App& list = commands.Add(group, "list", "List the e-mails of a folder", List, listing);
    list.add_option("folder", listing->folder, "Folder path or entry identifier (default: the inbox)");

    auto showing = std::make_shared<MailRequest>();
    CLI::App& show = commands.Add(group, "show", "Show every field of an e-mail", Show, showing);
    AddIdArgument(show, *showing);
    show.add_option("--body", showing->body, "Body format to show instead of the e-mail's own")
        ->check(CLI::IsMember({"text", "html", "rtf"}));

    auto adding = std::make_shared<MailRequest>();
    CLI::App& add = commands.Add(group, "add", "Create an e-mail: a draft, or queued for sending", Add, adding);
    CLI::Option* folder = add.add_option("--folder", adding->folder, "Folder to create it in (default: drafts)");
    CLI::Option* draft = add.add_flag("--draft", adding->bDraft, "Save it in the drafts folder (the default)");
    add.add_flag("--send", adding->bSend, "Put it in the outbox, queued for \"mail send\"")
        ->excludes(draft)
        ->excludes(folder);
    adding->fields.AddTo(add);

    auto editing = std::make_shared<MailRequest>();
    CLI::App& edit = commands.Add(group, "edit", "Change the given fields of an e-mail", Edit, editing);
    AddIdArgument(edit, *editing);
    edit.add_option("--folder", editing->folder, "Folder of the e-mail (default: the folder that holds it)");
    edit.add_flag("--send", editing->bSend, "Queue it for sending");
    editing->fields.AddTo(edit);

    auto deleting = std::make_shared<MailRequest>();
    CLI::App& remove = commands.Add(group, "delete", "Delete an e-mail", Delete, deleting);
    AddIdArgument(remove, *deleting);
    remove.add_option("--folder", deleting->folder, "Folder of the e-mail (default: the folder that holds it)");
    remove.add_flag("--to-deleted-items", deleting->bToDeletedItems, "Move it to Deleted Items instead");

    commands.Add(group, "send", "Deliver the e-mails waiting to be sent as .eml files; print the files written", Send,
                 std::make_shared<MailRequest>());
}
} // namespace cli
