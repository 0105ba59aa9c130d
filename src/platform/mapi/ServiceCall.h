// One MAPI call on the service, as the call log records it and fault injection matches it. Every method of a
// service object starts with a ServiceCall that names its interface and method and is given the call's flags
// and key arguments; Fault() then says whether the call must fail, and Done() records the result.
//
//     ServiceCall call(*this, "IMAPIProp", "GetProps");
//     call.Flags(ulFlags).Tags(lpPropTagArray);
//     if (HRESULT hr = call.Fault())
//         return hr;
//     ...
//     return call.Done(hr);
#pragma once

#include <mapipim/mapisvc.h>

namespace mapisvc
{
// Maps the ids of named properties back to their names, so that faults narrowed to a name match the property
// calls on its tag.
class NameResolver
{
public:
    virtual bool NameOfId(ULONG propId, NamedProperty& name) = 0;

protected:
    ~NameResolver() = default;
};

class ServiceCall
{
public:
    ServiceCall(const char* interfaceName, const char* declaringInterface, const char* method);
    template <class Object>
    ServiceCall(const Object& object, const char* declaringInterface, const char* method)
        : ServiceCall(object.InterfaceName(), declaringInterface, method)
    {
    }
    ~ServiceCall();
    ServiceCall(const ServiceCall&) = delete;
    ServiceCall& operator=(const ServiceCall&) = delete;

    ServiceCall& Flags(ULONG ulFlags);
    ServiceCall& Tag(ULONG ulPropTag);
    ServiceCall& Tags(const SPropTagArray* lpTags);
    ServiceCall& Values(ULONG cValues, const SPropValue* lpValues);
    ServiceCall& Sort(const SSortOrderSet* lpSort);
    ServiceCall& Names(ULONG cNames, const LPMAPINAMEID* lppNames);
    ServiceCall& Text(const std::u16string& text);
    ServiceCall& NamesOfTags(NameResolver* resolver);

    // The injected failure of this call, or S_OK.
    HRESULT Fault();
    HRESULT Done(HRESULT hr);
    // The whole of a call that does nothing but answer: the injected failure, else `result`, recorded.
    HRESULT Answer(HRESULT result);

private:
    bool m_active;
    const char* m_declaringInterface;
    CallRecord m_record;
};

NamedProperty ToNamedProperty(const MAPINAMEID& name);
} // namespace mapisvc
