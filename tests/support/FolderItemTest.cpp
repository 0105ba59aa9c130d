#include "support/FolderItemTest.h"

#include "items/PropertySets.h"
#include "support/ScopedEnvironment.h"

#include <cstdio>
#include <filesystem>

namespace itemtest
{
struct FolderItemTest::Environment
{
    ScopedTz timeZone;
    ProcessFlagsGuard flags;
};

CString Utf8(const char* pszUtf8)
{
    return CString::FromUtf8(pszUtf8);
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

std::string TimeText(const SYSTEMTIME& tm)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", tm.wYear, tm.wMonth, tm.wDay, tm.wHour,
                  tm.wMinute, tm.wSecond);
    return text;
}

ULONG FailFor(const char* szMethod, ULONG ulTagOrId, int nSet)
{
    mapisvc::Fault fault;
    fault.method = szMethod;
    if (nSet == MAPIPIM_SET_NONE)
        fault.propTag = CHANGE_PROP_TYPE(ulTagOrId, PT_UNSPECIFIED);
    else
    {
        fault.narrowToName = true;
        fault.name.propertySet = *mapipim::GetPropertySet(nSet);
        fault.name.kind = MNID_ID;
        fault.name.id = static_cast<LONG>(ulTagOrId);
    }
    return mapisvc::InjectFault(fault);
}

FolderItemTest::FolderItemTest(ULONG ulFolderProperty, const char16_t* szFolderName)
    : m_ulFolderProperty(ulFolderProperty), m_strFolderName(szFolderName)
{
}

FolderItemTest::~FolderItemTest() = default;

void FolderItemTest::SetUp()
{
    ServiceTest::SetUp();
    m_pEnvironment = std::make_unique<Environment>();
    std::filesystem::create_directories(FilesDir());
    m_bInitialised = CMAPIEx::Init(0, 0);
    ASSERT_TRUE(m_bInitialised);
    ASSERT_TRUE(m_session.Login());
    ASSERT_TRUE(m_session.OpenMessageStore());
    m_pFolder = m_session.OpenSpecialFolder(m_ulFolderProperty, FALSE);
    ASSERT_NE(nullptr, m_pFolder);
    m_folderRecord = RecordOf(*m_pFolder, m_strFolderName);
    m_pTrace = std::make_unique<mapipim::TraceCapture>();
}

void FolderItemTest::TearDown()
{
    m_pTrace.reset();
    delete m_pFolder;
    m_pFolder = nullptr;
    m_session.Logout();
    if (m_bInitialised)
        CMAPIEx::Term();
    m_pEnvironment.reset();
    ServiceTest::TearDown();
}

COutlookFolder FolderItemTest::RecordOf(CMAPIFolder& folder, LPCWSTR szName)
{
    COutlookFolder record;
    SPropTagArray tags = {1, {PR_ENTRYID}};
    ULONG ulCount = 0;
    LPSPropValue pValue = nullptr;
    EXPECT_EQ(S_OK, m_session.GetMessageStore()->GetProps(&tags, 0, &ulCount, &pValue));
    if (pValue)
        CopySBinary(record.sbStoreEntryID, pValue->Value.bin);
    MAPIFreeBuffer(pValue);
    CopySBinary(record.sbEntryID, *folder.GetEntryID());
    record.strName = szName;
    return record;
}

std::string FolderItemTest::FilesDir() const
{
    return Home() + "/files";
}
} // namespace itemtest
