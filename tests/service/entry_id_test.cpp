// Entry identifiers: stable, unique across stores, long-term and short-term forms, damaged and deleted ones.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include "platform/mapi/EntryId.h"

namespace
{
class EntryIdTest : public DefaultStoreTest
{
protected:
    HRESULT OpenByEntryId(const mapisvc::EntryId& id, Ref<IUnknown>& object, ULONG* type = nullptr)
    {
        ULONG objectType = 0;
        HRESULT hr = Session()->OpenEntry(static_cast<ULONG>(id.size()),
                                          reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())), nullptr,
                                          MAPI_BEST_ACCESS, &objectType, object.Out());
        if (type)
            *type = objectType;
        return hr;
    }

    ULONG Compare(const mapisvc::EntryId& a, const mapisvc::EntryId& b)
    {
        ULONG same = 2;
        EXPECT_EQ(Session()->CompareEntryIDs(
                      static_cast<ULONG>(a.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(a.data())),
                      static_cast<ULONG>(b.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(b.data())), 0, &same),
                  S_OK);
        return same;
    }

    mapisvc::EntryId ReceiveFolder()
    {
        ULONG cb = 0;
        MapiBuffer<ENTRYID> id;
        EXPECT_EQ(Store()->GetReceiveFolder(nullptr, 0, &cb, id.Out(), nullptr), S_OK);
        const auto* bytes = reinterpret_cast<const BYTE*>(id.Get());
        return mapisvc::EntryId(bytes, bytes + cb);
    }
};

TEST_F(EntryIdTest, ShortAndLongTermFormsNameTheSameObject)
{
    const mapisvc::EntryId shortTerm = ReceiveFolder();
    const mapisvc::EntryId longTerm = EntryIdOf(Inbox());
    EXPECT_NE(shortTerm, longTerm);
    EXPECT_EQ(shortTerm[0] & MAPI_SHORTTERM, MAPI_SHORTTERM);
    EXPECT_EQ(longTerm[0], 0);
    EXPECT_EQ(Compare(shortTerm, longTerm), TRUE);
    EXPECT_EQ(Compare(longTerm, EntryIdOf(Store())), FALSE);
    Ref<IUnknown> folder;
    ULONG type = 0;
    ASSERT_EQ(OpenByEntryId(shortTerm, folder, &type), S_OK);
    EXPECT_EQ(type, MAPI_FOLDER);
    EXPECT_EQ(EntryIdOf(reinterpret_cast<IMAPIFolder*>(folder.Get())), longTerm);
}

TEST_F(EntryIdTest, StableAcrossSessionsAndUniqueAcrossStores)
{
    const mapisvc::EntryId message = CreateMessage(Inbox(), u"stable");
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::EntryId secondStore;
    ASSERT_EQ(mapisvc::AddStore(profile, mapisvc::StoreOptions(), &secondStore), S_OK);
    Ref<IMsgStore> other = OpenStore(Session(), secondStore);
    Ref<IMAPIFolder> otherInbox = OpenInbox(other.Get());
    const mapisvc::EntryId otherMessage = CreateMessage(otherInbox.Get(), u"other");
    EXPECT_NE(EntryIdOf(otherInbox.Get()), EntryIdOf(Inbox()));
    EXPECT_EQ(Compare(message, otherMessage), FALSE);

    Ref<IMAPISession> later = Logon();
    Ref<IMessage> reopened = OpenMessage(later.Get(), message);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(GetString(reopened.Get(), PR_SUBJECT_W), u"stable");
    EXPECT_EQ(EntryIdOf(reopened.Get()), message);
}

TEST_F(EntryIdTest, DamagedIdentifiersAreInvalidAndDeletedObjectsAreNotFound)
{
    const mapisvc::EntryId message = CreateMessage(Inbox(), u"doomed");
    Ref<IUnknown> object;
    mapisvc::EntryId damaged = message;
    damaged[damaged.size() / 2] ^= 0x40;
    EXPECT_EQ(OpenByEntryId(damaged, object), MAPI_E_INVALID_ENTRYID);
    EXPECT_EQ(OpenByEntryId(mapisvc::EntryId(message.begin(), message.begin() + 30), object), MAPI_E_INVALID_ENTRYID);
    mapisvc::EntryId foreign(40, 0x11);
    EXPECT_EQ(OpenByEntryId(foreign, object), MAPI_E_UNKNOWN_ENTRYID);

    SBinary bin = {static_cast<ULONG>(message.size()), const_cast<LPBYTE>(message.data())};
    ENTRYLIST list = {1, &bin};
    ASSERT_EQ(Inbox()->DeleteMessages(&list, 0, nullptr, 0), S_OK);
    EXPECT_EQ(OpenByEntryId(message, object), MAPI_E_NOT_FOUND);
    EXPECT_EQ(Inbox()->DeleteMessages(&list, 0, nullptr, 0), MAPI_E_NOT_FOUND);
}
} // namespace

TEST(StoreEntryIds, MakeTheIdentifiersOfEachObjectWithTheirOwnCheck)
{
    const MAPIUID store = mapisvc::NewMAPIUID();
    for (ULONG type : {ULONG(MAPI_FOLDER), ULONG(MAPI_MESSAGE)})
    {
        const mapisvc::StoreEntryIds ids(store, type);
        for (int64_t id : {int64_t(1), int64_t(0x1234), int64_t(0x7fffffffffff)})
        {
            const std::string made = ids.Of(id);
            EXPECT_EQ(made, mapisvc::Blob(mapisvc::MakeStoreEntryId(store, type, id)));
            mapisvc::ObjectId parsed;
            ASSERT_EQ(mapisvc::ParseStoreEntryId(static_cast<ULONG>(made.size()), made.data(), parsed), S_OK);
            EXPECT_EQ(parsed.type, type);
            EXPECT_EQ(parsed.id, id);
            EXPECT_FALSE(parsed.shortTerm);
        }
    }
}
