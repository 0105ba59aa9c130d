// A store a command needs but cannot open is named with the reason: its file damaged or missing, or no store of
// that name; a store another process keeps locked is named as busy; an item is deleted from its own folder without
// --folder.
#include "tools/CliTest.h"

#include <chrono>
#include <filesystem>
#include <sqlite3.h>

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

TEST_F(StoreProblemsCliTest, AStoreLockedByAnotherProcessIsNamedAsBusyAndNothingIsWritten)
{
    AddContact({"--first-name", "Before"});
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    const clitest::CliResult result = Run({"contacts", "add", "--first-name", "While locked"});
    const auto waited = std::chrono::steady_clock::now() - start;
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);

    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot create the contact"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("the store is busy, locked by another process"), std::string::npos) << result.err;
    EXPECT_GE(waited, std::chrono::seconds(10)) << "the service waits for the lock before giving up";
    const nlohmann::json contacts = ListContacts()["contacts"];
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0]["strFirstName"], "Before");

    const clitest::CliResult failed = Run({"contacts", "show", "0123456789ABCDEF"});
    EXPECT_EQ(failed.err.find("busy"), std::string::npos) << "other failures say nothing of a lock: " << failed.err;
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
