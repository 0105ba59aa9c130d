#include "support/ContactServiceTest.h"

#include <mapipim/mapisvc.h>

#include "items/MAPIContactItem.h"
#include "support/ScopedEnvironment.h"

#include <cstdio>
#include <fstream>
#include <jpeglib.h>

namespace contacttest
{
// The documents folder of the test's own, and the process's time zone put back whatever the test did to TZ.
struct ContactServiceTest::Environment
{
    explicit Environment(const fs::path& documents) : m_documents("XDG_DOCUMENTS_DIR", documents.string()) {}
    ScopedTz m_timeZone;
    ScopedEnv m_documents;
};

CString Utf8(const char* pszUtf8)
{
    return CString::FromUtf8(pszUtf8);
}

bool SameLocalTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

void WriteJpeg(const fs::path& path, UINT nWidth, UINT nHeight)
{
    FILE* pFile = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, pFile);
    jpeg_compress_struct cinfo = {};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, pFile);
    cinfo.image_width = nWidth;
    cinfo.image_height = nHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(nWidth * 3);
    while (cinfo.next_scanline < nHeight)
    {
        for (UINT x = 0; x < nWidth; ++x)
        {
            row[x * 3] = static_cast<JSAMPLE>(x * 255 / nWidth);
            row[x * 3 + 1] = static_cast<JSAMPLE>(cinfo.next_scanline * 255 / nHeight);
            row[x * 3 + 2] = static_cast<JSAMPLE>((x ^ cinfo.next_scanline) & 0xFF);
        }
        JSAMPROW pRow = row.data();
        jpeg_write_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(pFile);
}

std::vector<BYTE> ReadFileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const fs::path& path, const std::vector<BYTE>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

CString PathText(const fs::path& path)
{
    return CString::FromUtf8(path.string().c_str());
}

CMAPIContactInfo MakeFullContact(const fs::path& picture, const std::vector<fs::path>& attachments)
{
    CMAPIContactInfo info;
    info.strFullName = Utf8("ignored: derived");
    info.strLastName = Utf8("김");
    info.strFirstName = Utf8("Анна");
    info.strMiddleName = Utf8("Maria 😀Luisa");
    info.strInitial = Utf8("ignored");
    info.strCompany = Utf8("Компания «Рога и копыта»");
    info.strDepartment = Utf8("연구개발부");
    info.strTitle = Utf8("Chief 🚀 Officer");
    info.strDisplay = Utf8("ignored: derived");
    info.strEmail1 = Utf8("anna@example.com");
    info.strEmailDispaly1 = Utf8("Анна (work)");
    info.strEmail2 = Utf8("kim@예시.kr");
    info.strEmailDispaly2 = Utf8("김 (home) 🏠");
    info.strEmail3 = Utf8("third@example.org");
    info.strEmailDispaly3 = Utf8("Third");
    info.strBizHomePage = Utf8("https://example.com/biz");
    info.strHomePage = Utf8("https://пример.рф/");
    info.strIMAddress = Utf8("im:anna@example.com");
    info.strMemo = Utf8("Notes\r\nсо строками\r\n그리고 😀 emoji");
    const char* numbers[] = {"+49 30 1",  "+49 30 2",  "+49 30 3",  "+49 30 4",  "+49 170 5", "+49 30 6",  "+49 30 7",
                             "+49 30 8",  "+49 30 9",  "+49 30 10", "+49 30 11", "+49 30 12", "+49 30 13", "+49 30 14",
                             "+49 30 15", "+49 30 16", "+49 30 17", "+49 30 18", "+49 30 19"};
    CString* fields[] = {
        &info.strNumberBase,      &info.strNumberHome1,          &info.strNumberHome2,  &info.strNumberHomeFax,
        &info.strNumberCellphone, &info.strNumberRadioTelephony, &info.strNumberBeeper, &info.strNumberCompany,
        &info.strNumberBiz1,      &info.strNumberBiz2,           &info.strNumberBizFax, &info.strNumberAssistant,
        &info.strNumberCallback,  &info.strNumberCarphone,       &info.strNumberOther,  &info.strNumberOtherFax,
        &info.strNumberISDN,      &info.strNumberTelex,          &info.strNumberTTYTDD};
    for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i)
        *fields[i] = Utf8(numbers[i]);
    info.strHomePostalCode = Utf8("10115");
    info.strHomeState = Utf8("Berlin");
    info.strHomeCity = Utf8("Берлин");
    info.strHomeStreet = Utf8("Unter den Linden 1");
    info.strHomeCountry = Utf8("Deutschland");
    info.strBizPostalCode = Utf8("04524");
    info.strBizState = Utf8("서울특별시");
    info.strBizCity = Utf8("서울");
    info.strBizStreet = Utf8("세종대로 110");
    info.strBizCountry = Utf8("대한민국");
    info.strOtherPostalCode = Utf8("101000");
    info.strOtherState = Utf8("Московская область");
    info.strOtherCity = Utf8("Москва");
    info.strOtherStreet = Utf8("Тверская ул., 1");
    info.strOtherCountry = Utf8("Россия 🇷🇺");
    info.strOffice = Utf8("B-204");
    info.strJob = Utf8("Ingenieurin");
    info.strManagerName = Utf8("Игорь");
    info.strAssistantName = Utf8("민수");
    info.strNickName = Utf8("Annie 🌸");
    info.strSpouseName = Utf8("Jörg");
    info.strNamePrefix = Utf8("Dr.");
    info.strGeneration = Utf8("Jr.");
    info.strInternetAddress = Utf8("https://free.busy/anna");
    info.tmBirthday = MakeSystemTime(1980, 7, 14, 0, 0);
    info.tmAnniversary = MakeSystemTime(2005, 1, 21, 12, 30);
    info.nSensitivity = 2;
    info.strPicturePath = PathText(picture);
    for (const fs::path& attachment : attachments)
    {
        if (!info.strAttachFile.IsEmpty())
            info.strAttachFile += _T(";");
        info.strAttachFile += PathText(attachment);
    }
    return info;
}

void FillFolderRecord(CMAPIEx& session, CMAPIFolder& folder, LPCWSTR szName, COutlookFolder& record)
{
    SPropTagArray tags = {1, {PR_ENTRYID}};
    ULONG ulCount = 0;
    LPSPropValue pValue = nullptr;
    ASSERT_EQ(S_OK, session.GetMessageStore()->GetProps(&tags, 0, &ulCount, &pValue));
    CopySBinary(record.sbStoreEntryID, pValue->Value.bin);
    MAPIFreeBuffer(pValue);
    CopySBinary(record.sbEntryID, *folder.GetEntryID());
    record.strName = szName;
}

ContactServiceTest::ContactServiceTest() = default;
ContactServiceTest::~ContactServiceTest() = default;

void ContactServiceTest::SetUp()
{
    ServiceTest::SetUp();
    m_tempDir = fs::path(Home()) / "files";
    fs::create_directories(m_tempDir);
    m_documentsDir = fs::path(Home()) / "Documents";
    m_pEnvironment = std::make_unique<Environment>(m_documentsDir);
    m_pFlags = std::make_unique<ProcessFlagsGuard>();
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr));

    m_bInitialised = CMAPIEx::Init(0, 0);
    ASSERT_TRUE(m_bInitialised);
    ASSERT_TRUE(m_session.Login());
    ASSERT_TRUE(m_session.OpenMessageStore());
    m_pContacts = m_session.OpenContacts(FALSE);
    ASSERT_NE(nullptr, m_pContacts);
    FillFolderRecord(m_session, *m_pContacts, _T("Contacts"), m_contactsRecord);
    m_pTrace = std::make_unique<mapipim::TraceCapture>();
}

void ContactServiceTest::TearDown()
{
    m_pTrace.reset();
    delete m_pContacts;
    m_pContacts = nullptr;
    m_session.Logout();
    if (m_bInitialised)
        CMAPIEx::Term();
    if (m_gdiplusToken)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_pFlags.reset();
    m_pEnvironment.reset();
    ServiceTest::TearDown();
}

COutlookFolder ContactServiceTest::DeletedItemsRecord()
{
    COutlookFolder record;
    std::unique_ptr<CMAPIFolder> pDeleted(m_session.OpenDeletedItems(FALSE));
    EXPECT_NE(nullptr, pDeleted);
    if (pDeleted)
        FillFolderRecord(m_session, *pDeleted, _T("Deleted Items"), record);
    return record;
}

void ContactServiceTest::CreateContactItem(CMAPIContactItem& item, CMAPIContactInfo& info)
{
    ASSERT_TRUE(item.Create(&m_session, m_pContacts));
    ASSERT_TRUE(item.SetInfo(&m_contactsRecord, &info));
}
} // namespace contacttest
