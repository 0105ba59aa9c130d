// A fixture for the contact tests against the embedded MAPI service. On top of ServiceTest (a fresh profile root,
// the leak check): a documents folder of the test's own, GDI+ started, the process-wide switches and the machine
// zone put back afterwards, a session with the default store's Contacts folder open, the host's record of that
// folder, and the trace capture.
#pragma once

#include <mapipim/mapipim.h>

#include "platform/Gdiplus.h"
#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMAPIContactItem;

namespace contacttest
{
namespace fs = std::filesystem;

// A u"..." or L"..." literal from UTF-8 source text.
CString Utf8(const char* pszUtf8);

// Equal as calendar times (the day of the week and the milliseconds left aside).
bool SameLocalTime(const SYSTEMTIME& a, const SYSTEMTIME& b);

// A JPEG of the given size in the given file, written by libjpeg.
void WriteJpeg(const fs::path& path, UINT nWidth, UINT nHeight);
std::vector<BYTE> ReadFileBytes(const fs::path& path);
void WriteFileBytes(const fs::path& path, const std::vector<BYTE>& bytes);
CString PathText(const fs::path& path);

// Every one of the record's 67 fields set, with text beyond Latin-1 (Korean, Cyrillic, emoji). strPicturePath
// and strAttachFile name the given files.
CMAPIContactInfo MakeFullContact(const fs::path& picture, const std::vector<fs::path>& attachments);

class ContactServiceTest : public ServiceTest
{
protected:
    ContactServiceTest();
    ~ContactServiceTest() override;
    void SetUp() override;
    void TearDown() override;

    CMAPIEx& Session() { return m_session; }
    CMAPIFolder& Contacts() { return *m_pContacts; }
    // The host's record of the default store's Contacts folder and Deleted Items folder.
    COutlookFolder& ContactsRecord() { return m_contactsRecord; }
    COutlookFolder DeletedItemsRecord();
    const fs::path& TempDir() const { return m_tempDir; }
    const fs::path& DocumentsDir() const { return m_documentsDir; }
    mapipim::TraceCapture& Trace() { return *m_pTrace; }
    bool Traced(const CString& strLine) const { return m_pTrace->Contains(strLine); }

    // A new contact message in the Contacts folder, written from the record and saved; the item stays open.
    void CreateContactItem(CMAPIContactItem& item, CMAPIContactInfo& info);

private:
    struct Environment;
    std::unique_ptr<Environment> m_pEnvironment;
    std::unique_ptr<ProcessFlagsGuard> m_pFlags;
    fs::path m_tempDir;
    fs::path m_documentsDir;
    ULONG_PTR m_gdiplusToken = 0;
    BOOL m_bInitialised = FALSE;
    CMAPIEx m_session;
    CMAPIFolder* m_pContacts = nullptr;
    COutlookFolder m_contactsRecord;
    std::unique_ptr<mapipim::TraceCapture> m_pTrace;
};

// Builds a folder record from a session's open store and a folder of it.
void FillFolderRecord(CMAPIEx& session, CMAPIFolder& folder, LPCWSTR szName, COutlookFolder& record);
} // namespace contacttest
