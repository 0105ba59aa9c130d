// The five commands of an item kind (list, show, add, edit, delete) written once over the kind's operations of the
// interface object. A kind supplies:
//
//   struct Kind
//   {
//       typedef CMAPI...Info Info;            // the record
//       typedef ...Options Options;           // AddTo(command, bEditing), AnyGiven(), ApplyTo(record, bCreating)
//                                             // and CheckApplied(record) of the field options of add and edit
//       static const char* const kGroup;      // "tasks"
//       static const char* const kNoun;       // "task"
//       static const unsigned kFolderType;    // the standard folder, a discovery type bit
//       static BOOL List(CMAPIInterface&, COutlookFolder*, CArray<Info*, Info*>&, ULONG);
//       static BOOL Read(CMAPIInterface&, Info*, ULONG);
//       static BOOL Create(CMAPIInterface&, COutlookFolder*, Info*);   // and Modify
//       static BOOL Delete(CMAPIInterface&, COutlookFolder*, Info*, int);
//       static Json ToJson(const Info&);
//       static void WriteLine(std::ostream&, const Info&);  // one line of a list
//       static void Write(std::ostream&, const Info&);      // every field that holds a value
//   };
#pragma once

#include "CommandSet.h"
#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "FolderLocator.h"
#include "Host.h"
#include "JsonRecords.h"
#include "OptionChecks.h"
#include "RecordArray.h"
#include "ShortIds.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>

#include <iostream>
#include <memory>
#include <string>

namespace cli
{
// Every read group: the record times, the subject or names, and the rest.
const ULONG kReadAllFields = 0x7;

template <class Kind> class ItemCommands
{
public:
    typedef typename Kind::Info Info;

    static void Register(CommandSet& commands, const std::string& description)
    {
        const std::string noun = Kind::kNoun;
        const std::string defaultFolder = std::string("(default: the ") + Kind::kGroup + " folder)";
        CLI::App& group = commands.AddGroup(Kind::kGroup, description);
        // One request per command: the field options of "add" and "edit" are distinct options of the parser.
        auto listing = std::make_shared<Request>();
        CLI::App& list =
            commands.Add(group, "list", "List the " + std::string(Kind::kGroup) + " of a folder", List, listing);
        list.add_option("folder", listing->folder, "Folder path or entry identifier " + defaultFolder);

        auto showing = std::make_shared<Request>();
        AddIdArgument(commands.Add(group, "show", "Show every field of a " + noun, Show, showing), *showing);

        auto adding = std::make_shared<Request>();
        CLI::App& add = commands.Add(group, "add", "Create a " + noun, Add, adding);
        add.add_option("--folder", adding->folder, "Folder to create it in " + defaultFolder);
        adding->fields.AddTo(add, false);

        auto editing = std::make_shared<Request>();
        CLI::App& edit = commands.Add(group, "edit", "Change the given fields of a " + noun, Edit, editing);
        AddIdArgument(edit, *editing);
        edit.add_option("--folder", editing->folder, "Folder of the " + noun + " " + defaultFolder);
        editing->fields.AddTo(edit, true);

        auto deleting = std::make_shared<Request>();
        CLI::App& remove = commands.Add(group, "delete", "Delete a " + noun, Delete, deleting);
        AddIdArgument(remove, *deleting);
        remove.add_option("--folder", deleting->folder, "Folder of the " + noun + " " + defaultFolder);
        remove.add_flag("--to-deleted-items", deleting->bToDeletedItems, "Move it to Deleted Items instead");
    }

    // What "show" prints for the item the identifier text names.
    static void ShowItem(Host& host, const std::string& id)
    {
        Request request;
        request.id = id;
        Show(host, request);
    }

private:
    struct Request
    {
        std::string id;
        std::string folder;
        typename Kind::Options fields;
        bool bToDeletedItems = false;
    };

    static void AddIdArgument(CLI::App& command, Request& request)
    {
        command.add_option("id", request.id, "Entry identifier of the " + std::string(Kind::kNoun) + " (hexadecimal)")
            ->required();
    }

    // Reads the item the entry identifier text names, every field; throws UsageFailure for malformed text and
    // Failure when no item has that identifier.
    static void Read(Host& host, const std::string& entryId, Info& info)
    {
        const EntryId id = EntryId::Parse(ExpandEntryIdTail(host, entryId));
        CopySBinary(info.sbEntryID, id.Value());
        info.strEntryID = WideText(id.Text());
        if (!Kind::Read(host.Mapi(), &info, kReadAllFields))
        {
            Host::CheckCancel();
            throw Failure("no item with the entry identifier " + id.Text());
        }
    }

    // The item as saved, read afresh (a field that the item no longer has must not keep the value it was written
    // with), checked against what was asked, then its identifier, or every field with --json.
    static void PrintSaved(Host& host, const Request& request, const std::string& entryId, COutlookFolder* pCreatedIn)
    {
        Info saved;
        Read(host, entryId, saved);
        const auto check = [&] { request.fields.CheckApplied(saved); };
        if (pCreatedIn)
            CheckNewItem(Kind::kNoun, check, [&] { return Kind::Delete(host.Mapi(), pCreatedIn, &saved, FALSE); });
        else
            CheckEditedItem(Kind::kNoun, entryId, check);
        if (host.Json())
            Host::Print(Kind::ToJson(saved));
        else
            std::cout << ShownId(Utf8(saved.strEntryID)) << '\n';
    }

    static void List(Host& host, const Request& request)
    {
        FolderLocator folders(host);
        COutlookFolder& folder = folders.Find(request.folder, Kind::kFolderType);
        const std::string path = folders.PathOf(folder);
        RecordArray<Info> records;
        CMAPIInterface& mapi = host.Mapi();
        host.Progress().ExpectItems("Reading " + path, mapi.GetRowCount(&folder));
        const BOOL bListed = Kind::List(mapi, &folder, records.Array(), kReadAllFields);
        host.Progress().Done();
        Host::CheckCancel();
        if (!bListed)
            throw Failure("cannot read the folder '" + path + "'");
        if (host.Json())
        {
            Json list = Json::array();
            for (INT_PTR i = 0; i < records.GetSize(); ++i)
                list.push_back(Kind::ToJson(records[i]));
            Host::Print(Json{{"folder", FolderJson(folder, path)}, {Kind::kGroup, list}});
            return;
        }
        for (INT_PTR i = 0; i < records.GetSize(); ++i)
            Kind::WriteLine(std::cout, records[i]);
    }

    static void Show(Host& host, const Request& request)
    {
        Info info;
        Read(host, request.id, info);
        if (host.Json())
            Host::Print(Kind::ToJson(info));
        else
            Kind::Write(std::cout, info);
    }

    static void Add(Host& host, const Request& request)
    {
        if (!request.fields.AnyGiven())
            throw UsageFailure(std::string("give at least one field of the new ") + Kind::kNoun);
        FolderLocator folders(host);
        COutlookFolder& folder = folders.Find(request.folder, Kind::kFolderType);
        Info info;
        request.fields.ApplyTo(info, true);
        if (!Kind::Create(host.Mapi(), &folder, &info))
        {
            Host::CheckCancel();
            throw Failure(std::string("cannot create the ") + Kind::kNoun + " in '" + folders.PathOf(folder) + "'");
        }
        PrintSaved(host, request, Utf8(info.strEntryID), &folder);
    }

    static void Edit(Host& host, const Request& request)
    {
        if (!request.fields.AnyGiven())
            throw UsageFailure("give at least one field to change");
        Info info;
        Read(host, request.id, info);
        FolderLocator folders(host);
        COutlookFolder& folder = folders.FolderOfItem(request.folder, info.sbEntryID, Kind::kFolderType);
        request.fields.ApplyTo(info, false);
        if (!Kind::Modify(host.Mapi(), &folder, &info))
        {
            Host::CheckCancel();
            throw Failure(std::string("cannot change the ") + Kind::kNoun + " " + request.id);
        }
        PrintSaved(host, request, request.id, nullptr);
    }

    static void Delete(Host& host, const Request& request)
    {
        Info info;
        Read(host, request.id, info);
        FolderLocator folders(host);
        COutlookFolder& folder = folders.FolderOfItem(request.folder, info.sbEntryID, Kind::kFolderType);
        if (!Kind::Delete(host.Mapi(), &folder, &info, request.bToDeletedItems))
        {
            Host::CheckCancel();
            throw Failure(std::string("cannot delete the ") + Kind::kNoun + " " + request.id + " from '" +
                          folders.PathOf(folder) + "'");
        }
        if (host.Json())
            Host::Print(Json{{"strEntryID", Utf8(info.strEntryID)}, {"movedToDeletedItems", request.bToDeletedItems}});
    }
};
} // namespace cli
