// A store a command needs but cannot open is named with the reason: its file damaged or missing, or no store of
// that name; an item is deleted from its own folder without --folder.
#include "tools/CliTest.h"

#include <filesystem>

namespace
{
class StoreProblemsCliTest : public CliTest
{
protected:
    // The one store file of the fresh profile.
    std::string StoreFile()
    {
        std::string found;
        for (const auto& entry : std::filesystem::directory_iterator(Home() + "/stores"))
        {
            if (entry.path().extension() == ".db")
                found = entry.path().string();
        }
        return found;
    }
};

TEST_F(StoreProblemsCliTest, ADamagedOrMissingStoreFileIsNamed)
{
    ASSERT_EQ(Run({"stores"}).status, 0);
    const std::string file = StoreFile();
    ASSERT_FALSE(file.empty());

    std::filesystem::resize_file(file, 0);
    clitest::CliResult result = Run({"contacts", "list"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mapipim: the store file of 'Personal Folders' is damaged\n");

    std::filesystem::remove(file);
    result = Run({"stores"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mapipim: the store file of 'Personal Folders' is missing or cannot be read\n");
}

TEST_F(StoreProblemsCliTest, AnUnknownStoreNameListsTheStoresThereAre)
{
    ASSERT_EQ(Run({"store", "add", "Archive"}).status, 0);
    const clitest::CliResult result = Run({"--store", "Archiv", "contacts", "list"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "mapipim: no store named 'Archiv' in the profile (its stores: 'Personal Folders', 'Archive')\n");
    EXPECT_EQ(Run({"--store", "archive", "contacts", "list"}).status, 0) << "names compare ignoring case";
}

TEST_F(StoreProblemsCliTest, DeleteFindsTheFolderThatHoldsTheItem)
{
    ASSERT_EQ(Run({"folder", "add", "Contacts/Club"}).status, 0);
    const std::string id = AddContact({"--folder", "Contacts/Club", "--first-name", "Anna"});
    const clitest::CliResult deleted = Run({"contacts", "delete", id});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(ListContacts("Contacts/Club")["contacts"].size(), 0u);
    EXPECT_EQ(Run({"contacts", "show", id}).status, 1);
}
} // namespace
