// IMAPIProp for every property object of the service (stores, folders, messages, attachments, address-book
// entries). A derived class supplies its stored properties, the properties it computes, where its large values
// come from and what saving means; this class gives them MAPI's semantics:
// - GetProps answers S_OK only when every property was found, else MAPI_W_ERRORS_RETURNED with PT_ERROR values;
//   PT_UNSPECIFIED gives the stored type; PT_STRING8 and PT_UNICODE convert into each other on request.
// - SetProps stores strings in the store's width, skips PT_NULL and PT_ERROR values and reports computed
//   properties as problems; DeleteProps likewise.
// - OpenProperty gives streams over properties; GetIDsFromNames and GetNamesFromIDs map named properties.
#pragma once

#include "platform/mapi/ComObject.h"
#include "platform/mapi/NamedProps.h"
#include "platform/mapi/PropIdSet.h"
#include "platform/mapi/PropertyBag.h"
#include "platform/mapi/PropertyStream.h"
#include "platform/mapi/ServiceCall.h"

#include <forward_list>

namespace mapisvc
{

enum class Access
{
    ReadWrite,
    ReadOnly, // opened without write access, or saved with KEEP_OPEN_READONLY
    Closed,   // saved without KEEP_OPEN_*: the object only answers reads
};

// What MAPIProp needs of the object behind it (not a COM interface).
class PropertyHost : public StreamOwner
{
public:
    virtual PropertyBag& StoredProps() = 0;
    // A property the object computes (identity, counts, ...); false when the id is not one of them.
    virtual bool ComputeProp(ULONG propId, Prop& prop) { return false; }
    // A computed value the object holds for as long as it lives (its identity), viewed where it lies instead of
    // computed into a copy at every read; false when the id is not one of them.
    virtual bool ViewHeldProp(ULONG propId, PropView& view) { return false; }
    virtual void ComputedIds(std::vector<ULONG>& ids) {}
    // A stored property that can also be read in a type other than its own (beyond the two string widths).
    virtual bool ConvertProp(const Prop& stored, ULONG requestedType, Prop& converted) { return false; }
    // Properties that callers may not write: the computed ones and those the store keeps.
    virtual bool IsReadOnlyProp(ULONG propId) const { return false; }
    // Reads the bytes of a value stored out of line.
    virtual HRESULT LoadLargeValue(Prop& prop) { return MAPI_E_NOT_FOUND; }
    // A value stored out of line, to be read in pieces where it lies (false: read it whole with LoadLargeValue).
    virtual bool OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value) { return false; }
    virtual PropertyNames* Names() { return nullptr; }
    // The character width strings are kept in.
    virtual bool StoresUnicode() const { return true; }
    // Called after SetProps, DeleteProps and stream writes changed the stored properties.
    virtual HRESULT PropsChanged() { return S_OK; }
    virtual HRESULT Save(ULONG ulFlags) { return S_OK; }

    HRESULT CheckWritable() const;
    // PR_ACCESS_LEVEL, as the object was opened; false for any other id.
    bool AccessLevelProp(ULONG propId, Prop& prop) const;
    Access m_access = Access::ReadWrite;

    // StreamOwner
    HRESULT ReadStreamValue(ULONG ulPropTag, bool create, std::string& data) override;
    HRESULT WriteStreamValue(ULONG ulPropTag, std::string data) override;
    bool StreamWritable() const override { return m_access == Access::ReadWrite; }

    // A stream's value read where the store keeps it: a stored value of the stream's own type whose bytes are
    // not loaded and that is not computed.
    bool OpenUnloadedValue(ULONG ulPropTag, std::unique_ptr<StoredValue>& value);
    // The property with this id, stored or computed, its bytes loaded; null when the object has none.
    const Prop* FindProp(ULONG propId, Prop& scratch);
    // FindProp without copying a stored value out of the row it was read in: a computed value is kept in
    // `held`, which must outlive the view, as must the stored properties unchanged.
    bool ViewProp(ULONG propId, std::forward_list<Prop>& held, PropView& view);
    std::vector<ULONG> AllTags(bool unicode);
    // Writes one MAPI value into the stored properties; the scode of a problem, or S_OK.
    SCODE StoreValue(const SPropValue& value);

protected:
    ~PropertyHost() = default;

    // Every id ComputeProp answers for, when the object can say so: reads skip asking it about the others.
    // Null: every id is asked about.
    const PropIdSet* m_computedIds = nullptr;

private:
    // False only for an id ComputeProp is known to decline, told without a call.
    bool MayCompute(ULONG propId) const { return !m_computedIds || m_computedIds->Has(propId); }
    // The stored property with this id, its bytes loaded (made into values of the bag's own first).
    Prop* LoadedStoredProp(ULONG propId);
    // ViewProp's two rarer cases, apart so that the common one (a stored value in place) stays short.
    bool ViewComputedProp(ULONG propId, std::forward_list<Prop>& held, PropView& view);
    bool ViewLoadedProp(ULONG propId, PropView& view);
};

HRESULT GetPropsOf(PropertyHost& host, LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                   LPSPropValue* lppPropArray);
HRESULT SetPropsOf(PropertyHost& host, ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems);
HRESULT DeletePropsOf(PropertyHost& host, LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems);
HRESULT GetPropListOf(PropertyHost& host, ULONG ulFlags, LPSPropTagArray* lppPropTagArray);
HRESULT GetIDsFromNamesOf(PropertyHost& host, ULONG cPropNames, LPMAPINAMEID* lppPropNames, ULONG ulFlags,
                          LPSPropTagArray* lppPropTags);
HRESULT GetNamesFromIDsOf(PropertyHost& host, LPSPropTagArray* lppPropTags, LPGUID lpPropSetGuid, ULONG ulFlags,
                          ULONG* lpcPropNames, LPMAPINAMEID** lpppPropNames);
HRESULT OpenPropertyOf(PropertyHost& host, IUnknown* owner, ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions,
                       ULONG ulFlags, LPUNKNOWN* lppUnk);

// The start of a call that opens or creates a property object: clears where the object goes, which must be
// given (else MAPI_E_INVALID_PARAMETER); the interface asked for, if any, must be `iid` or IMAPIProp (else
// MAPI_E_INTERFACE_NOT_SUPPORTED).
template <class T> HRESULT PrepareOpen(T** lppObject, LPCIID lpInterface, REFIID iid)
{
    if (!lppObject)
        return MAPI_E_INVALID_PARAMETER;
    *lppObject = nullptr;
    if (lpInterface && !IsEqualGUID(*lpInterface, iid) && !IsEqualGUID(*lpInterface, IID_IMAPIProp))
        return MAPI_E_INTERFACE_NOT_SUPPORTED;
    return S_OK;
}

template <class Interface> class MAPIProp : public ComObject<Interface>, public PropertyHost
{
public:
    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override
    {
        return this->NoLastError("IMAPIProp", ulFlags, lppMAPIError);
    }
    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG ulFlags) override
    {
        ServiceCall call(*this, "IMAPIProp", "SaveChanges");
        if (HRESULT hr = call.Flags(ulFlags).Fault())
            return hr;
        if (HRESULT hr = CheckWritable())
            return call.Done(hr);
        HRESULT hr = Save(ulFlags);
        if (hr == S_OK && !(ulFlags & (KEEP_OPEN_READWRITE | KEEP_OPEN_READONLY)))
            m_access = Access::Closed;
        else if (hr == S_OK && (ulFlags & KEEP_OPEN_READONLY))
            m_access = Access::ReadOnly;
        return call.Done(hr);
    }
    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                                       LPSPropValue* lppPropArray) override
    {
        ServiceCall call(*this, "IMAPIProp", "GetProps");
        call.Flags(ulFlags).Tags(lpPropTagArray).NamesOfTags(Names());
        if (HRESULT hr = call.Fault())
            return hr;
        return call.Done(GetPropsOf(*this, lpPropTagArray, ulFlags, lpcValues, lppPropArray));
    }
    HRESULT STDMETHODCALLTYPE GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override
    {
        ServiceCall call(*this, "IMAPIProp", "GetPropList");
        if (HRESULT hr = call.Flags(ulFlags).Fault())
            return hr;
        return call.Done(GetPropListOf(*this, ulFlags, lppPropTagArray));
    }
    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags,
                                           LPUNKNOWN* lppUnk) override
    {
        ServiceCall call(*this, "IMAPIProp", "OpenProperty");
        call.Flags(ulFlags).Tag(ulPropTag).NamesOfTags(Names());
        if (HRESULT hr = call.Fault())
            return hr;
        return call.Done(OpenPropertyOf(*this, this, ulPropTag, lpiid, ulInterfaceOptions, ulFlags, lppUnk));
    }
    HRESULT STDMETHODCALLTYPE SetProps(ULONG cValues, LPSPropValue lpPropArray,
                                       LPSPropProblemArray* lppProblems) override
    {
        ServiceCall call(*this, "IMAPIProp", "SetProps");
        call.Values(cValues, lpPropArray).NamesOfTags(Names());
        if (HRESULT hr = call.Fault())
            return hr;
        return call.Done(SetPropsOf(*this, cValues, lpPropArray, lppProblems));
    }
    HRESULT STDMETHODCALLTYPE DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) override
    {
        ServiceCall call(*this, "IMAPIProp", "DeleteProps");
        call.Tags(lpPropTagArray).NamesOfTags(Names());
        if (HRESULT hr = call.Fault())
            return hr;
        return call.Done(DeletePropsOf(*this, lpPropTagArray, lppProblems));
    }
    HRESULT STDMETHODCALLTYPE CopyTo(ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps,
                                     ULONG ulUIParam, LPMAPIPROGRESS lpProgress, LPCIID lpInterface, LPVOID lpDestObj,
                                     ULONG ulFlags, LPSPropProblemArray* lppProblems) override
    {
        return this->Unsupported("CopyTo", ulFlags);
    }
    HRESULT STDMETHODCALLTYPE CopyProps(LPSPropTagArray lpIncludeProps, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                        LPCIID lpInterface, LPVOID lpDestObj, ULONG ulFlags,
                                        LPSPropProblemArray* lppProblems) override
    {
        return this->Unsupported("CopyProps", ulFlags);
    }
    HRESULT STDMETHODCALLTYPE GetNamesFromIDs(LPSPropTagArray* lppPropTags, LPGUID lpPropSetGuid, ULONG ulFlags,
                                              ULONG* lpcPropNames, LPMAPINAMEID** lpppPropNames) override
    {
        ServiceCall call(*this, "IMAPIProp", "GetNamesFromIDs");
        call.Flags(ulFlags).Tags(lppPropTags ? *lppPropTags : nullptr);
        if (HRESULT hr = call.Fault())
            return hr;
        return call.Done(GetNamesFromIDsOf(*this, lppPropTags, lpPropSetGuid, ulFlags, lpcPropNames, lpppPropNames));
    }
    HRESULT STDMETHODCALLTYPE GetIDsFromNames(ULONG cPropNames, LPMAPINAMEID* lppPropNames, ULONG ulFlags,
                                              LPSPropTagArray* lppPropTags) override
    {
        ServiceCall call(*this, "IMAPIProp", "GetIDsFromNames");
        if (HRESULT hr = call.Flags(ulFlags).Names(cPropNames, lppPropNames).Fault())
            return hr;
        return call.Done(GetIDsFromNamesOf(*this, cPropNames, lppPropNames, ulFlags, lppPropTags));
    }
};
} // namespace mapisvc
