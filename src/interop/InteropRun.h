// What every export and import of a file shares: the host's progress messages for each item and at the end, the
// cancel flag, one trace line per item left out, the host's report, and the file itself.
#pragma once

#include <mapipim/MAPIInterface.h>

#include "interface/ProgressWindow.h"

#include <string>

namespace mapipim::interop
{
// Files larger than this are refused whole: no calendar or address book comes near it.
constexpr ULONGLONG kMaxFileBytes = 256ull << 20;

class InteropRun
{
public:
    InteropRun(HWND hMsgWnd, COutlookFolder* pFolder, CInteropReport* pReport, LPCWSTR szOperation, LPCWSTR szPath);

    // One item went through: "WM_MAPI_GET_CONTENTS" with its record.
    void Done(const void* pRecord);
    // One item was left out: "[MAPI] <operation> - <path> skipped : <reason>".
    void Skip(const std::string& reason);
    // The whole operation failed before any item: "[MAPI] <operation> failed : <path> - <reason>".
    BOOL Fail(const std::string& reason);
    bool Cancelled() const { return CMAPIInterface::IsCancel() != 0; }
    // Posts "WM_MAPI_GET_CONTENTS_END" with the items done; 1 when none was left out.
    BOOL Finish();

private:
    ProgressWindow m_progress;
    COutlookFolder* m_pFolder;
    CInteropReport m_ownReport;
    CInteropReport& m_report;
    CString m_strOperation;
    CString m_strPath;
};

bool ReadWholeFile(LPCWSTR szPath, std::string& text, std::string& error);
bool WriteWholeFile(LPCWSTR szPath, const std::string& text);
} // namespace mapipim::interop
