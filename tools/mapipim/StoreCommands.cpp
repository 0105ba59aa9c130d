// stores: the profile's message stores. tree: the folders discovery finds in them.
#include "CommandSet.h"
#include "Failure.h"
#include "FolderTypes.h"
#include "Host.h"
#include "JsonRecords.h"
#include "StoreList.h"
#include "StoreText.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct TreeOptions
{
    std::vector<std::string> types;
    unsigned mask = 0;
    CLI::Option* maskOption = nullptr;
    bool bCounts = false;
};

// Throws why the store meant (the named one, else the default) is missing from what discovery found.
void RequireStores(const StoreList& stores, const std::string& storeName)
{
    stores.Find(storeName);
}

// Prints the stores as JSON (with their folders when bWithFolders is set), or as text, each with writeText.
template <typename WriteText>
void PrintStores(Host& host, const StoreList& stores, bool bWithFolders, bool bCounted, const WriteText& writeText)
{
    if (host.Json())
    {
        Json list = Json::array();
        for (INT_PTR i = 0; i < stores.GetSize(); ++i)
            list.push_back(StoreJson(stores[i], bWithFolders, bCounted));
        Host::Print(Json{{"stores", list}});
        return;
    }
    for (INT_PTR i = 0; i < stores.GetSize(); ++i)
        writeText(i, stores[i]);
}

void ListStores(Host& host)
{
    StoreList stores;
    // A walk that takes no folder still notes every special folder it meets in the store's nFolderTypes.
    stores.Discover(host, 0, host.Options().store);
    RequireStores(stores, host.Options().store);
    PrintStores(host, stores, false, false,
                [](INT_PTR i, const COutlookStore& store) { WriteStore(std::cout << (i ? "\n" : ""), store); });
}

void ShowTree(Host& host, const TreeOptions& options)
{
    std::vector<int> typeFilter;
    for (const std::string& name : options.types)
        typeFilter.push_back(FolderTypeOfName(name));
    unsigned mask = options.maskOption->count() ? options.mask
                    : typeFilter.empty()        ? kDiscoverEverything
                                                : DiscoveryMaskOf(typeFilter);
    if (options.bCounts)
        mask |= kDiscoveryCountBit;

    StoreList stores;
    stores.Discover(host, mask, host.Options().store);
    RequireStores(stores, host.Options().store);
    if (!typeFilter.empty())
        stores.KeepFolderTypes(typeFilter);
    PrintStores(host, stores, true, (mask & kDiscoveryCountBit) != 0,
                [&](INT_PTR, const COutlookStore& store) { WriteFolderTree(std::cout, store, options.bCounts); });
}
} // namespace

void AddStoreCommands(CommandSet& commands)
{
    commands.Add(commands.App(), "stores", "List the message stores of the default profile", ListStores);

    auto tree = std::make_shared<TreeOptions>();
    CLI::App& command = commands.Add(commands.App(), "tree", "Show the folders of the stores as a tree",
                                     [tree](Host& host) { ShowTree(host, *tree); });
    CLI::Option* types = command.add_option("--types", tree->types, "Folder types to show, separated by commas")
                             ->delimiter(',')
                             ->check(CLI::IsMember(AllFolderTypeNames()));
    tree->maskOption =
        command.add_option("--mask", tree->mask, "Discovery mask as the library takes it (e.g. 0x21)")->excludes(types);
    command.add_flag("--count", tree->bCounts, "Show the number of items in each folder");
}
} // namespace cli
