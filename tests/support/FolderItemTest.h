// A fixture for the tests of an item kind that lives in one of the store's standard folders (tasks, notes). On top
// of ServiceTest (a fresh profile root, the leak check): the process-wide switches and the machine's zone put
// back afterwards, a session with the default store and the kind's folder open, the host's record of that folder,
// the trace capture, and fault injection by property (an ordinary tag, or a named id of a set index).
//
//   class NoteTest : public FolderItemTest
//   {
//   protected:
//       NoteTest() : FolderItemTest(PR_IPM_NOTE_ENTRYID, u"Notes") {}
//   };
#pragma once

#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace itemtest
{
// Text from UTF-8 source.
CString Utf8(const char* pszUtf8);

// Equal as calendar times (the day of the week and the milliseconds left aside).
bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b);
// "YYYY-MM-DD HH:MM:SS", for messages of failed checks.
std::string TimeText(const SYSTEMTIME& tm);

// Makes one method of the service fail for one property: an ordinary tag (nSet 0) or the numeric id of a named
// property of the set index. Returns the fault's id for mapisvc::RemoveFault.
ULONG FailFor(const char* szMethod, ULONG ulTagOrId, int nSet);

// FailFor for the life of the object.
class PropertyFault
{
public:
    PropertyFault(const char* szMethod, ULONG ulTagOrId, int nSet) : m_ulFault(FailFor(szMethod, ulTagOrId, nSet)) {}
    ~PropertyFault() { mapisvc::RemoveFault(m_ulFault); }
    PropertyFault(const PropertyFault&) = delete;
    PropertyFault& operator=(const PropertyFault&) = delete;

private:
    ULONG m_ulFault;
};

class FolderItemTest : public ServiceTest
{
protected:
    // The folder by the store property that holds its entry identifier, and its name as the record gives it.
    FolderItemTest(ULONG ulFolderProperty, const char16_t* szFolderName);
    ~FolderItemTest() override;
    void SetUp() override;
    void TearDown() override;

    CMAPIEx& Session() { return m_session; }
    CMAPIFolder& Folder() { return *m_pFolder; }
    COutlookFolder& FolderRecord() { return m_folderRecord; }
    // The host's record of another folder of the session's open store.
    COutlookFolder RecordOf(CMAPIFolder& folder, LPCWSTR szName);
    mapipim::TraceCapture& Trace() { return *m_pTrace; }
    bool Traced(const CString& strLine) const { return m_pTrace->Contains(strLine); }
    // A directory of the test's own for files to attach.
    std::string FilesDir() const;

private:
    struct Environment;
    ULONG m_ulFolderProperty;
    CString m_strFolderName;
    std::unique_ptr<Environment> m_pEnvironment;
    BOOL m_bInitialised = FALSE;
    CMAPIEx m_session;
    CMAPIFolder* m_pFolder = nullptr;
    COutlookFolder m_folderRecord;
    std::unique_ptr<mapipim::TraceCapture> m_pTrace;
};
} // namespace itemtest
