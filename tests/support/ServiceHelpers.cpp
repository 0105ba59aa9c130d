#include "support/ServiceHelpers.h"

MapiInit::MapiInit(ULONG ulFlags)
{
    MAPIINIT_0 init = {MAPI_INIT_VERSION, ulFlags};
    m_result = MAPIInitialize(ulFlags ? &init : nullptr);
    EXPECT_EQ(m_result, S_OK);
}

MapiInit::~MapiInit()
{
    if (m_result == S_OK)
        MAPIUninitialize();
}

Ref<IMAPISession> Logon(const std::u16string& profile)
{
    Ref<IMAPISession> session;
    ULONG flags = MAPI_NEW_SESSION | MAPI_EXTENDED | MAPI_UNICODE;
    flags |= profile.empty() ? MAPI_USE_DEFAULT : MAPI_EXPLICIT_PROFILE;
    HRESULT hr =
        MAPILogonEx(0, profile.empty() ? nullptr : const_cast<LPWSTR>(profile.c_str()), nullptr, flags, session.Out());
    EXPECT_EQ(hr, S_OK);
    return session;
}

Ref<IMsgStore> OpenStore(IMAPISession* session, const mapisvc::EntryId& store)
{
    Ref<IMsgStore> opened;
    EXPECT_EQ(session->OpenMsgStore(0, static_cast<ULONG>(store.size()),
                                    reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(store.data())), nullptr,
                                    MDB_NO_DIALOG | MAPI_BEST_ACCESS, opened.Out()),
              S_OK);
    return opened;
}

Ref<IMsgStore> OpenDefaultStore(IMAPISession* session)
{
    Ref<IMAPITable> table;
    EXPECT_EQ(session->GetMsgStoresTable(0, table.Out()), S_OK);
    if (!table)
        return Ref<IMsgStore>();
    const TableRows rows = ReadRows(table.Get(), {PR_ENTRYID, PR_DEFAULT_STORE});
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].lpProps[1].ulPropTag == PR_DEFAULT_STORE && rows[i].lpProps[1].Value.b)
            return OpenStore(session, ToEntryId(rows[i].lpProps[0].Value.bin));
    ADD_FAILURE() << "no default store";
    return Ref<IMsgStore>();
}

Ref<IMAPIFolder> OpenFolder(IMsgStore* store, const mapisvc::EntryId& folder)
{
    Ref<IMAPIFolder> opened;
    ULONG type = 0;
    EXPECT_EQ(store->OpenEntry(static_cast<ULONG>(folder.size()),
                               reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(folder.data())), nullptr,
                               MAPI_BEST_ACCESS | MAPI_MODIFY, &type, opened.OutUnknown()),
              S_OK);
    EXPECT_EQ(type, MAPI_FOLDER);
    return opened;
}

Ref<IMAPIFolder> OpenFolderByProp(IMsgStore* store, ULONG ulPropTag)
{
    const mapisvc::EntryId folder = GetBinary(store, ulPropTag);
    if (folder.empty())
    {
        ADD_FAILURE() << "the store has no folder property " << std::hex << ulPropTag;
        return Ref<IMAPIFolder>();
    }
    return OpenFolder(store, folder);
}

Ref<IMAPIFolder> OpenInbox(IMsgStore* store)
{
    ULONG cb = 0;
    MapiBuffer<ENTRYID> entryId;
    EXPECT_EQ(store->GetReceiveFolder(nullptr, 0, &cb, entryId.Out(), nullptr), S_OK);
    if (!entryId.Get())
        return Ref<IMAPIFolder>();
    const auto* bytes = reinterpret_cast<const BYTE*>(entryId.Get());
    return OpenFolder(store, mapisvc::EntryId(bytes, bytes + cb));
}

mapisvc::EntryId CreateMessage(IMAPIFolder* folder, const std::u16string& subject,
                               const std::vector<SPropValue>& values)
{
    Ref<IMessage> message;
    EXPECT_EQ(folder->CreateMessage(nullptr, 0, message.Out()), S_OK);
    if (!message)
        return mapisvc::EntryId();
    std::vector<SPropValue> all = values;
    all.push_back(UnicodeValue(PR_SUBJECT_W, subject.c_str()));
    EXPECT_EQ(message->SetProps(static_cast<ULONG>(all.size()), all.data(), nullptr), S_OK);
    EXPECT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    return EntryIdOf(message.Get());
}

Ref<IMessage> OpenMessage(IMAPISession* session, const mapisvc::EntryId& message, ULONG ulFlags)
{
    Ref<IMessage> opened;
    ULONG type = 0;
    EXPECT_EQ(session->OpenEntry(static_cast<ULONG>(message.size()),
                                 reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(message.data())), nullptr, ulFlags,
                                 &type, opened.OutUnknown()),
              S_OK);
    return opened;
}

Ref<IMessage> CreateUnsavedMessage(IMAPIFolder* folder)
{
    Ref<IMessage> message;
    EXPECT_EQ(folder->CreateMessage(nullptr, 0, message.Out()), S_OK);
    return message;
}

std::vector<std::u16string> MessageSubjects(IMAPIFolder* folder)
{
    Ref<IMAPITable> table;
    EXPECT_EQ(folder->GetContentsTable(MAPI_UNICODE, table.Out()), S_OK);
    std::vector<std::u16string> subjects;
    if (!table)
        return subjects;
    const TableRows rows = ReadRows(table.Get(), {PR_SUBJECT_W});
    for (size_t i = 0; i < rows.size(); ++i)
        subjects.push_back(rows[i].lpProps[0].Value.lpszW);
    return subjects;
}

SPropValue UnicodeValue(ULONG ulPropTag, const char16_t* text)
{
    SPropValue value{};
    value.ulPropTag = ulPropTag;
    value.Value.lpszW = const_cast<LPWSTR>(text);
    return value;
}

SPropValue LongValue(ULONG ulPropTag, LONG number)
{
    SPropValue value{};
    value.ulPropTag = ulPropTag;
    value.Value.l = number;
    return value;
}

SPropValue BoolValue(ULONG ulPropTag, bool flag)
{
    SPropValue value{};
    value.ulPropTag = ulPropTag;
    value.Value.b = flag ? 1 : 0;
    return value;
}

SRestriction PropertyRestriction(ULONG relop, SPropValue& value)
{
    SRestriction r{};
    r.rt = RES_PROPERTY;
    r.res.resProperty.relop = relop;
    r.res.resProperty.ulPropTag = value.ulPropTag;
    r.res.resProperty.lpProp = &value;
    return r;
}

SPropValue BinaryValue(ULONG ulPropTag, const mapisvc::EntryId& bytes)
{
    SPropValue value{};
    value.ulPropTag = ulPropTag;
    value.Value.bin.cb = static_cast<ULONG>(bytes.size());
    value.Value.bin.lpb = const_cast<LPBYTE>(bytes.data());
    return value;
}

namespace
{
// The single value of one GetProps, or null (with the buffer freed) when it failed.
LPSPropValue GetOneValue(IMAPIProp* object, ULONG ulPropTag)
{
    SPropTagArray tags = {1, {ulPropTag}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    HRESULT hr = object->GetProps(&tags, MAPI_UNICODE, &count, &values);
    if (hr != S_OK)
    {
        MAPIFreeBuffer(values);
        return nullptr;
    }
    return values;
}
} // namespace

std::u16string GetString(IMAPIProp* object, ULONG ulPropTag)
{
    LPSPropValue value = GetOneValue(object, CHANGE_PROP_TYPE(ulPropTag, PT_UNICODE));
    std::u16string text = value && value->Value.lpszW ? value->Value.lpszW : u"";
    MAPIFreeBuffer(value);
    return text;
}

LONG GetLong(IMAPIProp* object, ULONG ulPropTag, LONG missing)
{
    LPSPropValue value = GetOneValue(object, ulPropTag);
    const LONG number = value ? value->Value.l : missing;
    MAPIFreeBuffer(value);
    return number;
}

mapisvc::EntryId GetBinary(IMAPIProp* object, ULONG ulPropTag)
{
    LPSPropValue value = GetOneValue(object, ulPropTag);
    mapisvc::EntryId bytes = value ? ToEntryId(value->Value.bin) : mapisvc::EntryId();
    MAPIFreeBuffer(value);
    return bytes;
}

bool HasProp(IMAPIProp* object, ULONG ulPropTag)
{
    LPSPropValue value = GetOneValue(object, ulPropTag);
    MAPIFreeBuffer(value);
    return value != nullptr;
}

mapisvc::EntryId EntryIdOf(IMAPIProp* object)
{
    return GetBinary(object, PR_ENTRYID);
}

mapisvc::EntryId ToEntryId(const SBinary& bin)
{
    return bin.cb ? mapisvc::EntryId(bin.lpb, bin.lpb + bin.cb) : mapisvc::EntryId();
}

SBinary AsSBinary(const mapisvc::EntryId& id)
{
    return SBinary{static_cast<ULONG>(id.size()), const_cast<LPBYTE>(id.data())};
}

HRESULT SetOne(IMAPIProp* object, const SPropValue& value)
{
    SPropValue copy = value;
    return object->SetProps(1, &copy, nullptr);
}

TableRows::TableRows(TableRows&& other) noexcept : m_sets(std::move(other.m_sets)), m_rows(std::move(other.m_rows))
{
    other.m_sets.clear();
}

TableRows::~TableRows()
{
    for (LPSRowSet rows : m_sets)
        FreeProws(rows);
}

void TableRows::Add(LPSRowSet rows)
{
    m_sets.push_back(rows);
    for (ULONG i = 0; i < rows->cRows; ++i)
        m_rows.push_back(&rows->aRow[i]);
}

TableRows ReadRows(IMAPITable* table, const std::vector<ULONG>& columns)
{
    TableRows result;
    std::vector<ULONG> tagArray(columns.size() + 1);
    tagArray[0] = static_cast<ULONG>(columns.size());
    std::copy(columns.begin(), columns.end(), tagArray.begin() + 1);
    EXPECT_EQ(table->SetColumns(reinterpret_cast<LPSPropTagArray>(tagArray.data()), 0), S_OK);
    EXPECT_EQ(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), S_OK);
    for (;;)
    {
        LPSRowSet rows = nullptr;
        const HRESULT hr = table->QueryRows(64, 0, &rows);
        EXPECT_EQ(hr, S_OK);
        if (hr != S_OK)
            return result;
        const bool end = rows->cRows == 0;
        result.Add(rows);
        if (end)
            return result;
    }
}
