// The MAPI utility functions of mapiutil.h that the library and its hosts call.
#include "platform/platform.h"

#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/ServiceCall.h"

extern "C"
{
    void STDAPICALLTYPE FreeProws(LPSRowSet lpRows)
    {
        if (!lpRows)
            return;
        for (ULONG i = 0; i < lpRows->cRows; ++i)
            MAPIFreeBuffer(lpRows->aRow[i].lpProps);
        MAPIFreeBuffer(lpRows);
    }

    void STDAPICALLTYPE FreePadrlist(LPADRLIST lpAdrlist)
    {
        if (!lpAdrlist)
            return;
        for (ULONG i = 0; i < lpAdrlist->cEntries; ++i)
            MAPIFreeBuffer(lpAdrlist->aEntries[i].rgPropVals);
        MAPIFreeBuffer(lpAdrlist);
    }

    LPSPropValue STDAPICALLTYPE PpropFindProp(LPSPropValue lpPropArray, ULONG cValues, ULONG ulPropTag)
    {
        if (!lpPropArray)
            return nullptr;
        // A tag of type PT_UNSPECIFIED matches the property of that id whatever its type.
        const bool anyType = PROP_TYPE(ulPropTag) == PT_UNSPECIFIED;
        for (ULONG i = 0; i < cValues; ++i)
        {
            const ULONG tag = lpPropArray[i].ulPropTag;
            if (tag == ulPropTag || (anyType && PROP_ID(tag) == PROP_ID(ulPropTag)))
                return &lpPropArray[i];
        }
        return nullptr;
    }

    HRESULT STDAPICALLTYPE HrGetOneProp(LPMAPIPROP lpMapiProp, ULONG ulPropTag, LPSPropValue* lppProp)
    {
        if (!lpMapiProp || !lppProp)
            return MAPI_E_INVALID_PARAMETER;
        *lppProp = nullptr;
        SPropTagArray tags = {1, {ulPropTag}};
        ULONG cValues = 0;
        LPSPropValue lpValues = nullptr;
        HRESULT hr = lpMapiProp->GetProps(&tags, fMapiUnicode, &cValues, &lpValues);
        if (hr == MAPI_W_ERRORS_RETURNED && lpValues && PROP_TYPE(lpValues->ulPropTag) == PT_ERROR)
            hr = lpValues->Value.err;
        if (FAILED(hr) || hr == MAPI_W_ERRORS_RETURNED)
        {
            MAPIFreeBuffer(lpValues);
            return FAILED(hr) ? hr : MAPI_E_NOT_FOUND;
        }
        *lppProp = lpValues;
        return S_OK;
    }

    HRESULT STDAPICALLTYPE HrSetOneProp(LPMAPIPROP lpMapiProp, LPSPropValue lpProp)
    {
        if (!lpMapiProp || !lpProp)
            return MAPI_E_INVALID_PARAMETER;
        LPSPropProblemArray lpProblems = nullptr;
        HRESULT hr = lpMapiProp->SetProps(1, lpProp, &lpProblems);
        if (hr == S_OK && lpProblems && lpProblems->cProblem)
            hr = lpProblems->aProblem[0].scode;
        MAPIFreeBuffer(lpProblems);
        return hr;
    }

    HRESULT STDAPICALLTYPE HrQueryAllRows(LPMAPITABLE lpTable, LPSPropTagArray lpPropTags, LPSRestriction lpRestriction,
                                          LPSSortOrderSet lpSortOrderSet, LONG crowsMax, LPSRowSet* lppRows)
    {
        if (!lpTable || !lppRows)
            return MAPI_E_INVALID_PARAMETER;
        *lppRows = nullptr;
        HRESULT hr = S_OK;
        if (lpPropTags)
            hr = lpTable->SetColumns(lpPropTags, TBL_BATCH);
        if (hr == S_OK && lpRestriction)
            hr = lpTable->Restrict(lpRestriction, TBL_BATCH);
        if (hr == S_OK && lpSortOrderSet)
            hr = lpTable->SortTable(lpSortOrderSet, TBL_BATCH);
        if (hr == S_OK)
            hr = lpTable->SeekRow(BOOKMARK_BEGINNING, 0, nullptr);
        ULONG count = 0;
        if (hr == S_OK)
            hr = lpTable->GetRowCount(0, &count);
        if (hr == S_OK && crowsMax > 0 && count > static_cast<ULONG>(crowsMax))
            hr = MAPI_E_TABLE_TOO_BIG;
        if (hr == S_OK)
            hr = lpTable->QueryRows(static_cast<LONG>(count ? count : 1), 0, lppRows);
        return hr;
    }
}
