// A profile root moved or copied whole: profiles.db names its store files relative to the root, so the moved root
// opens its own stores and a copy writes into its own files, never the original's. Rows of older roots, which
// name the files by absolute paths, still open.
#include "platform/mapi/Sqlite.h"
#include "support/ScopedEnvironment.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <filesystem>

namespace
{
namespace fs = std::filesystem;

class HomeMoveTest : public ServiceTest
{
protected:
    // A root below the test's home, made with the default profile and one message in its Inbox.
    std::string MakeRoot(const char* name)
    {
        const std::string root = Home() + "/" + name;
        ScopedEnv home("MAPIPIM_HOME", root);
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        CreateMessage(OpenInbox(store.Get()).Get(), u"kept");
        return root;
    }

    // The subjects of the Inbox of the root's default store.
    std::vector<std::u16string> InboxOf(const std::string& root)
    {
        ScopedEnv home("MAPIPIM_HOME", root);
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        if (!store)
            return {};
        return MessageSubjects(OpenInbox(store.Get()).Get());
    }

    void AddToInbox(const std::string& root, const char16_t* subject)
    {
        ScopedEnv home("MAPIPIM_HOME", root);
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        CreateMessage(OpenInbox(store.Get()).Get(), subject);
    }

    // The store paths profiles.db records.
    std::vector<std::string> RecordedPaths(const std::string& root)
    {
        std::unique_ptr<mapisvc::Database> db;
        EXPECT_EQ(mapisvc::Database::Open(root + "/profiles.db", false, db), S_OK);
        std::vector<std::string> paths;
        if (!db)
            return paths;
        mapisvc::Query query = db->Prepare("SELECT path FROM store");
        while (query.Step())
            paths.push_back(query.Text(0));
        return paths;
    }

    void RecordAbsolutePaths(const std::string& root, const std::string& storesDir)
    {
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(root + "/profiles.db", false, db), S_OK);
        mapisvc::Query update = db->Prepare("UPDATE store SET path = ? || substr(path, 8)");
        ASSERT_EQ(update.BindText(1, storesDir + "/").Run(), S_OK);
    }
};

TEST_F(HomeMoveTest, StorePathsAreRecordedRelativeToTheRoot)
{
    const std::string root = MakeRoot("root");
    const std::vector<std::string> paths = RecordedPaths(root);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].rfind("stores/", 0), 0u) << paths[0];
    EXPECT_TRUE(fs::exists(root + "/" + paths[0]));
}

TEST_F(HomeMoveTest, MovedRootOpensItsStores)
{
    const std::string root = MakeRoot("before");
    const std::string moved = Home() + "/after";
    fs::rename(root, moved);
    EXPECT_EQ(InboxOf(moved), std::vector<std::u16string>{u"kept"});
}

TEST_F(HomeMoveTest, CopiedRootWritesIntoItsOwnFiles)
{
    const std::string original = MakeRoot("original");
    const std::string copy = Home() + "/copy";
    fs::copy(original, copy, fs::copy_options::recursive);
    AddToInbox(copy, u"only in the copy");
    EXPECT_EQ(InboxOf(copy), (std::vector<std::u16string>{u"kept", u"only in the copy"}));
    EXPECT_EQ(InboxOf(original), std::vector<std::u16string>{u"kept"});
}

TEST_F(HomeMoveTest, AbsolutePathsOfAnOlderRootStillOpen)
{
    const std::string root = MakeRoot("older");
    RecordAbsolutePaths(root, root + "/stores");
    ASSERT_EQ(RecordedPaths(root).at(0).rfind(root, 0), 0u);
    EXPECT_EQ(InboxOf(root), std::vector<std::u16string>{u"kept"});

    // Moved, the older root's absolute rows name files that are gone: its own files of those names are its stores.
    const std::string moved = Home() + "/older-moved";
    fs::rename(root, moved);
    EXPECT_EQ(InboxOf(moved), std::vector<std::u16string>{u"kept"});
}

TEST_F(HomeMoveTest, AbsolutePathOutsideTheRootIsKept)
{
    // A store file kept elsewhere, recorded by its absolute path, is opened where it is.
    const std::string root = MakeRoot("root");
    const std::string elsewhere = Home() + "/elsewhere";
    fs::rename(root + "/stores", elsewhere);
    fs::create_directory(root + "/stores");
    RecordAbsolutePaths(root, elsewhere);
    EXPECT_EQ(InboxOf(root), std::vector<std::u16string>{u"kept"});
}
} // namespace
