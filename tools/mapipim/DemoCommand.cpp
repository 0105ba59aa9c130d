// demo: the main job on the default profile. When its contacts folder is empty it adds the sample contacts (one
// with a picture made on the fly, one with an attachment); then it shows the folder tree with item counts and the
// contact list, all read back through the library.
#include "CommandSet.h"
#include "ContactReading.h"
#include "ContactText.h"
#include "Failure.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "JsonRecords.h"
#include "SampleContacts.h"
#include "SamplePicture.h"
#include "ScratchDirectory.h"
#include "StoreText.h"
#include "Text.h"

#include <fstream>
#include <iostream>

namespace cli
{
namespace
{
int AddSampleContacts(Host& host, COutlookFolder& folder)
{
    ScratchDirectory scratch;
    const std::string picture = scratch.PathOf("portrait.png");
    const std::string attachment = scratch.PathOf("Directions to the Madrid office.txt");
    WriteSamplePicture(picture);
    if (!(std::ofstream(attachment) << SampleAttachmentText()))
        throw Failure("cannot write the sample attachment " + attachment);

    int added = 0;
    for (CMAPIContactInfo& contact : SampleContacts(picture, attachment))
    {
        if (!host.Mapi().CreateContact(&folder, &contact))
        {
            Host::CheckCancel();
            throw Failure("cannot create the sample contact " + Utf8(contact.strFullName));
        }
        ++added;
    }
    return added;
}

void RunDemo(Host& host)
{
    FolderLocator folders(host);
    COutlookFolder& contactsFolder = folders.Contacts();
    const std::string path = folders.PathOf(contactsFolder);
    const int existing = host.Mapi().GetRowCount(&contactsFolder);
    if (existing < 0)
        throw Failure("cannot count the items of " + path);
    const int added = existing == 0 ? AddSampleContacts(host, contactsFolder) : 0;

    StoreList stores;
    stores.Discover(host, kDiscoverEverything | kDiscoveryCountBit, Utf8(folders.Store().strName));
    RecordArray<CMAPIContactInfo> contacts;
    ListContacts(host, contactsFolder, path, contacts);

    if (host.Json())
    {
        Json list = Json::array();
        for (INT_PTR i = 0; i < contacts.GetSize(); ++i)
            list.push_back(ContactJson(contacts[i]));
        Json tree = Json::array();
        for (INT_PTR i = 0; i < stores.GetSize(); ++i)
            tree.push_back(StoreJson(stores[i], true));
        Host::Print(Json{{"added", added}, {"stores", tree}, {"contacts", list}});
        return;
    }
    if (added > 0)
        std::cout << "Added " << added << " sample contacts to " << path << ".\n\n";
    else
        std::cout << path << " already holds " << existing << (existing == 1 ? " item" : " items")
                  << "; no samples added.\n\n";
    for (INT_PTR i = 0; i < stores.GetSize(); ++i)
        WriteFolderTree(std::cout, stores[i], true);
    std::cout << '\n' << path << " (" << contacts.GetSize() << "):\n";
    for (INT_PTR i = 0; i < contacts.GetSize(); ++i)
        WriteContactLine(std::cout, contacts[i]);
}
} // namespace

void AddDemoCommand(CommandSet& commands)
{
    commands.Add(commands.App(), "demo", "Add sample contacts to an empty contacts folder, then show the tree and them",
                 RunDemo);
}
} // namespace cli
