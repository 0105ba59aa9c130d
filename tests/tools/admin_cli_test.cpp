// What the service's control API and discovery show: profiles, the stores of a profile, folders, the store list
// and the folder tree.
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class AdminCliTest : public CliTest
{
};

const char kDefaultTree[] = "Personal Folders (default)\n"
                            "  Inbox  [inbox]\n"
                            "  Outbox  [outbox]\n"
                            "  Sent Items  [sent]\n"
                            "  Deleted Items  [deleted]\n"
                            "  Drafts  [drafts]\n"
                            "  Calendar  [calendar]\n"
                            "  Contacts  [contacts]\n"
                            "  Tasks  [tasks]\n"
                            "  Notes  [notes]\n"
                            "  Journal  [journal]\n";

TEST_F(AdminCliTest, ProfilesAreCreatedListedMadeDefaultAndDeleted)
{
    EXPECT_EQ(RunJson({"profile", "list"})["profiles"], json::array()) << "listing makes no default profile";
    ASSERT_EQ(Run({"profile", "create", "Work"}).status, 0);
    ASSERT_EQ(Run({"profile", "create", "Private", "--default", "--empty"}).status, 0);

    clitest::CliResult list = Run({"profile", "list"});
    EXPECT_EQ(list.out, "Work\nPrivate (default)\n") << "in the order they were made";
    const clitest::CliResult twice = Run({"profile", "create", "work"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.err, "mapipim: a profile named 'Work' exists already\n");

    ASSERT_EQ(Run({"profile", "default", "Work"}).status, 0);
    ASSERT_EQ(Run({"profile", "delete", "Private"}).status, 0);
    list = Run({"profile", "list"});
    EXPECT_EQ(list.out, "Work (default)\n");
    EXPECT_EQ(Run({"profile", "delete", "Private"}).status, 1);
    EXPECT_EQ(Run({"profile", "default", "Private"}).status, 1);
}

TEST_F(AdminCliTest, StoresAreAddedToAProfileAndListed)
{
    ASSERT_EQ(Run({"profile", "create", "Work"}).status, 0);
    ASSERT_EQ(Run({"profile", "create", "Empty", "--empty"}).status, 0);
    const clitest::CliResult added = Run({"store", "add", "Archive", "--profile", "Work", "--ansi", "--bare"});
    ASSERT_EQ(added.status, 0) << added.err;

    const json stores = RunJson({"store", "list", "--profile", "Work"})["stores"];
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_EQ(stores[0]["strName"], "Personal Folders");
    EXPECT_TRUE(stores[0]["bDefault"]);
    EXPECT_EQ(stores[1]["strName"], "Archive");
    EXPECT_FALSE(stores[1]["bDefault"]);
    EXPECT_EQ(stores[1]["sbEntryID"].get<std::string>() + "\n", added.out);
    EXPECT_EQ(RunJson({"store", "list", "--profile", "Empty"})["stores"], json::array());
    EXPECT_EQ(Run({"store", "list", "--profile", "Nobody"}).status, 1);
}

TEST_F(AdminCliTest, StoresShowsEveryStoreOfTheDefaultProfileWithItsTraits)
{
    ASSERT_EQ(Run({"store", "add", "Archive", "--ansi", "--provider", "Archive Provider"}).status, 0);
    const json stores = RunJson({"stores"})["stores"];
    ASSERT_EQ(stores.size(), 2u);
    EXPECT_TRUE(stores[0]["bDefault"]);
    EXPECT_TRUE(stores[0]["unicode"]);
    EXPECT_EQ(stores[0]["nFolderTypes"], 0x3FF);
    EXPECT_EQ(stores[1]["strName"], "Archive");
    EXPECT_EQ(stores[1]["strProvider"], "Archive Provider");
    EXPECT_FALSE(stores[1]["unicode"]);
    EXPECT_EQ(stores[1]["folderTypes"].size(), 10u);

    const clitest::CliResult text = Run({"--store", "archive", "stores"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Archive\n  provider: Archive Provider\n  strings:  ANSI only\n", 0), 0u) << text.out;
}

TEST_F(AdminCliTest, TreeShowsTheFoldersByDepthWithTypesAndCounts)
{
    EXPECT_EQ(Run({"tree"}).out, kDefaultTree);
    ASSERT_EQ(Run({"folder", "add", "Inbox/Projects"}).status, 0);
    ASSERT_EQ(Run({"folder", "add", "Inbox/Projects/2025"}).status, 0);
    ASSERT_EQ(Run({"folder", "add", "Misc"}).status, 0);
    AddContact({"--first-name", "Anna"});

    EXPECT_EQ(Run({"tree", "--types", "inbox,other"}).out, "Personal Folders (default)\n"
                                                           "  Inbox  [inbox]\n"
                                                           "    Projects  [inbox]\n"
                                                           "      2025  [inbox]\n"
                                                           "  Misc  [other]\n");
    EXPECT_EQ(Run({"tree", "--types", "contacts,calendar", "--count"}).out, "Personal Folders (default)\n"
                                                                            "  Calendar  [calendar]  0\n"
                                                                            "  Contacts  [contacts]  1\n");
    EXPECT_EQ(Run({"tree", "--mask", "0x20"}).out, "Personal Folders (default)\n  Contacts  [contacts]\n");

    const json folders = RunJson({"tree"})["stores"][0]["arrFolders"];
    ASSERT_EQ(folders.size(), 13u);
    EXPECT_EQ(folders[2]["path"], "Inbox/Projects/2025");
    EXPECT_EQ(folders[2]["nDepth"], 3);
    EXPECT_EQ(folders[2]["sbParentEntryID"], folders[1]["sbEntryID"]);
    EXPECT_EQ(folders[12]["path"], "Misc");
    EXPECT_EQ(folders[12]["type"], "other");
}

TEST_F(AdminCliTest, FolderAddRefusesAParentThatIsMissing)
{
    const clitest::CliResult result = Run({"folder", "add", "Nowhere/Projects"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mapipim: no folder 'Nowhere' in the store 'Personal Folders'\n");
    EXPECT_EQ(Run({"folder", "add", "Inbox/"}).status, 2);
    EXPECT_EQ(Run({"tree"}).out, kDefaultTree);
}
} // namespace
