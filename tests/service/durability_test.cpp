// Durability and concurrency: a process killed while saving, two processes on one store, a busy store.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
// A session with its default store and the store's Inbox open, released together.
struct DefaultInbox
{
    explicit DefaultInbox(Ref<IMAPISession> logon)
        : session(std::move(logon)), store(OpenDefaultStore(session.Get())), inbox(OpenInbox(store.Get()))
    {
    }
    Ref<IMAPISession> session;
    Ref<IMsgStore> store;
    Ref<IMAPIFolder> inbox;
};

class DurabilityTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(), S_OK);
    }

    std::string StorePath() const
    {
        std::string path;
        if (DIR* dir = opendir((Home() + "/stores").c_str()))
        {
            while (dirent* entry = readdir(dir))
                if (std::string(entry->d_name).size() > 3 &&
                    std::string(entry->d_name).substr(std::string(entry->d_name).size() - 3) == ".db")
                    path = Home() + "/stores/" + entry->d_name;
            closedir(dir);
        }
        return path;
    }

    std::set<std::u16string> InboxSubjects()
    {
        MapiInit init;
        DefaultInbox mapi(Logon());
        const std::vector<std::u16string> subjects = MessageSubjects(mapi.inbox.Get());
        return std::set<std::u16string>(subjects.begin(), subjects.end());
    }
};

std::u16string Numbered(int i)
{
    std::string text = "message " + std::to_string(i);
    return std::u16string(text.begin(), text.end());
}

// The child of a fork has only the forking thread, so it leaves with _exit and never ends MAPI. It logs on by
// itself, or leaves with status 2.
Ref<IMAPISession> ChildLogon()
{
    MAPIInitialize(nullptr);
    LPMAPISESSION session = nullptr;
    if (MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT | MAPI_EXTENDED, &session) != S_OK)
        _exit(2);
    return Ref<IMAPISession>(session);
}

[[noreturn]] void SaveUntilKilled(int reportFd)
{
    DefaultInbox mapi(ChildLogon());
    const std::u16string body(3000, u'x');
    for (int i = 0;; ++i)
    {
        Ref<IMessage> message;
        if (!mapi.inbox || mapi.inbox->CreateMessage(nullptr, 0, message.Out()) != S_OK)
            _exit(3);
        const std::u16string subject = Numbered(i);
        SPropValue values[2] = {UnicodeValue(PR_SUBJECT_W, subject.c_str()), UnicodeValue(PR_BODY_W, body.c_str())};
        if (message->SetProps(2, values, nullptr) != S_OK || message->SaveChanges(0) != S_OK)
            _exit(4);
        if (write(reportFd, &i, sizeof(i)) != sizeof(i))
            _exit(5);
    }
}

TEST_F(DurabilityTest, KilledWhileSavingKeepsEverySavedMessageAndAnIntactStore)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        close(fds[0]);
        SaveUntilKilled(fds[1]);
    }
    close(fds[1]);
    int last = -1, saved = -1;
    while (last < 40 && read(fds[0], &saved, sizeof(saved)) == sizeof(saved))
        last = saved;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(fds[0]);
    ASSERT_GE(last, 40) << "the saving process stopped early";

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(StorePath().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);

    const std::set<std::u16string> subjects = InboxSubjects();
    for (int i = 0; i <= last; ++i)
        EXPECT_TRUE(subjects.count(Numbered(i))) << "message " << i << " was saved but is gone";
}

// Waits for one byte on a pipe; false on timeout or end of file.
bool WaitForSignal(int fd)
{
    char byte = 0;
    return read(fd, &byte, 1) == 1;
}

void Signal(int fd)
{
    const char byte = 1;
    if (write(fd, &byte, 1) != 1)
        _exit(9);
}

int CountMessages(IMAPIFolder* folder)
{
    LPMAPITABLE table = nullptr;
    ULONG count = 0;
    if (folder->GetContentsTable(0, &table) != S_OK)
        return -1;
    const HRESULT hr = table->GetRowCount(0, &count);
    table->Release();
    return hr == S_OK ? static_cast<int>(count) : -1;
}

TEST_F(DurabilityTest, TwoProcessesSeeEachOthersSavedChanges)
{
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        DefaultInbox mapi(ChildLogon());
        Signal(toParent[1]);
        if (!WaitForSignal(toChild[0]) || CountMessages(mapi.inbox.Get()) != 1)
            _exit(3);
        CreateMessage(mapi.inbox.Get(), u"from the child");
        Signal(toParent[1]);
        _exit(WaitForSignal(toChild[0]) ? 0 : 4);
    }
    MapiInit init;
    DefaultInbox mapi(Logon());
    ASSERT_TRUE(WaitForSignal(toParent[0]));
    CreateMessage(mapi.inbox.Get(), u"from the parent");
    Signal(toChild[1]);
    ASSERT_TRUE(WaitForSignal(toParent[0]));
    EXPECT_EQ(CountMessages(mapi.inbox.Get()), 2);
    Signal(toChild[1]);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]})
        close(fd);
}

TEST_F(DurabilityTest, BusyStoreIsWaitedFor)
{
    MapiInit init;
    DefaultInbox mapi(Logon());

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(StorePath().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    // Timed from before the holder starts, so the wait cannot look shorter than the hold on a loaded machine.
    const auto start = std::chrono::steady_clock::now();
    std::thread holder(
        [other]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        });
    const mapisvc::EntryId id = CreateMessage(mapi.inbox.Get(), u"after the wait");
    const auto waited = std::chrono::steady_clock::now() - start;
    holder.join();
    sqlite3_close(other);
    EXPECT_FALSE(id.empty());
    EXPECT_GE(waited, std::chrono::milliseconds(400));
    EXPECT_EQ(CountMessages(mapi.inbox.Get()), 1);
}

TEST_F(DurabilityTest, TwoSessionsOfOneProcessShareSavedChanges)
{
    MapiInit init;
    Ref<IMAPISession> first = Logon();
    Ref<IMAPISession> second = Logon();
    Ref<IMAPIFolder> inbox1 = OpenInbox(OpenDefaultStore(first.Get()).Get());
    Ref<IMAPIFolder> inbox2 = OpenInbox(OpenDefaultStore(second.Get()).Get());
    const mapisvc::EntryId id = CreateMessage(inbox1.Get(), u"shared");
    EXPECT_EQ(CountMessages(inbox2.Get()), 1);
    Ref<IMessage> seen = OpenMessage(second.Get(), id);
    EXPECT_EQ(GetString(seen.Get(), PR_SUBJECT_W), u"shared");
}
} // namespace
