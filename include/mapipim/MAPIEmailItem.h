// CMAPIEmailItem: one e-mail message ("IPM.Note") and the mapping between its properties and the e-mail record:
// GetInfo reads the groups of fields the host asks for, SetInfo writes every field, saves and, for a message to be
// sent, submits it. The members below carry the recipients, the sender, the transport headers and the bodies.
#pragma once

#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/OutlookFolder.h>

// Read groups of GetInfo's flag word; the entry identifier, size and state are read whatever the flags.
enum
{
    MAPIPIM_EMAIL_TIMES = 0x1,   // tmCTime and tmLMTime
    MAPIPIM_EMAIL_SUBJECT = 0x2, // strSubject
    MAPIPIM_EMAIL_OTHERS = 0x4,  // every other field
};

class MAPIPIM_API CMAPIEmailItem : public CMAPIItem
{
public:
    CMAPIEmailItem();
    ~CMAPIEmailItem() override;

    void Close() override;
    // Opens an existing e-mail; exactly 1 or 0.
    virtual BOOL Open(CMAPIEx* pMAPI, SBinary entryID);

    // A new, unsaved e-mail in pFolder; without a folder in the session's current folder, and without that in the
    // Outbox. It is filed in the store's Sent Items once sent.
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    BOOL GetInfo(CMAPIEmailInfo* pInfo, ULONG ulFlags);
    // Writes every field, saves the message (which stays open) and submits it when its state is 4. pFolder names
    // the host's folder in trace lines only. Updates the record's bRead, nSensitivity, tmSendTime and tmRcvTime.
    BOOL SetInfo(COutlookFolder* pFolder, CMAPIEmailInfo* pInfo);

    // ---- Sender and transport headers
    BOOL GetTransportHeaders(CString& strHeaders);
    BOOL GetSenderEmail(CString& strSenderEmail);
    // An empty address removes the sender.
    BOOL SetSender(CString& strSenderName, CString& strSenderEmail);

    // ---- Recipients (MAPI_TO, MAPI_CC, MAPI_BCC)
    BOOL OpenRecipientTable();
    // The next row of the table OpenRecipientTable opened; 0 at its end. "EX" addresses come back as SMTP.
    BOOL GetNextRecipient(CString& strName, CString& strEmail, int& nType);
    BOOL RemoveAllRecipients();
    BOOL AddRecipient(LPCWSTR szName, LPCWSTR szEmail, int nType, LPCWSTR szAddrType);
    BOOL AddRecipients(LPADRLIST pAddressList);
    // Splits one address text, "name <address>" or a bare address (or a bare name, without an at sign).
    void ParseAddress(CString strText, CString& strName, CString& strEmail);

    // ---- Bodies: plain text (PR_BODY), HTML (PR_HTML) and compressed RTF (PR_RTF_COMPRESSED), moved through
    // property streams; each returns 1 on success, 0 on failure or when the host cancelled.
    BOOL GetBodyText(CString& strText);
    BOOL GetBodyHTML(CString& strText);
    // The message's native body when Outlook's MAPI can deliver it, else the RTF de-encapsulated by DecodeRTFBody.
    BOOL GetBodyRTF(CString& strText);
    // Replaces RTF text by the HTML or plain text it encapsulates.
    BOOL DecodeRTFBody(CString& strText);
    BOOL SetBodyText(LPCWSTR szText);
    BOOL SetBodyHTML(LPCWSTR szText);
    // HTML (text beginning with "<html") as HTML, or as RTF-encapsulated HTML on a store without HTML support;
    // anything else as RTF text.
    BOOL SetBodyRTF(LPCWSTR szText);

protected:
    // The support mask of the message's own store (PR_STORE_SUPPORT_MASK).
    ULONG GetStoreSupport();

    IMAPITable* m_pRecipients;

private:
    void GetStateFields(CMAPIEmailInfo& info);
    void GetSender(CMAPIEmailInfo& info);
    void GetRecipients(CMAPIEmailInfo& info);
    void GetForm(CMAPIEmailInfo& info);
    void GetContents(CMAPIEmailInfo& info);
    void GetOtherFields(CMAPIEmailInfo& info);
    BOOL GetTimes(CMAPIEmailInfo& info);
    void SetState(LPCWSTR szFolder, CMAPIEmailInfo& info);
    void SetRecipients(LPCWSTR szFolder, const CMAPIEmailInfo& info);
    void SetContents(LPCWSTR szFolder, const CMAPIEmailInfo& info);
    void SetTimes(LPCWSTR szFolder, CMAPIEmailInfo& info);
    void SetAttachments(LPCWSTR szFolder, const CString& strAttachFile);
};
