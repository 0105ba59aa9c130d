#include "InteropStoreTest.h"

#include "platform/Gdiplus.h"

#include <fstream>
#include <sstream>

namespace interoptest
{
namespace
{
template <typename TInfo>
std::vector<std::unique_ptr<TInfo>> Owned(CArray<TInfo*, TInfo*>& records)
{
    std::vector<std::unique_ptr<TInfo>> owned;
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        owned.emplace_back(records[i]);
    records.RemoveAll();
    return owned;
}
} // namespace

void InteropStoreTest::SetUp()
{
    FolderItemTest::SetUp();
    Gdiplus::GdiplusStartupInput input; // contact pictures
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr));
    m_pHost = std::make_unique<CMAPIInterface>();
    for (auto [ulProperty, szName, nType] : {std::tuple{PR_IPM_TASK_ENTRYID, _T("Tasks"), 0x80},
                                             std::tuple{PR_IPM_CONTACT_ENTRYID, _T("Contacts"), 0x20}})
    {
        CMAPIFolder* pFolder = Session().OpenSpecialFolder(ulProperty, FALSE);
        ASSERT_NE(nullptr, pFolder);
        COutlookFolder& record = nType == 0x80 ? m_tasks : m_contacts;
        record = RecordOf(*pFolder, szName);
        record.nFolderType = nType;
        delete pFolder;
    }
    Calendar().nFolderType = 0x40;
}

void InteropStoreTest::TearDown()
{
    m_pHost.reset();
    if (m_gdiplusToken)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    FolderItemTest::TearDown();
}

std::vector<std::unique_ptr<CMAPIScheduleInfo>> InteropStoreTest::Schedules()
{
    CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*> records;
    EXPECT_TRUE(Host().GetSchedule(&Calendar(), records, 0x7));
    return Owned(records);
}

std::vector<std::unique_ptr<CMAPITodoInfo>> InteropStoreTest::Todos()
{
    CArray<CMAPITodoInfo*, CMAPITodoInfo*> records;
    EXPECT_TRUE(Host().GetTodo(&Tasks(), records, 0x7));
    return Owned(records);
}

std::vector<std::unique_ptr<CMAPIContactInfo>> InteropStoreTest::ContactList()
{
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> records;
    EXPECT_TRUE(Host().GetContact(&Contacts(), records, 0x7));
    return Owned(records);
}

void InteropStoreTest::DeleteAll()
{
    for (auto& schedule : Schedules())
        EXPECT_TRUE(Host().DeleteSchedule(&Calendar(), schedule.get(), FALSE));
    for (auto& todo : Todos())
        EXPECT_TRUE(Host().DeleteTodo(&Tasks(), todo.get(), FALSE));
    for (auto& contact : ContactList())
        EXPECT_TRUE(Host().DeleteContact(&Contacts(), contact.get(), FALSE));
}

bool InteropStoreTest::TracedStart(const std::string& start) const
{
    const CString strStart = Wide(start);
    for (const CString& line : const_cast<InteropStoreTest*>(this)->Trace().GetLines())
        if (line.Left(strStart.GetLength()) == strStart)
            return true;
    return false;
}

std::string InteropStoreTest::ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void InteropStoreTest::WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
} // namespace interoptest
