#include "support/ServiceFixture.h"

#include "support/ServiceHelpers.h"

#include <cstdlib>
#include <ftw.h>
#include <unistd.h>

namespace
{
int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}
} // namespace

void RemoveDirectoryTree(const std::string& path)
{
    nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void ServiceTest::SetUp()
{
    const char* previous = std::getenv("MAPIPIM_HOME");
    m_hadPreviousHome = previous != nullptr;
    m_previousHome = previous ? previous : "";
    char pattern[] = "/tmp/mapipim-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_home = pattern;
    setenv("MAPIPIM_HOME", m_home.c_str(), 1);
    mapisvc::ResetTestingState();
    m_buffersAtStart = mapisvc::GetLiveBufferCount();
    m_objectsAtStart = mapisvc::GetLiveObjectCount();
}

void ServiceTest::TearDown()
{
    mapisvc::WaitForNotifications(5000);
    EXPECT_EQ(mapisvc::GetLiveBufferCount(), m_buffersAtStart) << "MAPI buffers were not freed";
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), m_objectsAtStart) << "service objects were not released";
    mapisvc::ResetTestingState();
    RemoveDirectoryTree(m_home);
    if (m_hadPreviousHome)
        setenv("MAPIPIM_HOME", m_previousHome.c_str(), 1);
    else
        unsetenv("MAPIPIM_HOME");
}

struct DefaultStoreTest::Objects
{
    MapiInit init;
    Ref<IMAPISession> session;
    Ref<IMsgStore> store;
    Ref<IMAPIFolder> inbox;
};

DefaultStoreTest::DefaultStoreTest() = default;
DefaultStoreTest::~DefaultStoreTest() = default;

void DefaultStoreTest::SetUp()
{
    ServiceTest::SetUp();
    m_objects.reset(new Objects);
    m_objects->session = Logon();
    ASSERT_TRUE(m_objects->session);
    m_objects->store = OpenDefaultStore(m_objects->session.Get());
    ASSERT_TRUE(m_objects->store);
    m_objects->inbox = OpenInbox(m_objects->store.Get());
    ASSERT_TRUE(m_objects->inbox);
}

void DefaultStoreTest::TearDown()
{
    m_objects.reset();
    ServiceTest::TearDown();
}

IMAPISession* DefaultStoreTest::Session() const
{
    return m_objects->session.Get();
}

IMsgStore* DefaultStoreTest::Store() const
{
    return m_objects->store.Get();
}

IMAPIFolder* DefaultStoreTest::Inbox() const
{
    return m_objects->inbox.Get();
}
