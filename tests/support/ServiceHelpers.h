// Small helpers for tests against the embedded MAPI service (use them with ServiceTest, ServiceFixture.h).
//
//   MapiInit init;                                  // MAPIInitialize now, MAPIUninitialize at scope end
//   Ref<IMAPISession> session = Logon();            // the default profile, made when missing
//   Ref<IMsgStore> store = OpenDefaultStore(session.Get());
//   Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
//   mapisvc::EntryId id = CreateMessage(inbox.Get(), u"Subject");
//   EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), u"Subject");
//
// Helpers that fail record a GoogleTest failure and return an empty result.
#pragma once

#include <mapipim/mapisvc.h>

#include "session/Scoped.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// An owned interface pointer: released when replaced or at scope end; movable, so that helpers can return it.
template <class T> class Ref : public mapipim::ScopedInterface<T>
{
public:
    Ref() = default;
    explicit Ref(T* p) : mapipim::ScopedInterface<T>(p) {}
    Ref(Ref&& other) noexcept : mapipim::ScopedInterface<T>(other.Detach()) {}
    Ref& operator=(Ref&& other) noexcept
    {
        if (this != &other)
            this->Receive() = other.Detach();
        return *this;
    }

    // Releases what it holds and hands out the slot for a call that returns an interface.
    T** Out() { return &this->Receive(); }
    LPUNKNOWN* OutUnknown() { return reinterpret_cast<LPUNKNOWN*>(Out()); }
};

// MAPIInitialize for the scope (with MAPI_MULTITHREAD_NOTIFICATIONS or other flags when given).
class MapiInit
{
public:
    explicit MapiInit(ULONG ulFlags = 0);
    ~MapiInit();
    MapiInit(const MapiInit&) = delete;
    MapiInit& operator=(const MapiInit&) = delete;
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

// A MAPI buffer freed at scope end.
template <class T> class MapiBuffer : public mapipim::ScopedBuffer<T>
{
public:
    // Frees what it holds and hands out the slot for a call that returns a buffer.
    T** Out() { return &this->Receive(); }
};

// A row set freed with FreeProws at scope end.
class Rows : public mapipim::ScopedRows
{
public:
    LPSRowSet* Out() { return &Receive(); }
};

// ---- Sessions, stores and folders
// Logs on (MAPI must be initialised) to the named profile, or to the default one, made when missing.
Ref<IMAPISession> Logon(const std::u16string& profile = std::u16string());
Ref<IMsgStore> OpenStore(IMAPISession* session, const mapisvc::EntryId& store);
Ref<IMsgStore> OpenDefaultStore(IMAPISession* session);
Ref<IMAPIFolder> OpenFolder(IMsgStore* store, const mapisvc::EntryId& folder);
// The folder named by a binary property of the store (PR_IPM_SUBTREE_ENTRYID, PR_IPM_OUTBOX_ENTRYID, ...).
Ref<IMAPIFolder> OpenFolderByProp(IMsgStore* store, ULONG ulPropTag);
Ref<IMAPIFolder> OpenInbox(IMsgStore* store);

// ---- Messages
// Creates a message with these values (strings as PT_UNICODE) and saves it; returns its entry identifier.
mapisvc::EntryId CreateMessage(IMAPIFolder* folder, const std::u16string& subject,
                               const std::vector<SPropValue>& values = {});
Ref<IMessage> OpenMessage(IMAPISession* session, const mapisvc::EntryId& message, ULONG ulFlags = MAPI_BEST_ACCESS);
// A new message in the folder, not saved yet.
Ref<IMessage> CreateUnsavedMessage(IMAPIFolder* folder);
// The subjects of a folder's messages in the order of its contents table.
std::vector<std::u16string> MessageSubjects(IMAPIFolder* folder);

// ---- Values
SPropValue UnicodeValue(ULONG ulPropTag, const char16_t* text);
SPropValue LongValue(ULONG ulPropTag, LONG value);
SPropValue BoolValue(ULONG ulPropTag, bool value);
SPropValue BinaryValue(ULONG ulPropTag, const mapisvc::EntryId& bytes);
// RES_PROPERTY comparing the value's property with the value; the value must outlive the restriction.
SRestriction PropertyRestriction(ULONG relop, SPropValue& value);

// One property read with GetProps (MAPI_UNICODE); empty or 0 when it is missing.
std::u16string GetString(IMAPIProp* object, ULONG ulPropTag);
LONG GetLong(IMAPIProp* object, ULONG ulPropTag, LONG missing = 0);
mapisvc::EntryId GetBinary(IMAPIProp* object, ULONG ulPropTag);
mapisvc::EntryId EntryIdOf(IMAPIProp* object);
bool HasProp(IMAPIProp* object, ULONG ulPropTag);
mapisvc::EntryId ToEntryId(const SBinary& bin);
// A view of an identifier's bytes as an SBinary; the bytes stay the vector's.
SBinary AsSBinary(const mapisvc::EntryId& id);
HRESULT SetOne(IMAPIProp* object, const SPropValue& value);

// Every row of a table, read in batches from the start; the row sets are freed with the object.
class TableRows
{
public:
    TableRows() = default;
    TableRows(TableRows&& other) noexcept;
    ~TableRows();
    TableRows(const TableRows&) = delete;
    TableRows& operator=(const TableRows&) = delete;

    size_t size() const { return m_rows.size(); }
    const SRow& operator[](size_t index) const { return *m_rows[index]; }
    void Add(LPSRowSet rows);

private:
    std::vector<LPSRowSet> m_sets;
    std::vector<const SRow*> m_rows;
};

// All rows of a table with these columns, from its first row.
TableRows ReadRows(IMAPITable* table, const std::vector<ULONG>& columns);
