// Named properties: ids per store from 0x8000 up, created on request, stable across sessions.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <algorithm>
#include <vector>

namespace
{
class NamedPropertyTest : public DefaultStoreTest
{
protected:
    HRESULT Resolve(IMAPIProp* object, MAPINAMEID name, ULONG flags, ULONG& tag)
    {
        LPMAPINAMEID names[] = {&name};
        MapiBuffer<SPropTagArray> tags;
        HRESULT hr = object->GetIDsFromNames(1, names, flags, tags.Out());
        tag = tags.Get() ? tags->aulPropTag[0] : 0;
        return hr;
    }

    // A store added to the default profile, opened in the fixture's session.
    Ref<IMsgStore> AddOpenStore(const mapisvc::StoreOptions& options)
    {
        std::u16string profile;
        EXPECT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
        mapisvc::EntryId store;
        EXPECT_EQ(mapisvc::AddStore(profile, options, &store), S_OK);
        return OpenStore(Session(), store);
    }

    static MAPINAMEID ById(const GUID& set, LONG id)
    {
        MAPINAMEID name{};
        name.lpguid = const_cast<LPGUID>(&set);
        name.ulKind = MNID_ID;
        name.Kind.lID = id;
        return name;
    }

    static MAPINAMEID ByString(const GUID& set, const char16_t* text)
    {
        MAPINAMEID name{};
        name.lpguid = const_cast<LPGUID>(&set);
        name.ulKind = MNID_STRING;
        name.Kind.lpwstrName = const_cast<LPWSTR>(text);
        return name;
    }
};

TEST_F(NamedPropertyTest, UnknownNamesNeedMapiCreate)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ULONG tag = 0;
    EXPECT_EQ(Resolve(message.Get(), ById(PSETID_Note, 0x8B7F), 0, tag), MAPI_W_ERRORS_RETURNED);
    EXPECT_EQ(PROP_TYPE(tag), PT_ERROR);
    ASSERT_EQ(Resolve(message.Get(), ById(PSETID_Note, 0x8B7F), MAPI_CREATE, tag), S_OK);
    EXPECT_EQ(PROP_TYPE(tag), PT_UNSPECIFIED);
    EXPECT_GE(PROP_ID(tag), 0x8000u);
    ULONG again = 0;
    ASSERT_EQ(Resolve(message.Get(), ById(PSETID_Note, 0x8B7F), 0, again), S_OK);
    EXPECT_EQ(again, tag);
    ULONG custom = 0;
    ASSERT_EQ(Resolve(message.Get(), ByString(PS_PUBLIC_STRINGS, u"Custom"), MAPI_CREATE, custom), S_OK);
    EXPECT_NE(PROP_ID(custom), PROP_ID(tag));
    // Names of PS_MAPI with a number are the ordinary property of that id.
    ULONG subject = 0;
    ASSERT_EQ(Resolve(message.Get(), ById(PS_MAPI, PROP_ID(PR_SUBJECT)), 0, subject), S_OK);
    EXPECT_EQ(PROP_ID(subject), PROP_ID(PR_SUBJECT));
}

TEST_F(NamedPropertyTest, UnspecifiedTagReturnsTheStoredTypeAndNamesMapBack)
{
    Ref<IMessage> message;
    ASSERT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    ULONG tag = 0;
    ASSERT_EQ(Resolve(message.Get(), ById(PSETID_Task, 0x8102), MAPI_CREATE, tag), S_OK);
    ASSERT_EQ(SetOne(message.Get(), LongValue(CHANGE_PROP_TYPE(tag, PT_LONG), 42)), S_OK);
    SPropTagArray tags = {1, {tag}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(message->GetProps(&tags, MAPI_UNICODE, &count, values.Out()), S_OK);
    EXPECT_EQ(values->ulPropTag, CHANGE_PROP_TYPE(tag, PT_LONG));
    EXPECT_EQ(values->Value.l, 42);

    MapiBuffer<SPropTagArray> asked;
    ASSERT_EQ(MAPIAllocateBuffer(CbNewSPropTagArray(1), reinterpret_cast<LPVOID*>(asked.Out())), S_OK);
    asked->cValues = 1;
    asked->aulPropTag[0] = tag;
    LPSPropTagArray inOut = asked.Get();
    ULONG names = 0;
    MapiBuffer<LPMAPINAMEID> found;
    ASSERT_EQ(message->GetNamesFromIDs(&inOut, nullptr, 0, &names, found.Out()), S_OK);
    ASSERT_EQ(names, 1u);
    EXPECT_TRUE(IsEqualGUID(*found.Get()[0]->lpguid, PSETID_Task));
    EXPECT_EQ(found.Get()[0]->Kind.lID, 0x8102);
}

TEST_F(NamedPropertyTest, MappingIsPerStoreAndLastsAcrossSessions)
{
    ULONG first = 0;
    ASSERT_EQ(Resolve(Store(), ById(PSETID_Address, 0x80F3), MAPI_CREATE, first), S_OK);

    mapisvc::EntryId second;
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::StoreOptions options;
    options.displayName = u"Second";
    ASSERT_EQ(mapisvc::AddStore(profile, options, &second), S_OK);
    Ref<IMsgStore> other = OpenStore(Session(), second);
    ULONG tag = 0;
    EXPECT_EQ(Resolve(other.Get(), ById(PSETID_Address, 0x80F3), 0, tag), MAPI_W_ERRORS_RETURNED);

    Ref<IMAPISession> later = Logon();
    Ref<IMsgStore> same = OpenDefaultStore(later.Get());
    ASSERT_EQ(Resolve(same.Get(), ById(PSETID_Address, 0x80F3), 0, tag), S_OK);
    EXPECT_EQ(tag, first);
}
TEST_F(NamedPropertyTest, NewStoreHasTheWellKnownNamesOfTheStandardSets)
{
    // A sample of each set: contact e-mail and address, appointment start and recurrence, task status, reminder,
    // note colour, journal start, and the categories.
    const MAPINAMEID known[] = {ById(PSETID_Address, 0x8083),     ById(PSETID_Address, 0x801A),
                                ById(PSETID_Appointment, 0x820D), ById(PSETID_Appointment, 0x8216),
                                ById(PSETID_Task, 0x8101),        ById(PSETID_Common, 0x8503),
                                ById(PSETID_Note, 0x8B00),        ById(PSETID_Log, 0x8706),
                                ByString(PS_PUBLIC_STRINGS, u"Keywords")};
    std::vector<ULONG> ids;
    for (const MAPINAMEID& name : known)
    {
        ULONG tag = 0;
        EXPECT_EQ(Resolve(Store(), name, 0, tag), S_OK) << "name " << ids.size();
        EXPECT_GE(PROP_ID(tag), 0x8000u);
        ids.push_back(PROP_ID(tag));
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end()) << "each name has an id of its own";
    ULONG tag = 0;
    EXPECT_EQ(Resolve(Store(), ById(PSETID_Log, 0x87F0), 0, tag), MAPI_W_ERRORS_RETURNED) << "only those";

    // An ANSI-only store made now has them too, and its names map back.
    mapisvc::StoreOptions options;
    options.displayName = u"Old";
    options.unicode = false;
    Ref<IMsgStore> oldStore = AddOpenStore(options);
    ASSERT_TRUE(oldStore);
    ASSERT_EQ(Resolve(oldStore.Get(), known[0], 0, tag), S_OK);
    SPropTagArray one = {1, {tag}};
    LPSPropTagArray tags = &one;
    MapiBuffer<LPMAPINAMEID> names;
    ULONG count = 0;
    ASSERT_EQ(oldStore->GetNamesFromIDs(&tags, nullptr, 0, &count, names.Out()), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(names.Get()[0]->Kind.lID, 0x8083);
}

TEST_F(NamedPropertyTest, AStoreMadeWithoutTheWellKnownNamesMapsThemAsAsked)
{
    mapisvc::StoreOptions options;
    options.displayName = u"Bare";
    options.wellKnownNames = false;
    Ref<IMsgStore> store = AddOpenStore(options);
    ASSERT_TRUE(store);
    ULONG tag = 0;
    EXPECT_EQ(Resolve(store.Get(), ById(PSETID_Address, 0x8083), 0, tag), MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(Resolve(store.Get(), ById(PSETID_Task, 0x8101), MAPI_CREATE, tag), S_OK);
    EXPECT_EQ(PROP_ID(tag), 0x8000u) << "the first name asked for takes the first id";
    ASSERT_EQ(Resolve(store.Get(), ById(PSETID_Address, 0x8083), MAPI_CREATE, tag), S_OK);
    EXPECT_EQ(PROP_ID(tag), 0x8001u);
}
} // namespace
