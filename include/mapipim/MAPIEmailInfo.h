// CMAPIEmailInfo: one e-mail as a plain record, read from and written to messages by the e-mail item. Times are
// local; a SYSTEMTIME whose wYear is 0 is not set.
#pragma once

#include <mapipim/MAPIInfoBase.h>

class MAPIPIM_API CMAPIEmailInfo : public CMAPIInfoBase
{
public:
    CMAPIEmailInfo();
    CMAPIEmailInfo(const CMAPIEmailInfo& source);
    ~CMAPIEmailInfo();

    CMAPIEmailInfo& operator=(const CMAPIEmailInfo& source);

    int nSize;     // message size in bytes; read only
    int nMsgState; // 0 plain, 1 replied to, 2 forwarded, 3 read, 4 submitted, 5 unsent draft
    CString strSubject;
    CString strContents;   // the body, in the format nForm names
    int nForm;             // 1 plain text, 2 HTML, 3 RTF; 0 is read as plain text
    CString strSenderName; // "name <address>" or the bare address
    CString strCC;         // recipients separated by ";"
    CString strBCC;
    CString strTo;
    CString strLabel;      // categories
    int nImportance;       // 0 low, 1 normal, 2 high
    int nSensitivity;      // 0 none, 1 personal, 2 private, 3 confidential
    int bRead;             // non-zero when marked read
    int nAttachCount;      // read only
    CString strAttachFile; // file names when read; full paths separated by "," or ";" to attach when written
    SYSTEMTIME tmSendTime; // PR_CLIENT_SUBMIT_TIME
    SYSTEMTIME tmRcvTime;  // PR_MESSAGE_DELIVERY_TIME
};
