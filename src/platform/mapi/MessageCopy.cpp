#include "platform/mapi/MessageCopy.h"

#include "platform/mapi/ComObject.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace mapisvc
{
namespace
{
constexpr ULONG kFirstNamedId = 0x8000;

template <class T> struct Buffer
{
    T* p = nullptr;
    ~Buffer()
    {
        if (p)
            MAPIFreeBuffer(p);
    }
};

struct Rows
{
    LPSRowSet p = nullptr;
    ~Rows()
    {
        if (p)
            FreeProws(p);
    }
};

bool Contains(const SPropTagArray* tags, ULONG tag)
{
    if (!tags)
        return false;
    for (ULONG i = 0; i < tags->cValues; ++i)
        if (PROP_ID(tags->aulPropTag[i]) == PROP_ID(tag))
            return true;
    return false;
}

std::vector<ULONG> TagList(const SPropTagArray* tags)
{
    return tags ? std::vector<ULONG>(tags->aulPropTag, tags->aulPropTag + tags->cValues) : std::vector<ULONG>();
}

// An SPropTagArray over a vector, for the calls that take one.
struct TagArray
{
    std::vector<ULONG> words;
    explicit TagArray(const std::vector<ULONG>& tags) : words(tags.size() + 1)
    {
        words[0] = ULONG(tags.size());
        std::copy(tags.begin(), tags.end(), words.begin() + 1);
    }
    LPSPropTagArray Get() { return reinterpret_cast<LPSPropTagArray>(words.data()); }
};

HRESULT ReadStream(IMAPIProp* object, ULONG tag, std::string& bytes)
{
    IStream* raw = nullptr;
    if (HRESULT hr = object->OpenProperty(tag, &IID_IStream, STGM_READ, 0, reinterpret_cast<LPUNKNOWN*>(&raw)))
        return hr;
    ComPtr<IStream> stream(raw);
    char chunk[65536];
    for (;;)
    {
        ULONG read = 0;
        if (HRESULT hr = stream->Read(chunk, sizeof(chunk), &read))
            return hr;
        if (read == 0)
            return S_OK;
        bytes.append(chunk, read);
    }
}

class Copier
{
public:
    HRESULT Message(IMessage* source, IMessage* destination, const SPropTagArray* excluded, int depth)
    {
        if (depth > kMaxCopyNesting)
            return MAPI_E_TOO_COMPLEX;
        std::map<ULONG, ULONG> names;
        if (HRESULT hr = Properties(source, destination, excluded, names))
            return hr;
        if (!Contains(excluded, PR_MESSAGE_RECIPIENTS))
            if (HRESULT hr = Recipients(source, destination, names))
                return hr;
        if (!Contains(excluded, PR_MESSAGE_ATTACHMENTS))
            if (HRESULT hr = Attachments(source, destination, depth))
                return hr;
        return S_OK;
    }

private:
    // Maps the named ids among `tags` from the source's names to the destination's (added to `names`).
    static HRESULT MapNames(IMAPIProp* source, IMAPIProp* destination, const std::vector<ULONG>& tags,
                            std::map<ULONG, ULONG>& names)
    {
        std::vector<ULONG> named;
        for (ULONG tag : tags)
            if (PROP_ID(tag) >= kFirstNamedId && !names.count(PROP_ID(tag)))
                named.push_back(PROP_TAG(PT_UNSPECIFIED, PROP_ID(tag)));
        if (named.empty())
            return S_OK;
        TagArray request(named);
        LPSPropTagArray requestTags = request.Get();
        ULONG count = 0;
        Buffer<LPMAPINAMEID> found;
        HRESULT hr = source->GetNamesFromIDs(&requestTags, nullptr, 0, &count, &found.p);
        if (FAILED(hr))
            return hr;
        // Ids without a name are dropped: the destination could not know what they mean.
        std::vector<LPMAPINAMEID> known;
        std::vector<ULONG> knownIds;
        for (ULONG i = 0; i < count; ++i)
            if (found.p[i])
            {
                known.push_back(found.p[i]);
                knownIds.push_back(PROP_ID(named[i]));
            }
        if (known.empty())
            return S_OK;
        Buffer<SPropTagArray> mapped;
        hr = destination->GetIDsFromNames(ULONG(known.size()), known.data(), MAPI_CREATE, &mapped.p);
        if (FAILED(hr))
            return hr;
        for (ULONG i = 0; i < mapped.p->cValues && i < knownIds.size(); ++i)
            if (PROP_TYPE(mapped.p->aulPropTag[i]) != PT_ERROR)
                names[knownIds[i]] = PROP_ID(mapped.p->aulPropTag[i]);
        return S_OK;
    }

    // The tag a value gets in the destination; 0 when it has none there.
    static ULONG MappedTag(ULONG tag, const std::map<ULONG, ULONG>& names)
    {
        if (PROP_ID(tag) < kFirstNamedId)
            return tag;
        auto it = names.find(PROP_ID(tag));
        return it == names.end() ? 0 : PROP_TAG(PROP_TYPE(tag), it->second);
    }

    static bool Copyable(ULONG tag, const SPropTagArray* excluded)
    {
        const ULONG type = PROP_TYPE(tag);
        // PR_ATTACH_DATA_OBJ (an attached message) shares its id with PR_ATTACH_DATA_BIN: its type tells.
        return type != PT_OBJECT && type != PT_ERROR && type != PT_NULL && !Contains(excluded, tag) &&
               tag != PR_ATTACH_NUM && tag != PR_ACCESS_LEVEL && tag != PR_OBJECT_TYPE;
    }

    HRESULT Properties(IMAPIProp* source, IMAPIProp* destination, const SPropTagArray* excluded,
                       std::map<ULONG, ULONG>& names)
    {
        Buffer<SPropTagArray> list;
        if (HRESULT hr = source->GetPropList(MAPI_UNICODE, &list.p))
            return hr;
        std::vector<ULONG> tags;
        for (ULONG tag : TagList(list.p))
            if (Copyable(tag, excluded))
                tags.push_back(tag);
        if (tags.empty())
            return S_OK;
        if (HRESULT hr = MapNames(source, destination, tags, names))
            return hr;
        TagArray request(tags);
        ULONG count = 0;
        Buffer<SPropValue> values;
        HRESULT hr = source->GetProps(request.Get(), MAPI_UNICODE, &count, &values.p);
        if (FAILED(hr))
            return hr;
        std::vector<SPropValue> copies;
        std::vector<std::string> large; // values read through streams, kept until SetProps
        large.reserve(count);
        for (ULONG i = 0; i < count; ++i)
        {
            SPropValue value = values.p[i];
            if (PROP_TYPE(value.ulPropTag) == PT_ERROR)
            {
                if (value.Value.err != MAPI_E_NOT_ENOUGH_MEMORY || !StreamValue(source, tags[i], large, value))
                    continue;
            }
            value.ulPropTag = MappedTag(value.ulPropTag, names);
            if (value.ulPropTag)
                copies.push_back(value);
        }
        Buffer<SPropProblemArray> problems;
        hr = destination->SetProps(ULONG(copies.size()), copies.data(), &problems.p);
        return FAILED(hr) ? hr : S_OK;
    }

    // A value too large for GetProps, read through a stream into `large`.
    static bool StreamValue(IMAPIProp* source, ULONG tag, std::vector<std::string>& large, SPropValue& value)
    {
        const ULONG type = PROP_TYPE(tag);
        if (type != PT_BINARY && type != PT_UNICODE && type != PT_STRING8)
            return false;
        std::string bytes;
        if (ReadStream(source, tag, bytes) != S_OK)
            return false;
        if (type != PT_BINARY)
            bytes.append(type == PT_UNICODE ? 2 : 1, '\0');
        large.push_back(std::move(bytes));
        std::string& held = large.back();
        value.ulPropTag = tag;
        if (type == PT_BINARY)
        {
            value.Value.bin.cb = ULONG(held.size());
            value.Value.bin.lpb = reinterpret_cast<LPBYTE>(&held[0]);
        }
        else if (type == PT_UNICODE)
            value.Value.lpszW = reinterpret_cast<LPWSTR>(&held[0]);
        else
            value.Value.lpszA = &held[0];
        return true;
    }

    HRESULT Recipients(IMessage* source, IMessage* destination, std::map<ULONG, ULONG>& names)
    {
        LPMAPITABLE raw = nullptr;
        if (HRESULT hr = source->GetRecipientTable(MAPI_UNICODE, &raw))
            return hr;
        ComPtr<IMAPITable> table(raw);
        Buffer<SPropTagArray> columns;
        if (HRESULT hr = table->QueryColumns(TBL_ALL_COLUMNS, &columns.p))
            return hr;
        Rows rows;
        if (HRESULT hr = HrQueryAllRows(table.Get(), columns.p, nullptr, nullptr, 0, &rows.p))
            return hr;
        if (rows.p->cRows == 0)
            return S_OK;
        if (HRESULT hr = MapNames(source, destination, TagList(columns.p), names))
            return hr;
        LPADRLIST list = nullptr;
        if (HRESULT hr = MAPIAllocateBuffer(ULONG(CbNewADRLIST(rows.p->cRows)), reinterpret_cast<LPVOID*>(&list)))
            return hr;
        list->cEntries = 0;
        HRESULT hr = S_OK;
        for (ULONG r = 0; r < rows.p->cRows && hr == S_OK; ++r)
            hr = RecipientEntry(rows.p->aRow[r], names, list->aEntries[list->cEntries++]);
        if (hr == S_OK)
            hr = destination->ModifyRecipients(MODRECIP_ADD, list);
        FreePadrlist(list);
        return hr;
    }

    // One recipient's values, the identity of the source's row left out; they point into the source's rows.
    static HRESULT RecipientEntry(const SRow& row, const std::map<ULONG, ULONG>& names, ADRENTRY& entry)
    {
        entry.cValues = 0;
        entry.rgPropVals = nullptr;
        if (HRESULT hr = MAPIAllocateBuffer(ULONG(sizeof(SPropValue) * (row.cValues + 1)),
                                            reinterpret_cast<LPVOID*>(&entry.rgPropVals)))
            return hr;
        for (ULONG v = 0; v < row.cValues; ++v)
        {
            SPropValue value = row.lpProps[v];
            if (!Copyable(value.ulPropTag, nullptr) || value.ulPropTag == PR_ROWID || value.ulPropTag == PR_INSTANCE_KEY)
                continue;
            value.ulPropTag = MappedTag(value.ulPropTag, names);
            if (value.ulPropTag)
                entry.rgPropVals[entry.cValues++] = value;
        }
        return S_OK;
    }

    HRESULT Attachments(IMessage* source, IMessage* destination, int depth)
    {
        LPMAPITABLE raw = nullptr;
        if (HRESULT hr = source->GetAttachmentTable(0, &raw))
            return hr;
        ComPtr<IMAPITable> table(raw);
        ULONG columnTags[] = {1, PR_ATTACH_NUM};
        Rows rows;
        if (HRESULT hr = HrQueryAllRows(table.Get(), reinterpret_cast<LPSPropTagArray>(columnTags), nullptr, nullptr,
                                        0, &rows.p))
            return hr;
        for (ULONG r = 0; r < rows.p->cRows; ++r)
        {
            const SPropValue& num = rows.p->aRow[r].lpProps[0];
            if (num.ulPropTag != PR_ATTACH_NUM)
                continue;
            if (HRESULT hr = Attachment(source, destination, ULONG(num.Value.l), depth))
                return hr;
        }
        return S_OK;
    }

    HRESULT Attachment(IMessage* source, IMessage* destination, ULONG num, int depth)
    {
        LPATTACH rawSource = nullptr, rawDestination = nullptr;
        if (HRESULT hr = source->OpenAttach(num, nullptr, 0, &rawSource))
            return hr;
        ComPtr<IAttach> from(rawSource);
        ULONG newNum = 0;
        if (HRESULT hr = destination->CreateAttach(nullptr, 0, &newNum, &rawDestination))
            return hr;
        ComPtr<IAttach> to(rawDestination);
        std::map<ULONG, ULONG> names;
        if (HRESULT hr = Properties(from.Get(), to.Get(), nullptr, names))
            return hr;
        Buffer<SPropValue> method;
        if (HrGetOneProp(from.Get(), PR_ATTACH_METHOD, &method.p) == S_OK && method.p->Value.l == ATTACH_EMBEDDED_MSG)
            if (HRESULT hr = AttachedMessage(from.Get(), to.Get(), depth))
                return hr;
        return to->SaveChanges(KEEP_OPEN_READWRITE);
    }

    HRESULT AttachedMessage(IAttach* from, IAttach* to, int depth)
    {
        if (depth + 1 > kMaxCopyNesting)
            return MAPI_E_TOO_COMPLEX;
        LPUNKNOWN rawSource = nullptr, rawDestination = nullptr;
        if (HRESULT hr = from->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &rawSource))
            return hr;
        ComPtr<IMessage> inner(static_cast<IMessage*>(rawSource));
        if (HRESULT hr = to->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, MAPI_CREATE | MAPI_MODIFY,
                                          &rawDestination))
            return hr;
        ComPtr<IMessage> copy(static_cast<IMessage*>(rawDestination));
        if (HRESULT hr = Message(inner.Get(), copy.Get(), nullptr, depth + 1))
            return hr;
        return copy->SaveChanges(KEEP_OPEN_READWRITE);
    }
};
} // namespace

HRESULT CopyMessageTo(IMessage* source, ULONG, LPCIID, LPSPropTagArray lpExcludeProps, LPCIID lpInterface,
                      LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray* lppProblems)
{
    if (lppProblems)
        *lppProblems = nullptr;
    if (!lpDestObj)
        return MAPI_E_INVALID_PARAMETER;
    if (lpInterface && !IsEqualGUID(*lpInterface, IID_IMessage))
        return MAPI_E_INTERFACE_NOT_SUPPORTED;
    if (ulFlags & MAPI_MOVE)
        return MAPI_E_NO_SUPPORT;
    IMessage* destination = static_cast<IMessage*>(lpDestObj);
    if (destination == source)
        return MAPI_E_INVALID_PARAMETER;
    return Copier().Message(source, destination, lpExcludeProps, 0);
}
} // namespace mapisvc
