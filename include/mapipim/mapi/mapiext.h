// MAPI names that Outlook's own headers declare but the SDK headers of mingw-w64 lack: the store capability
// bits above STORE_UNCOMPRESSED_RTF, the property tags of Outlook's items and folders, and the property-set
// GUIDs of Outlook's named properties. Both builds include this header after the MAPI headers, so library code
// uses one set of names everywhere. Each tag is guarded, so that a fuller SDK may define it first. The GUIDs are
// inline constants: they need no storage in any translation unit.
#pragma once

// ---- Store capabilities (PR_STORE_SUPPORT_MASK)
#ifndef STORE_HTML_OK
#define STORE_HTML_OK ((ULONG)0x00010000)
#endif
#ifndef STORE_ANSI_OK
#define STORE_ANSI_OK ((ULONG)0x00020000)
#endif
#ifndef STORE_UNICODE_OK
#define STORE_UNICODE_OK ((ULONG)0x00040000)
#endif
#ifndef STORE_LOCALSTORE
#define STORE_LOCALSTORE ((ULONG)0x00080000)
#endif
#ifndef STORE_ITEMPROC
#define STORE_ITEMPROC ((ULONG)0x00200000)
#endif
#ifndef STORE_PUSHER_OK
#define STORE_PUSHER_OK ((ULONG)0x00800000)
#endif

// ---- Message and attachment properties
#ifndef PR_HTML
#define PR_HTML PROP_TAG(PT_BINARY, 0x1013)
#endif
#ifndef PR_BODY_HTML
#define PR_BODY_HTML PROP_TAG(PT_TSTRING, 0x1013)
#define PR_BODY_HTML_W PROP_TAG(PT_UNICODE, 0x1013)
#define PR_BODY_HTML_A PROP_TAG(PT_STRING8, 0x1013)
#endif
#ifndef PR_NATIVE_BODY_INFO
#define PR_NATIVE_BODY_INFO PROP_TAG(PT_LONG, 0x1016)
#endif
#ifndef PR_ICON_INDEX
#define PR_ICON_INDEX PROP_TAG(PT_LONG, 0x1080)
#endif
#ifndef PR_INTERNET_CPID
#define PR_INTERNET_CPID PROP_TAG(PT_LONG, 0x3FDE)
#endif
#ifndef PR_MSG_EDITOR_FORMAT
#define PR_MSG_EDITOR_FORMAT PROP_TAG(PT_LONG, 0x5909)
#endif
#ifndef PR_SMTP_ADDRESS
#define PR_SMTP_ADDRESS PROP_TAG(PT_TSTRING, 0x39FE)
#define PR_SMTP_ADDRESS_W PROP_TAG(PT_UNICODE, 0x39FE)
#define PR_SMTP_ADDRESS_A PROP_TAG(PT_STRING8, 0x39FE)
#endif
#ifndef PR_ATTACH_CONTENT_BASE
#define PR_ATTACH_CONTENT_BASE PROP_TAG(PT_TSTRING, 0x3711)
#define PR_ATTACH_CONTENT_BASE_W PROP_TAG(PT_UNICODE, 0x3711)
#define PR_ATTACH_CONTENT_BASE_A PROP_TAG(PT_STRING8, 0x3711)
#endif
#ifndef PR_ATTACH_CONTENT_ID
#define PR_ATTACH_CONTENT_ID PROP_TAG(PT_TSTRING, 0x3712)
#define PR_ATTACH_CONTENT_ID_W PROP_TAG(PT_UNICODE, 0x3712)
#define PR_ATTACH_CONTENT_ID_A PROP_TAG(PT_STRING8, 0x3712)
#endif
#ifndef PR_ATTACH_CONTENT_LOCATION
#define PR_ATTACH_CONTENT_LOCATION PROP_TAG(PT_TSTRING, 0x3713)
#define PR_ATTACH_CONTENT_LOCATION_W PROP_TAG(PT_UNICODE, 0x3713)
#define PR_ATTACH_CONTENT_LOCATION_A PROP_TAG(PT_STRING8, 0x3713)
#endif
#ifndef PR_ATTACHMENT_LINKID
#define PR_ATTACHMENT_LINKID PROP_TAG(PT_LONG, 0x7FFA)
#endif
#ifndef PR_ATTACHMENT_FLAGS
#define PR_ATTACHMENT_FLAGS PROP_TAG(PT_LONG, 0x7FFD)
#endif
#ifndef PR_ATTACHMENT_HIDDEN
#define PR_ATTACHMENT_HIDDEN PROP_TAG(PT_BOOLEAN, 0x7FFE)
#endif
#ifndef PR_ATTACHMENT_CONTACTPHOTO
#define PR_ATTACHMENT_CONTACTPHOTO PROP_TAG(PT_BOOLEAN, 0x7FFF)
#endif

// ---- WrapCompressedRTFStreamEx, which only Outlook's MAPI (Msmapi32.dll) exports: looked up by name
#ifndef MAPI_NATIVE_BODY
#define MAPI_NATIVE_BODY ((ULONG)0x00010000)
#define MAPI_NATIVE_BODY_TYPE_RTF ((ULONG)0x00000001)
#define MAPI_NATIVE_BODY_TYPE_HTML ((ULONG)0x00000002)
#define MAPI_NATIVE_BODY_TYPE_PLAINTEXT ((ULONG)0x00000004)
typedef struct
{
    ULONG size;
    ULONG ulFlags;
    ULONG ulInCodePage;
    ULONG ulOutCodePage;
} RTF_WCSINFO;
typedef struct
{
    ULONG size;
    ULONG ulStreamFlags;
} RTF_WCSRETINFO;
typedef HRESULT(STDMETHODCALLTYPE WRAPCOMPRESSEDRTFSTREAMEX)(LPSTREAM lpCompressedRTFStream,
                                                             const RTF_WCSINFO* pWCSInfo,
                                                             LPSTREAM* lppUncompressedRTFStream,
                                                             RTF_WCSRETINFO* pRetInfo);
typedef WRAPCOMPRESSEDRTFSTREAMEX* LPWRAPCOMPRESSEDRTFSTREAMEX;
#endif

// ---- Folder roles kept on the Inbox and the root folder
#ifndef PR_IPM_APPOINTMENT_ENTRYID
#define PR_IPM_APPOINTMENT_ENTRYID PROP_TAG(PT_BINARY, 0x36D0)
#endif
#ifndef PR_IPM_CONTACT_ENTRYID
#define PR_IPM_CONTACT_ENTRYID PROP_TAG(PT_BINARY, 0x36D1)
#endif
#ifndef PR_IPM_JOURNAL_ENTRYID
#define PR_IPM_JOURNAL_ENTRYID PROP_TAG(PT_BINARY, 0x36D2)
#endif
#ifndef PR_IPM_NOTE_ENTRYID
#define PR_IPM_NOTE_ENTRYID PROP_TAG(PT_BINARY, 0x36D3)
#endif
#ifndef PR_IPM_TASK_ENTRYID
#define PR_IPM_TASK_ENTRYID PROP_TAG(PT_BINARY, 0x36D4)
#endif
#ifndef PR_IPM_DRAFTS_ENTRYID
#define PR_IPM_DRAFTS_ENTRYID PROP_TAG(PT_BINARY, 0x36D7)
#endif

// ---- Property sets of named properties
#define MAPIPIM_OUTLOOK_PSETID(name, l)                                                                                \
    inline constexpr GUID name = {l, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}}

MAPIPIM_OUTLOOK_PSETID(PS_INTERNET_HEADERS, 0x00020386);
MAPIPIM_OUTLOOK_PSETID(PSETID_Appointment, 0x00062002);
MAPIPIM_OUTLOOK_PSETID(PSETID_Task, 0x00062003);
MAPIPIM_OUTLOOK_PSETID(PSETID_Address, 0x00062004);
MAPIPIM_OUTLOOK_PSETID(PSETID_Common, 0x00062008);
MAPIPIM_OUTLOOK_PSETID(PSETID_Log, 0x0006200A);
MAPIPIM_OUTLOOK_PSETID(PSETID_Note, 0x0006200E);
MAPIPIM_OUTLOOK_PSETID(PSETID_Sharing, 0x00062040);
inline constexpr GUID PSETID_Meeting = {0x6ED8DA90, 0x450B, 0x101B, {0x98, 0xDA, 0x00, 0xAA, 0x00, 0x3F, 0x13, 0x05}};
inline constexpr GUID PSETID_Attachment = {
    0x96357F7F, 0x59E1, 0x47D0, {0x99, 0xA7, 0x46, 0x51, 0x5C, 0x18, 0x3B, 0x54}};

#undef MAPIPIM_OUTLOOK_PSETID
