// CMAPIEmailItem: one e-mail message. Its body exists in up to three forms — plain text (PR_BODY), HTML (PR_HTML)
// and compressed RTF (PR_RTF_COMPRESSED), which may itself carry HTML or text — and moves between the message
// and the host's text through property streams, so that bodies of any length can be handled.
#pragma once

#include <mapipim/MAPIItem.h>

class MAPIPIM_API CMAPIEmailItem : public CMAPIItem
{
public:
    CMAPIEmailItem();
    ~CMAPIEmailItem() override;

    // ---- Body formats (each returns 1 on success, 0 on failure or when the host cancelled)
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
};
