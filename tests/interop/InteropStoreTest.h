// A fixture for the iCalendar and vCard members of the interface object against the embedded service: the default
// store's Calendar (of the item fixture), its Tasks and Contacts folders as the host's records, an interface
// object, files in the test's home, and the machine in Berlin's zone unless a test says otherwise.
#pragma once

#include "support/FolderItemTest.h"
#include "support/ScopedEnvironment.h"

#include <memory>
#include <string>
#include <vector>

namespace interoptest
{
class InteropStoreTest : public itemtest::FolderItemTest
{
protected:
    InteropStoreTest() : FolderItemTest(PR_IPM_APPOINTMENT_ENTRYID, u"Calendar") {}

    void SetUp() override;
    void TearDown() override;

    CMAPIInterface& Host() { return *m_pHost; }
    COutlookFolder& Calendar() { return FolderRecord(); }
    COutlookFolder& Tasks() { return m_tasks; }
    COutlookFolder& Contacts() { return m_contacts; }
    std::string FilePath(const char* name) const { return Home() + "/" + name; }
    static CString Wide(const std::string& text) { return CString::FromUtf8(text.c_str()); }

    std::vector<std::unique_ptr<CMAPIScheduleInfo>> Schedules();
    std::vector<std::unique_ptr<CMAPITodoInfo>> Todos();
    std::vector<std::unique_ptr<CMAPIContactInfo>> ContactList();
    void DeleteAll();

    // A trace line that begins with the text.
    bool TracedStart(const std::string& start) const;

    static std::string ReadText(const std::string& path);
    static void WriteText(const std::string& path, const std::string& text);

private:
    ScopedTz m_tz{"Europe/Berlin"};
    std::unique_ptr<CMAPIInterface> m_pHost;
    COutlookFolder m_tasks;
    COutlookFolder m_contacts;
    ULONG_PTR m_gdiplusToken = 0;
};
} // namespace interoptest
