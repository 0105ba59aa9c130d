#include "platform/mapi/MAPIProp.h"

#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/PropertyPacker.h"

#include <algorithm>
#include <forward_list>

namespace mapisvc
{
namespace
{
// Strings written through a stream often end with their terminator; the stored value does not.
void TrimTerminators(Prop& prop)
{
    const ULONG type = PROP_TYPE(prop.tag);
    const size_t unit = type == PT_UNICODE ? 2 : type == PT_STRING8 ? 1 : 0;
    if (!unit)
        return;
    prop.data.resize(prop.data.size() - prop.data.size() % unit);
    while (prop.data.size() >= unit && prop.data.compare(prop.data.size() - unit, unit, std::string(unit, '\0')) == 0)
        prop.data.resize(prop.data.size() - unit);
}

HRESULT PackProblems(const std::vector<SPropProblem>& problems, LPSPropProblemArray* lppProblems)
{
    if (!lppProblems)
        return S_OK;
    *lppProblems = nullptr;
    if (problems.empty())
        return S_OK;
    void* buffer = nullptr;
    if (HRESULT hr = AllocateBuffer(CbNewSPropProblemArray(problems.size()), &buffer))
        return hr;
    auto* array = static_cast<SPropProblemArray*>(buffer);
    array->cProblem = static_cast<ULONG>(problems.size());
    std::copy(problems.begin(), problems.end(), array->aProblem);
    *lppProblems = array;
    return S_OK;
}

bool IsStreamableType(ULONG type)
{
    return type == PT_BINARY || type == PT_STRING8 || type == PT_UNICODE;
}

// One property GetNamesFromIDs answers for; an id that names no property stays in its place, unknown.
struct NameLookup
{
    ULONG tag = 0;
    NamedProperty name;
    bool known = false;
};

// The names of the ids the caller asked for, in the caller's order.
std::vector<NameLookup> NamesOfIds(PropertyNames& names, const SPropTagArray& tags)
{
    std::vector<NameLookup> found;
    for (ULONG i = 0; i < tags.cValues; ++i)
    {
        NameLookup entry;
        entry.tag = tags.aulPropTag[i];
        entry.known = names.NameOfId(PROP_ID(entry.tag), entry.name);
        found.push_back(std::move(entry));
    }
    return found;
}

// Every name the store knows, or those of one property set; the caller gets their tags as well.
HRESULT NamesOfSet(PropertyNames& names, LPGUID lpPropSetGuid, std::vector<NameLookup>& found,
                   LPSPropTagArray* lppPropTags)
{
    std::vector<std::pair<ULONG, NamedProperty>> all;
    if (HRESULT hr = names.AllNames(all))
        return hr;
    std::vector<ULONG> tags;
    for (const auto& entry : all)
        if (!lpPropSetGuid || IsEqualGUID(*lpPropSetGuid, entry.second.propertySet))
        {
            found.push_back({PROP_TAG(PT_UNSPECIFIED, entry.first), entry.second, true});
            tags.push_back(found.back().tag);
        }
    return PackTags(tags, lppPropTags);
}

// A MAPINAMEID with its GUID and name text in one block chained to `chain`, freed with it.
HRESULT CopyNameId(const NamedProperty& name, void* chain, LPMAPINAMEID& copy)
{
    void* block = nullptr;
    const size_t textSize = (name.name.size() + 1) * sizeof(char16_t);
    if (HRESULT hr = AllocateMore(sizeof(MAPINAMEID) + sizeof(GUID) + textSize, chain, &block))
        return hr;
    auto* id = static_cast<MAPINAMEID*>(block);
    auto* guid = reinterpret_cast<GUID*>(id + 1);
    *guid = name.propertySet;
    id->lpguid = guid;
    id->ulKind = name.kind;
    if (name.kind == MNID_ID)
        id->Kind.lID = name.id;
    else
    {
        auto* text = reinterpret_cast<char16_t*>(guid + 1);
        std::copy(name.name.begin(), name.name.end(), text);
        text[name.name.size()] = u'\0';
        id->Kind.lpwstrName = text;
    }
    copy = id;
    return S_OK;
}

// The name array handed to the caller: one entry per lookup, null for an unknown id; nothing on failure.
HRESULT PackNameIds(const std::vector<NameLookup>& found, LPMAPINAMEID** lpppPropNames)
{
    MAPIBuffer<LPMAPINAMEID> array;
    if (HRESULT hr = array.Allocate(sizeof(LPMAPINAMEID) * std::max<size_t>(found.size(), 1)))
        return hr;
    for (size_t i = 0; i < found.size(); ++i)
    {
        array.Get()[i] = nullptr;
        if (found[i].known)
            if (HRESULT hr = CopyNameId(found[i].name, array.Get(), array.Get()[i]))
                return hr;
    }
    *lpppPropNames = array.Release();
    return S_OK;
}

// The value of `tag`'s id in `tag`'s type when the host converts it from the type it is stored in.
bool ConvertedProp(PropertyHost& host, ULONG tag, std::forward_list<Prop>& held, PropView& view)
{
    Prop scratch;
    const Prop* stored = host.FindProp(PROP_ID(tag), scratch);
    Prop otherType;
    if (!stored || !host.ConvertProp(*stored, PROP_TYPE(tag), otherType))
        return false;
    held.push_front(std::move(otherType));
    view = held.front();
    return true;
}

// Sets `value` to what GetProps hands out for `tag`: the value where it lies, computed or converted into `held`
// and `converted` (which must outlive it), or MAPI_E_NOT_FOUND.
void ValueToHandOut(PropertyHost& host, ULONG tag, bool unicode, std::forward_list<Prop>& held,
                    std::forward_list<std::string>& converted, OutValue& value)
{
    PropView prop;
    ULONG type = PT_UNSPECIFIED;
    if (!host.ViewProp(PROP_ID(tag), held, prop))
        return value.SetError(tag, MAPI_E_NOT_FOUND);
    // Most tags name the type the value is stored in: it is handed out as it is.
    if (PROP_TYPE(prop.tag) == PROP_TYPE(tag))
        return value.Set(prop, tag, converted);
    if (!OutputType(PROP_TYPE(prop.tag), PROP_TYPE(tag), unicode, type))
    {
        if (!ConvertedProp(host, tag, held, prop))
            return value.SetError(tag, MAPI_E_NOT_FOUND);
        type = PROP_TYPE(tag);
    }
    value.Set(prop, PROP_TAG(type, PROP_ID(tag)), converted);
}
} // namespace

HRESULT PropertyHost::CheckWritable() const
{
    switch (m_access)
    {
    case Access::ReadWrite:
        return S_OK;
    case Access::ReadOnly:
        return MAPI_E_NO_ACCESS;
    default:
        return MAPI_E_INVALID_OBJECT;
    }
}

bool PropertyHost::AccessLevelProp(ULONG propId, Prop& prop) const
{
    if (propId != PROP_ID(PR_ACCESS_LEVEL))
        return false;
    prop = MakeProp(PR_ACCESS_LEVEL, EncodeLong(m_access == Access::ReadWrite ? MAPI_MODIFY : 0));
    return true;
}

const Prop* PropertyHost::FindProp(ULONG propId, Prop& scratch)
{
    if (MayCompute(propId) && ComputeProp(propId, scratch))
        return &scratch;
    return LoadedStoredProp(propId);
}

Prop* PropertyHost::LoadedStoredProp(ULONG propId)
{
    Prop* prop = StoredProps().Find(propId);
    if (!prop)
        return nullptr;
    if (!prop->loaded)
    {
        if (LoadLargeValue(*prop) != S_OK)
            return nullptr;
        prop->loaded = true;
    }
    return prop;
}

bool PropertyHost::ViewProp(ULONG propId, std::forward_list<Prop>& held, PropView& view)
{
    if (MayCompute(propId) && ViewComputedProp(propId, held, view))
        return true;
    if (!StoredProps().Peek(propId, view))
        return false;
    return view.loaded || ViewLoadedProp(propId, view);
}

bool PropertyHost::ViewComputedProp(ULONG propId, std::forward_list<Prop>& held, PropView& view)
{
    if (ViewHeldProp(propId, view))
        return true;
    Prop scratch;
    if (!ComputeProp(propId, scratch))
        return false;
    held.push_front(std::move(scratch));
    view = held.front();
    return true;
}

bool PropertyHost::ViewLoadedProp(ULONG propId, PropView& view)
{
    const Prop* prop = LoadedStoredProp(propId);
    if (!prop)
        return false;
    view = *prop;
    return true;
}

bool PropertyHost::OpenUnloadedValue(ULONG ulPropTag, std::unique_ptr<StoredValue>& value)
{
    const Prop* prop = StoredProps().Find(PROP_ID(ulPropTag));
    if (!prop || prop->loaded || PROP_TYPE(prop->tag) != PROP_TYPE(ulPropTag))
        return false;
    std::vector<ULONG> computed;
    ComputedIds(computed);
    if (std::find(computed.begin(), computed.end(), PROP_ID(ulPropTag)) != computed.end())
        return false;
    return OpenLargeValue(*prop, value);
}

std::vector<ULONG> PropertyHost::AllTags(bool unicode)
{
    std::vector<ULONG> ids;
    ComputedIds(ids);
    for (const Prop& prop : StoredProps().Props())
        ids.push_back(PROP_ID(prop.tag));
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<ULONG> tags;
    for (ULONG id : ids)
    {
        Prop scratch;
        const Prop* prop = ComputeProp(id, scratch) ? &scratch : StoredProps().Find(id);
        ULONG type = PT_UNSPECIFIED;
        if (prop && OutputType(PROP_TYPE(prop->tag), PT_UNSPECIFIED, unicode, type))
            tags.push_back(PROP_TAG(type, id));
    }
    return tags;
}

SCODE PropertyHost::StoreValue(const SPropValue& value)
{
    const ULONG type = PROP_TYPE(value.ulPropTag);
    const ULONG propId = PROP_ID(value.ulPropTag);
    if (type == PT_NULL || type == PT_ERROR)
        return S_OK;
    if (propId == PROP_ID_NULL || propId == PROP_ID_INVALID)
        return MAPI_E_INVALID_PARAMETER;
    if (IsReadOnlyProp(propId))
        return MAPI_E_COMPUTED;
    Prop prop;
    prop.tag = value.ulPropTag;
    if (HRESULT hr = EncodeValue(value, prop.data))
        return hr;
    prop = ToStoredWidth(std::move(prop), StoresUnicode());
    prop.dirty = true;
    StoredProps().Set(std::move(prop));
    return S_OK;
}

HRESULT PropertyHost::ReadStreamValue(ULONG ulPropTag, bool create, std::string& data)
{
    Prop scratch;
    const Prop* prop = FindProp(PROP_ID(ulPropTag), scratch);
    if (!prop)
        return create ? S_OK : MAPI_E_NOT_FOUND;
    ULONG type = PT_UNSPECIFIED;
    if (!OutputType(PROP_TYPE(prop->tag), PROP_TYPE(ulPropTag), true, type))
    {
        Prop converted;
        if (!ConvertProp(*prop, PROP_TYPE(ulPropTag), converted))
            return MAPI_E_NOT_FOUND;
        data = std::move(converted.data);
        return S_OK;
    }
    data = DataAs(*prop, type);
    return S_OK;
}

HRESULT PropertyHost::WriteStreamValue(ULONG ulPropTag, std::string data)
{
    if (HRESULT hr = CheckWritable())
        return hr;
    Prop prop = MakeProp(ulPropTag, std::move(data));
    TrimTerminators(prop);
    prop = ToStoredWidth(std::move(prop), StoresUnicode());
    prop.dirty = true;
    StoredProps().Set(std::move(prop));
    return PropsChanged();
}

HRESULT GetPropsOf(PropertyHost& host, LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                   LPSPropValue* lppPropArray)
{
    if (!lpcValues || !lppPropArray || (lpPropTagArray && lpPropTagArray->cValues == 0))
        return MAPI_E_INVALID_PARAMETER;
    const bool unicode = (ulFlags & MAPI_UNICODE) != 0;
    // The caller's tags are read where they lie; only a call for every property builds a list.
    std::vector<ULONG> all;
    if (!lpPropTagArray)
        all = host.AllTags(unicode);
    const ULONG* tags = lpPropTagArray ? lpPropTagArray->aulPropTag : all.data();
    const size_t tagCount = lpPropTagArray ? lpPropTagArray->cValues : all.size();
    std::forward_list<Prop> held; // values computed or converted for the call
    std::forward_list<std::string> converted;
    std::vector<OutValue> values(tagCount);
    bool missing = false;
    for (size_t i = 0; i < tagCount; ++i)
    {
        ValueToHandOut(host, tags[i], unicode, held, converted, values[i]);
        missing = missing || values[i].error != S_OK;
    }
    if (HRESULT hr = PackValues(values, lppPropArray))
        return hr;
    *lpcValues = static_cast<ULONG>(values.size());
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT GetPropListOf(PropertyHost& host, ULONG ulFlags, LPSPropTagArray* lppPropTagArray)
{
    if (!lppPropTagArray)
        return MAPI_E_INVALID_PARAMETER;
    return PackTags(host.AllTags((ulFlags & MAPI_UNICODE) != 0), lppPropTagArray);
}

HRESULT SetPropsOf(PropertyHost& host, ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems)
{
    if (!lpPropArray && cValues)
        return MAPI_E_INVALID_PARAMETER;
    if (HRESULT hr = host.CheckWritable())
        return hr;
    std::vector<SPropProblem> problems;
    for (ULONG i = 0; i < cValues; ++i)
    {
        const SCODE scode = host.StoreValue(lpPropArray[i]);
        if (scode != S_OK)
            problems.push_back({i, lpPropArray[i].ulPropTag, scode});
    }
    if (HRESULT hr = host.PropsChanged())
        return hr;
    return PackProblems(problems, lppProblems);
}

HRESULT DeletePropsOf(PropertyHost& host, LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems)
{
    if (!lpPropTagArray)
        return MAPI_E_INVALID_PARAMETER;
    if (HRESULT hr = host.CheckWritable())
        return hr;
    std::vector<SPropProblem> problems;
    for (ULONG i = 0; i < lpPropTagArray->cValues; ++i)
    {
        const ULONG tag = lpPropTagArray->aulPropTag[i];
        SCODE scode = S_OK;
        if (host.IsReadOnlyProp(PROP_ID(tag)))
            scode = MAPI_E_COMPUTED;
        else if (!host.StoredProps().Remove(PROP_ID(tag)))
            scode = MAPI_E_NOT_FOUND;
        if (scode != S_OK)
            problems.push_back({i, tag, scode});
    }
    if (HRESULT hr = host.PropsChanged())
        return hr;
    return PackProblems(problems, lppProblems);
}

HRESULT GetIDsFromNamesOf(PropertyHost& host, ULONG cPropNames, LPMAPINAMEID* lppPropNames, ULONG ulFlags,
                          LPSPropTagArray* lppPropTags)
{
    if (!lppPropTags)
        return MAPI_E_INVALID_PARAMETER;
    PropertyNames* names = host.Names();
    if (!names)
        return MAPI_E_NO_SUPPORT;
    std::vector<ULONG> tags;
    if (cPropNames == 0 || !lppPropNames)
    {
        std::vector<std::pair<ULONG, NamedProperty>> all;
        if (HRESULT hr = names->AllNames(all))
            return hr;
        for (const auto& entry : all)
            tags.push_back(PROP_TAG(PT_UNSPECIFIED, entry.first));
        return PackTags(tags, lppPropTags);
    }
    if ((ulFlags & MAPI_CREATE) && host.CheckWritable() == MAPI_E_INVALID_OBJECT)
        return MAPI_E_INVALID_OBJECT;
    bool missing = false;
    for (ULONG i = 0; i < cPropNames; ++i)
    {
        ULONG propId = 0;
        HRESULT hr = lppPropNames[i] && lppPropNames[i]->lpguid
                         ? names->IdOfName(ToNamedProperty(*lppPropNames[i]), (ulFlags & MAPI_CREATE) != 0, propId)
                         : MAPI_E_INVALID_PARAMETER;
        if (hr != S_OK && hr != MAPI_E_NOT_FOUND && hr != MAPI_E_INVALID_PARAMETER)
            return hr;
        missing = missing || hr != S_OK;
        tags.push_back(hr == S_OK ? PROP_TAG(PT_UNSPECIFIED, propId) : PROP_TAG(PT_ERROR, PROP_ID_NULL));
    }
    if (HRESULT hr = PackTags(tags, lppPropTags))
        return hr;
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT GetNamesFromIDsOf(PropertyHost& host, LPSPropTagArray* lppPropTags, LPGUID lpPropSetGuid, ULONG ulFlags,
                          ULONG* lpcPropNames, LPMAPINAMEID** lpppPropNames)
{
    if (!lppPropTags || !lpcPropNames || !lpppPropNames)
        return MAPI_E_INVALID_PARAMETER;
    PropertyNames* names = host.Names();
    if (!names)
        return MAPI_E_NO_SUPPORT;
    std::vector<NameLookup> found;
    if (*lppPropTags)
        found = NamesOfIds(*names, **lppPropTags);
    else if (HRESULT hr = NamesOfSet(*names, lpPropSetGuid, found, lppPropTags))
        return hr;
    if (HRESULT hr = PackNameIds(found, lpppPropNames))
        return hr;
    *lpcPropNames = static_cast<ULONG>(found.size());
    const bool missing = std::any_of(found.begin(), found.end(), [](const NameLookup& entry) { return !entry.known; });
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT OpenPropertyOf(PropertyHost& host, IUnknown* owner, ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions,
                       ULONG ulFlags, LPUNKNOWN* lppUnk)
{
    if (!lpiid || !lppUnk)
        return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    if (!IsEqualGUID(*lpiid, IID_IStream) && !IsEqualGUID(*lpiid, IID_ISequentialStream))
        return MAPI_E_INTERFACE_NOT_SUPPORTED;
    if (!IsStreamableType(PROP_TYPE(ulPropTag)))
        return MAPI_E_INVALID_TYPE;
    const bool create = (ulFlags & MAPI_CREATE) || (ulInterfaceOptions & STGM_CREATE);
    const bool write = create || (ulFlags & MAPI_MODIFY) || (ulInterfaceOptions & (STGM_WRITE | STGM_READWRITE));
    if (write)
        if (HRESULT hr = host.CheckWritable())
            return hr;
    std::unique_ptr<StoredValue> stored;
    PropertyStream* stream = nullptr;
    if (!create && host.OpenUnloadedValue(ulPropTag, stored))
        stream = new PropertyStream(owner, &host, ulPropTag, std::move(stored), write);
    else
    {
        std::string data;
        if (!create)
            if (HRESULT hr = host.ReadStreamValue(ulPropTag, false, data))
                return hr;
        stream = new PropertyStream(owner, &host, ulPropTag, std::move(data), write);
    }
    *lppUnk = static_cast<IStream*>(stream);
    return S_OK;
}
} // namespace mapisvc
