// iCalendar (RFC 5545) and vCard 4.0 (RFC 6350) for the interface object: a calendar or task folder, or one
// appointment or task, written as an .ics file and .ics files read into a folder; a contact folder or one contact
// written as a .vcf file and .vcf files read into a folder.
//
// Each member returns 1 when every item went through. Exports and imports report each item with
// "WM_MAPI_GET_CONTENTS" and their end with "WM_MAPI_GET_CONTENTS_END" (the number of items written or
// imported), stop when the host sets the cancel flag, and write a trace line for every item that fails; a
// malformed item of a file fails alone, with the line it starts on, and the items before and after it still
// import. A report, when the host passes one, counts the items done and lists the reasons of those skipped.
//
// Linux builds only: the Windows DLL carries no iCalendar library, and a host there sees none of these members.
#pragma once

#include <mapipim/platform.h>

#if MAPIPIM_HAS_INTEROP
class COutlookFolder;

class MAPIPIM_API CInteropReport
{
public:
    CInteropReport() : nDone(0), nSkipped(0) {}

    int nDone;                                    // items written or imported
    int nSkipped;                                 // items left out
    CArray<CString, const CString&> arrReasons; // one line per item left out, as traced
};

#define MAPIPIM_INTEROP_MEMBERS                                                                                      \
    BOOL ExportICalendar(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport = NULL);                  \
    BOOL ExportICalendar(SBinary& entryID, LPCWSTR szPath, CInteropReport* pReport = NULL);                         \
    BOOL ImportICalendar(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport = NULL);                  \
    BOOL ExportVCard(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport = NULL);                      \
    BOOL ExportVCard(SBinary& entryID, LPCWSTR szPath, CInteropReport* pReport = NULL);                             \
    BOOL ImportVCard(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport = NULL);
#else
#define MAPIPIM_INTEROP_MEMBERS
#endif
