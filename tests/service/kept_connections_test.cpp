// A process opens profiles.db and each store file once while its sessions use them: a second session, a store
// released and opened again, or a folder opened later share the open connection. Once the last session has
// ended the files are let go, another process's changes are seen through a kept connection, and a child made by
// fork() opens profiles.db and its stores for itself instead of using its parent's connections.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <sys/wait.h>
#include <unistd.h>

namespace
{
class KeptConnectionsTest : public ServiceTest
{
protected:
    static ULONG StoreCount(IMAPISession* session)
    {
        Ref<IMAPITable> table;
        ULONG count = 0;
        EXPECT_EQ(session->GetMsgStoresTable(0, table.Out()), S_OK);
        EXPECT_EQ(table->GetRowCount(0, &count), S_OK);
        return count;
    }

    // Runs `check` in a child made by fork() now; true when it held there.
    template <typename Check> static bool HoldsInAChild(Check check)
    {
        const pid_t child = fork();
        if (child == 0)
            _exit(check() ? 0 : 1);
        int status = -1;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
};

TEST_F(KeptConnectionsTest, ASecondSessionSharesTheOpenFiles)
{
    MapiInit init;
    Ref<IMAPISession> first = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(first.Get());
    ASSERT_TRUE(store);
    const LONG opens = mapisvc::GetDatabaseOpenCount();

    Ref<IMAPISession> second = Logon();
    Ref<IMsgStore> again = OpenDefaultStore(second.Get());
    ASSERT_TRUE(again);
    EXPECT_TRUE(OpenInbox(again.Get()));
    EXPECT_EQ(mapisvc::GetDatabaseOpenCount(), opens);
}

TEST_F(KeptConnectionsTest, AStoreReleasedAndOpenedAgainBySessionIsNotReopened)
{
    MapiInit init;
    Ref<IMAPISession> session = Logon();
    const mapisvc::EntryId inbox = EntryIdOf(OpenInbox(OpenDefaultStore(session.Get()).Get()).Get());
    ASSERT_FALSE(inbox.empty());
    const LONG opens = mapisvc::GetDatabaseOpenCount();

    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    ASSERT_TRUE(store);
    EXPECT_TRUE(OpenFolder(store.Get(), inbox));
    EXPECT_EQ(mapisvc::GetDatabaseOpenCount(), opens);
}

TEST_F(KeptConnectionsTest, FilesAreLetGoWhenTheLastSessionEnds)
{
    MapiInit init;
    EXPECT_TRUE(OpenDefaultStore(Logon().Get()));
    const LONG opens = mapisvc::GetDatabaseOpenCount();

    Ref<IMAPISession> session = Logon();
    EXPECT_EQ(mapisvc::GetDatabaseOpenCount(), opens + 1) << "profiles.db is opened again";
    EXPECT_TRUE(OpenDefaultStore(session.Get()));
    EXPECT_EQ(mapisvc::GetDatabaseOpenCount(), opens + 2) << "and so is the store";
}

TEST_F(KeptConnectionsTest, AStoreAnotherProcessAddsShowsInALiveSession)
{
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(), S_OK);
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    // Started before this process opens anything, so that the child shares no connection with it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        close(go[1]);
        char byte = 0;
        const bool told = read(go[0], &byte, 1) == 1;
        mapisvc::StoreOptions options;
        options.displayName = u"Added elsewhere";
        _exit(told && mapisvc::AddStore(u"Outlook", options) == S_OK ? 0 : 1);
    }
    close(go[0]);
    MapiInit init;
    Ref<IMAPISession> session = Logon();
    EXPECT_EQ(StoreCount(session.Get()), 1u);
    ASSERT_EQ(write(go[1], "!", 1), 1);
    close(go[1]);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process could not add its store";
    EXPECT_EQ(StoreCount(session.Get()), 2u);
}

TEST_F(KeptConnectionsTest, AChildProcessOpensProfilesForItself)
{
    MapiInit init;
    Ref<IMAPISession> session = Logon();
    EXPECT_EQ(StoreCount(session.Get()), 1u);
    EXPECT_TRUE(HoldsInAChild(
        []
        {
            const LONG opens = mapisvc::GetDatabaseOpenCount();
            mapisvc::StoreOptions options;
            options.displayName = u"Added by the child";
            const bool added = mapisvc::AddStore(u"Outlook", options) == S_OK;
            return added && mapisvc::GetDatabaseOpenCount() == opens + 1;
        }))
        << "the child used its parent's connection";
    EXPECT_EQ(StoreCount(session.Get()), 2u);
}

TEST_F(KeptConnectionsTest, AChildProcessOpensAStoreForItselfWhileItsParentHoldsIt)
{
    MapiInit init;
    Ref<IMAPISession> session = Logon();
    Ref<IMsgStore> store = OpenDefaultStore(session.Get());
    ASSERT_TRUE(store);
    EXPECT_TRUE(HoldsInAChild(
        []
        {
            const LONG opens = mapisvc::GetDatabaseOpenCount();
            Ref<IMAPISession> own = Logon();
            Ref<IMsgStore> ownStore = OpenDefaultStore(own.Get());
            const bool read = ownStore && OpenInbox(ownStore.Get());
            // profiles.db and the store, both its own.
            return read && mapisvc::GetDatabaseOpenCount() == opens + 2;
        }))
        << "the child used its parent's store connection";
    EXPECT_TRUE(OpenInbox(store.Get())) << "the parent's connection still serves it";
}
} // namespace
