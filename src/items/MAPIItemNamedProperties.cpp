// CMAPIItem: raw property reads, named-property resolution and removal. The raw resolutions ask the open object
// every time; a removal (of a numeric or a string name) resolves through the store's named-property map (each
// store maps names to ids of its own), and removing a name the store has no mapping for removes nothing and
// succeeds: no such property exists.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>

#include "platform/platform.h"
#include "items/CancelFlag.h"
#include "items/NamedTags.h"
#include "items/PropertySets.h"
#include "session/Scoped.h"
#include "session/StringMode.h"

using mapipim::IsItemAccessCancelled;
using mapipim::ScopedBuffer;

namespace
{
// Callers free what a failed call leaves only when it succeeded, so a failed call gives nothing back.
template <typename T> HRESULT ForgetOnFailure(HRESULT hr, T*& pBuffer)
{
    if (hr != S_OK && pBuffer)
    {
        MAPIFreeBuffer(pBuffer);
        pBuffer = NULL;
    }
    return hr;
}

// Reads the properties of a tag array with the string flags of the object's store.
HRESULT ReadProps(const CMAPIItem& item, IMAPIProp* pObject, LPSPropTagArray pTags, LPSPropValue& pProp)
{
    ULONG cValues = 0;
    pProp = NULL;
    const HRESULT hr = pObject->GetProps(pTags, item.GetStringFlags(), &cValues, &pProp);
    return ForgetOnFailure(hr, pProp);
}

// Removes a named property; a name the store has no mapping for names no property, so nothing is removed.
BOOL RemoveNamed(CMAPIItem& item, IMAPIProp* pObject, const MAPINAMEID& name)
{
    ULONG ulNamedTag = PR_NULL;
    const HRESULT hr = mapipim::ResolveNamedTag(item, name, false, ulNamedTag);
    if (hr == MAPI_E_NOT_FOUND)
        return TRUE;
    if (hr != S_OK)
        return FALSE;
    SizedSPropTagArray(1, tags) = {1, {ulNamedTag}};
    return pObject->DeleteProps(reinterpret_cast<LPSPropTagArray>(&tags), NULL) == S_OK;
}

HRESULT ResolveName(IMAPIProp* pObject, MAPINAMEID& name, BOOL bCreate, LPSPropTagArray& lppPropTags)
{
    LPMAPINAMEID pName = &name;
    lppPropTags = NULL;
    HRESULT hr = pObject->GetIDsFromNames(1, &pName, bCreate ? MAPI_CREATE : 0, &lppPropTags);
    if (hr == S_OK && (!lppPropTags || lppPropTags->cValues != 1))
        hr = MAPI_E_NOT_FOUND;
    return ForgetOnFailure(hr, lppPropTags);
}
} // namespace

HRESULT CMAPIItem::GetProperty(ULONG ulPropTag, LPSPropValue& pProp)
{
    pProp = NULL;
    if (!m_pItem)
        return E_INVALIDARG;
    SizedSPropTagArray(1, tags) = {1, {ulPropTag}};
    return ReadProps(*this, m_pItem, reinterpret_cast<LPSPropTagArray>(&tags), pProp);
}

HRESULT CMAPIItem::GetNamedPropTag(int nSet, LONG lID, LPSPropTagArray& lppPropTags, ULONG& ulType, BOOL bCreate)
{
    lppPropTags = NULL;
    if (!m_pItem)
        return E_INVALIDARG;
    const LPGUID pSet = mapipim::GetPropertySet(nSet);
    if (!pSet)
        return E_INVALIDARG;
    if (IsItemAccessCancelled())
        return MAPI_E_USER_CANCEL;
    MAPINAMEID name = {};
    name.lpguid = pSet;
    name.ulKind = MNID_ID;
    name.Kind.lID = lID;
    ulType = PT_UNICODE;
    return ResolveName(m_pItem, name, bCreate, lppPropTags);
}

HRESULT CMAPIItem::GetNamedProperty(int nSet, LONG lID, LPSPropValue& pProp)
{
    pProp = NULL;
    ScopedBuffer<SPropTagArray> tags;
    ULONG ulType = 0;
    const HRESULT hr = GetNamedPropTag(nSet, lID, tags.Receive(), ulType, FALSE);
    if (hr != S_OK)
        return hr;
    return ReadProps(*this, m_pItem, tags.Get(), pProp);
}

BOOL CMAPIItem::GetNamedStringPropTag(LPCWSTR szName, LPSPropTagArray& lppPropTags, ULONG& ulType, BOOL bCreate)
{
    lppPropTags = NULL;
    if (!m_pItem || !szName || IsItemAccessCancelled())
        return FALSE;
    MAPINAMEID name = {};
    name.lpguid = mapipim::GetPropertySet(MAPIPIM_SET_PUBLIC_STRINGS);
    name.ulKind = MNID_STRING;
    name.Kind.lpwstrName = const_cast<LPWSTR>(szName);
    ulType = PT_UNICODE;
    return ResolveName(m_pItem, name, bCreate, lppPropTags) == S_OK;
}

BOOL CMAPIItem::GetNamedStringProperty(LPCWSTR szName, LPSPropValue& pProp)
{
    pProp = NULL;
    ScopedBuffer<SPropTagArray> tags;
    ULONG ulType = 0;
    if (!GetNamedStringPropTag(szName, tags.Receive(), ulType, FALSE))
        return FALSE;
    return ReadProps(*this, m_pItem, tags.Get(), pProp) == S_OK;
}

BOOL CMAPIItem::SetNamedStringPropertyMV(LPCWSTR szName, LPWSTR* lppszValues, int nCount, LPSPropValue& pProp,
                                         BOOL bCreate)
{
    pProp = NULL;
    if (nCount < 0 || (nCount > 0 && !lppszValues))
        return FALSE;
    ScopedBuffer<SPropTagArray> tags;
    ULONG ulType = 0;
    if (!GetNamedStringPropTag(szName, tags.Receive(), ulType, bCreate))
        return FALSE;

    ScopedBuffer<SPropValue> value;
    if (MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&value.Receive())) != S_OK)
        return FALSE;
    value->ulPropTag = CHANGE_PROP_TYPE(tags->aulPropTag[0], PROP_TYPE(StringTag(PT_MV_UNICODE)));
    value->dwAlignPad = 0;
    value->Value.MVszW.cValues = static_cast<ULONG>(nCount);
    value->Value.MVszW.lppszW = NULL;
    if (nCount > 0)
    {
        LPVOID pPointers = NULL;
        if (MAPIAllocateMore(static_cast<ULONG>(sizeof(LPWSTR) * nCount), value.Get(), &pPointers) != S_OK)
            return FALSE;
        value->Value.MVszW.lppszW = static_cast<LPWSTR*>(pPointers);
        for (int i = 0; i < nCount; ++i)
            value->Value.MVszW.lppszW[i] = lppszValues[i];
    }
    if (m_pItem->SetProps(1, value.Get(), NULL) != S_OK)
        return FALSE;
    pProp = value.Detach();
    return TRUE;
}

BOOL CMAPIItem::RemoveProperty(ULONG ulPropTag, int nSet)
{
    if (!m_pItem || IsItemAccessCancelled())
        return FALSE;
    if (nSet == MAPIPIM_SET_NONE)
    {
        SizedSPropTagArray(1, tags) = {1, {ulPropTag}};
        return m_pItem->DeleteProps(reinterpret_cast<LPSPropTagArray>(&tags), NULL) == S_OK;
    }
    MAPINAMEID name;
    if (!mapipim::MakeNumericName(nSet, static_cast<LONG>(ulPropTag), name))
        return FALSE;
    return RemoveNamed(*this, m_pItem, name);
}

BOOL CMAPIItem::RemoveNamedStringProperty(LPCWSTR szName)
{
    if (!m_pItem || !szName || IsItemAccessCancelled())
        return FALSE;
    MAPINAMEID name = {};
    name.lpguid = mapipim::GetPropertySet(MAPIPIM_SET_PUBLIC_STRINGS);
    name.ulKind = MNID_STRING;
    name.Kind.lpwstrName = const_cast<LPWSTR>(szName);
    return RemoveNamed(*this, m_pItem, name);
}
