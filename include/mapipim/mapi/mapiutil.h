// MAPI utility functions for the Linux build that the library and its hosts call, under the SDK's names and
// signatures (as mingw-w64's mapiutil.h).
#pragma once

#include <mapipim/export.h>
#include <mapipim/mapi/mapix.h>

extern "C"
{
    MAPIPIM_API void STDAPICALLTYPE FreeProws(LPSRowSet lpRows);
    MAPIPIM_API void STDAPICALLTYPE FreePadrlist(LPADRLIST lpAdrlist);
    MAPIPIM_API LPSPropValue STDAPICALLTYPE PpropFindProp(LPSPropValue lpPropArray, ULONG cValues, ULONG ulPropTag);
    MAPIPIM_API HRESULT STDAPICALLTYPE HrGetOneProp(LPMAPIPROP lpMapiProp, ULONG ulPropTag, LPSPropValue* lppProp);
    MAPIPIM_API HRESULT STDAPICALLTYPE HrSetOneProp(LPMAPIPROP lpMapiProp, LPSPropValue lpProp);
    MAPIPIM_API HRESULT STDAPICALLTYPE HrQueryAllRows(LPMAPITABLE lpTable, LPSPropTagArray lpPropTags,
                                                      LPSRestriction lpRestriction, LPSSortOrderSet lpSortOrderSet,
                                                      LONG crowsMax, LPSRowSet* lppRows);
    // Reads PR_RTF_COMPRESSED as RTF; with MAPI_MODIFY, writes RTF compressed at Commit (with
    // STORE_UNCOMPRESSED_RTF as well, in the uncompressed form).
    MAPIPIM_API HRESULT STDAPICALLTYPE WrapCompressedRTFStream(LPSTREAM lpCompressedRTFStream, ULONG ulFlags,
                                                               LPSTREAM* lpUncompressedRTFStream);
}
