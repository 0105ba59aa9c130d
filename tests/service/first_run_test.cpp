// The default profile of a fresh profile root, set up by the first logon: once, whole, by processes started
// together, and completed by the next logon when a process was killed in the middle of it.
#include "platform/mapi/EntryId.h"
#include "support/ScopedEnvironment.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <csignal>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
class FirstRunTest : public ServiceTest
{
protected:
    // The stores of the default profile, read by a logon of this process.
    size_t DefaultStoreCount()
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMAPITable> table;
        EXPECT_EQ(session->GetMsgStoresTable(0, table.Out()), S_OK);
        return table ? ReadRows(table.Get(), {PR_ENTRYID}).size() : 0;
    }

    std::vector<std::u16string> DefaultInbox()
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        return store ? MessageSubjects(OpenInbox(store.Get()).Get()) : std::vector<std::u16string>();
    }
};

// A child process: waits for the parent to close the start pipe, runs `work`, and ends with 0 when `work` recorded
// no failure.
template <class Work> pid_t StartChild(int startFd, int closeFd, Work work)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    close(closeFd);
    char go = 0;
    while (read(startFd, &go, 1) < 0 && errno == EINTR)
    {
    }
    work();
    _exit(::testing::Test::HasFailure() ? 1 : 0);
}

TEST_F(FirstRunTest, ProcessesStartedTogetherOnAFreshRootShareOneDefaultProfile)
{
    const int kProcesses = 4;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kProcesses; ++i)
        children.push_back(StartChild(start[0], start[1], [i] {
            MapiInit init;
            Ref<IMAPISession> session = Logon();
            if (!session)
                return;
            Ref<IMsgStore> store = OpenDefaultStore(session.Get());
            if (store)
                CreateMessage(OpenInbox(store.Get()).Get(), u"from " + std::u16string(1, char16_t(u'A' + i)));
        }));
    close(start[0]);
    close(start[1]); // all go
    for (pid_t child : children)
    {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a first logon failed";
    }
    EXPECT_EQ(mapisvc::ListProfiles(), std::vector<std::u16string>{u"Outlook"});
    EXPECT_EQ(DefaultStoreCount(), 1u);
    std::vector<std::u16string> subjects = DefaultInbox();
    std::sort(subjects.begin(), subjects.end());
    EXPECT_EQ(subjects, (std::vector<std::u16string>{u"from A", u"from B", u"from C", u"from D"}));
}

TEST_F(FirstRunTest, SetupKilledAtAnyPointIsCompletedByTheNextLogon)
{
    // Each round kills the setup after a different number of yields of the parent, so the kill falls at a
    // different point of it; whatever point it is, the next logon works.
    const int kRounds = 30;
    for (int round = 0; round < kRounds; ++round)
    {
        SCOPED_TRACE(round);
        const std::string root = Home() + "/root" + std::to_string(round);
        ScopedEnv home("MAPIPIM_HOME", root);
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        const pid_t child = StartChild(start[0], start[1], [] { mapisvc::EnsureDefaultProfile(); });
        close(start[0]);
        close(start[1]);
        const int yields = (round * 7919) % 4000;
        for (int i = 0; i < yields; ++i)
            sched_yield();
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        ASSERT_EQ(mapisvc::EnsureDefaultProfile(), S_OK) << "killed after " << yields << " yields";
        EXPECT_EQ(DefaultStoreCount(), 1u);
        EXPECT_EQ(mapisvc::ListProfiles(), std::vector<std::u16string>{u"Outlook"});
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        ASSERT_TRUE(store);
        EXPECT_TRUE(OpenInbox(store.Get()));
    }
}

TEST_F(FirstRunTest, DefaultProfileLeftWithoutItsStoreIsCompleted)
{
    // What a process killed between making the profile and listing its store left behind.
    ASSERT_EQ(mapisvc::CreateProfile(u"Outlook", true), S_OK);
    EXPECT_EQ(DefaultStoreCount(), 1u);
    EXPECT_EQ(DefaultInbox(), std::vector<std::u16string>());
    EXPECT_EQ(DefaultStoreCount(), 1u) << "completed once";
}

TEST_F(FirstRunTest, DefaultProfileOfTheHostsOwnIsLeftAsItIs)
{
    ASSERT_EQ(mapisvc::CreateProfile(u"Work", true), S_OK);
    EXPECT_EQ(DefaultStoreCount(), 0u);
    EXPECT_EQ(mapisvc::ListProfiles(), std::vector<std::u16string>{u"Work"});
}
TEST_F(FirstRunTest, ForkedProcessMakesStoreIdentitiesOfItsOwn)
{
    // A setup killed in a child leaves a store file named by the identity the child drew; the parent must not
    // draw the same one and create its store into that file.
    mapisvc::NewMAPIUID();
    int result[2];
    ASSERT_EQ(pipe(result), 0);
    const pid_t child = fork();
    if (child == 0)
    {
        const MAPIUID uid = mapisvc::NewMAPIUID();
        _exit(write(result[1], uid.ab, sizeof(uid.ab)) == sizeof(uid.ab) ? 0 : 1);
    }
    close(result[1]);
    MAPIUID childUid{};
    EXPECT_EQ(read(result[0], childUid.ab, sizeof(childUid.ab)), static_cast<ssize_t>(sizeof(childUid.ab)));
    close(result[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const MAPIUID parentUid = mapisvc::NewMAPIUID();
    EXPECT_NE(std::memcmp(childUid.ab, parentUid.ab, sizeof(parentUid.ab)), 0);
}
} // namespace
