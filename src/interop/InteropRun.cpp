#include "interop/InteropRun.h"

#include "interop/InteropText.h"
#include "platform/Pause.h"
#include "platform/trace/Trace.h"

namespace mapipim::interop
{
InteropRun::InteropRun(HWND hMsgWnd, COutlookFolder* pFolder, CInteropReport* pReport, LPCWSTR szOperation,
                       LPCWSTR szPath)
    : m_progress(hMsgWnd), m_pFolder(pFolder), m_report(pReport ? *pReport : m_ownReport),
      m_strOperation(szOperation), m_strPath(szPath ? szPath : _T(""))
{
    m_report.nDone = 0;
    m_report.nSkipped = 0;
    m_report.arrReasons.RemoveAll();
}

void InteropRun::Done(const void* pRecord)
{
    ++m_report.nDone;
    m_progress.ItemRead(pRecord, m_pFolder);
    Pause();
}

void InteropRun::Skip(const std::string& reason)
{
    ++m_report.nSkipped;
    const CString strReason = TextOf(reason);
    m_report.arrReasons.Add(strReason);
    LOGTRACE(_T("[MAPI] %s - %s skipped : %s"), m_strOperation, m_strPath, strReason);
}

BOOL InteropRun::Fail(const std::string& reason)
{
    LOGTRACE(_T("[MAPI] %s failed : %s - %s"), m_strOperation, m_strPath, TextOf(reason));
    return FALSE;
}

BOOL InteropRun::Finish()
{
    m_progress.ListEnded(m_report.nDone);
    return m_report.nSkipped == 0 ? TRUE : FALSE;
}

bool ReadWholeFile(LPCWSTR szPath, std::string& text, std::string& error)
{
    CFile file;
    if (!szPath || !file.Open(szPath, CFile::modeRead))
    {
        error = "the file cannot be opened";
        return false;
    }
    const ULONGLONG nLength = file.GetLength();
    if (nLength > kMaxFileBytes)
    {
        error = "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
        return false;
    }
    text.resize(static_cast<size_t>(nLength));
    if (nLength && file.Read(&text[0], static_cast<UINT>(nLength)) != nLength)
    {
        error = "the file cannot be read";
        return false;
    }
    return true;
}

bool WriteWholeFile(LPCWSTR szPath, const std::string& text)
{
    CFile file;
    if (!szPath || !file.Open(szPath, CFile::modeCreate | CFile::modeWrite))
        return false;
    return file.Write(text.data(), static_cast<UINT>(text.size())) == text.size();
}
} // namespace mapipim::interop
