#include "platform/mapi/ServiceCall.h"

#include "platform/mapi/ProcessCounters.h"
#include "platform/mapi/CallLog.h"
#include "platform/mapi/Faults.h"

namespace mapisvc
{
NamedProperty ToNamedProperty(const MAPINAMEID& name)
{
    NamedProperty result;
    if (name.lpguid)
        result.propertySet = *name.lpguid;
    result.kind = name.ulKind;
    if (name.ulKind == MNID_ID)
        result.id = name.Kind.lID;
    else if (name.Kind.lpwstrName)
        result.name = name.Kind.lpwstrName;
    return result;
}

ServiceCall::ServiceCall(const char* interfaceName, const char* declaringInterface, const char* method)
    : m_active(CallLogEnabled() || FaultsInstalled()), m_declaringInterface(declaringInterface)
{
    if (!m_active)
        return;
    m_record.interfaceName = interfaceName;
    m_record.method = method;
}

ServiceCall::~ServiceCall()
{
    if (m_record.result == MAPI_E_BUSY)
        CountBusyCall();
    if (m_active && CallLogEnabled())
        AppendCallRecord(std::move(m_record));
}

ServiceCall& ServiceCall::Flags(ULONG ulFlags)
{
    m_record.flags = ulFlags;
    return *this;
}

ServiceCall& ServiceCall::Tag(ULONG ulPropTag)
{
    if (m_active)
        m_record.propTags.push_back(ulPropTag);
    return *this;
}

ServiceCall& ServiceCall::Tags(const SPropTagArray* lpTags)
{
    if (m_active && lpTags)
        m_record.propTags.insert(m_record.propTags.end(), lpTags->aulPropTag, lpTags->aulPropTag + lpTags->cValues);
    return *this;
}

ServiceCall& ServiceCall::Values(ULONG cValues, const SPropValue* lpValues)
{
    if (m_active && lpValues)
        for (ULONG i = 0; i < cValues; ++i)
            m_record.propTags.push_back(lpValues[i].ulPropTag);
    return *this;
}

ServiceCall& ServiceCall::Sort(const SSortOrderSet* lpSort)
{
    if (m_active && lpSort)
        for (ULONG i = 0; i < lpSort->cSorts; ++i)
            m_record.propTags.push_back(lpSort->aSort[i].ulPropTag);
    return *this;
}

ServiceCall& ServiceCall::Names(ULONG cNames, const LPMAPINAMEID* lppNames)
{
    if (m_active && lppNames)
        for (ULONG i = 0; i < cNames; ++i)
            if (lppNames[i])
                m_record.names.push_back(ToNamedProperty(*lppNames[i]));
    return *this;
}

ServiceCall& ServiceCall::Text(const std::u16string& text)
{
    if (m_active)
        m_record.text = text;
    return *this;
}

ServiceCall& ServiceCall::NamesOfTags(NameResolver* resolver)
{
    if (!m_active || !resolver || !NamedFaultsInstalled())
        return *this;
    for (ULONG tag : m_record.propTags)
    {
        NamedProperty name;
        if (PROP_ID(tag) >= 0x8000 && resolver->NameOfId(PROP_ID(tag), name))
            m_record.names.push_back(name);
    }
    return *this;
}

HRESULT ServiceCall::Fault()
{
    if (!m_active || !FaultsInstalled())
        return S_OK;
    CallSite site{m_record.interfaceName.c_str(), m_declaringInterface, m_record.method.c_str(), m_record.propTags,
                  m_record.names};
    m_record.result = MatchFault(site);
    return m_record.result;
}

HRESULT ServiceCall::Done(HRESULT hr)
{
    m_record.result = hr;
    return hr;
}

HRESULT ServiceCall::Answer(HRESULT result)
{
    if (HRESULT hr = Fault())
        return hr;
    return Done(result);
}
} // namespace mapisvc
