// ServiceTest: the GoogleTest fixture for every test that runs against the embedded MAPI service.
//
//   class MyTest : public ServiceTest {};
//   TEST_F(MyTest, Something) { ... }
//
// Each test gets:
// - a fresh, empty MAPIPIM_HOME in a temporary directory (removed after the test), so profiles and stores of
//   one test never meet another's;
// - a clean testing state: no injected faults, an empty call log (enabled), default notification delivery and
//   no address-dialog handler;
// - a leak check at the end: the live MAPI buffers and live service objects must be back to what they were
//   when the test started, so every test proves it freed every buffer and released every object.
//
// The helpers in ServiceHelpers.h build profiles, stores, folders and messages for the test.
#pragma once

#include <mapipim/mapisvc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

class ServiceTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's MAPIPIM_HOME.
    const std::string& Home() const { return m_home; }

private:
    std::string m_home;
    std::string m_previousHome;
    bool m_hadPreviousHome = false;
    LONG m_buffersAtStart = 0;
    LONG m_objectsAtStart = 0;
};

class MapiInit;
template <class T> class Ref;

// ServiceTest with MAPI initialised, a session on the default profile (made for the test), its default store and
// Inbox, all released before the leak check.
class DefaultStoreTest : public ServiceTest
{
protected:
    DefaultStoreTest();
    ~DefaultStoreTest() override;
    void SetUp() override;
    void TearDown() override;

    IMAPISession* Session() const;
    IMsgStore* Store() const;
    IMAPIFolder* Inbox() const;

private:
    struct Objects;
    std::unique_ptr<Objects> m_objects;
};

// Removes a directory and everything below it.
void RemoveDirectoryTree(const std::string& path);
