// MAPI memory and the MAPI utility functions.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class MemoryTest : public ServiceTest
{
};

TEST_F(MemoryTest, MoreBlocksGoWithTheirRootBuffer)
{
    const LONG before = mapisvc::GetLiveBufferCount();
    LPVOID root = nullptr;
    ASSERT_EQ(MAPIAllocateBuffer(16, &root), S_OK);
    EXPECT_EQ(mapisvc::GetLiveBufferCount(), before + 1);
    EXPECT_EQ(static_cast<BYTE*>(root)[15], 0); // zero-filled
    LPVOID more[3] = {};
    for (LPVOID& block : more)
    {
        ASSERT_EQ(MAPIAllocateMore(100, root, &block), S_OK);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u);
    }
    EXPECT_EQ(mapisvc::GetLiveBufferCount(), before + 1);
    // A linked block cannot be freed on its own; the root frees all of them (ASan checks that nothing leaks).
    EXPECT_NE(MAPIFreeBuffer(more[1]), 0u);
    EXPECT_EQ(MAPIFreeBuffer(root), 0u);
    EXPECT_EQ(mapisvc::GetLiveBufferCount(), before);
    EXPECT_EQ(MAPIFreeBuffer(nullptr), 0u);
    LPVOID none = reinterpret_cast<LPVOID>(1);
    EXPECT_EQ(MAPIAllocateMore(8, nullptr, &none), MAPI_E_INVALID_PARAMETER);
    EXPECT_EQ(none, nullptr);
}

TEST_F(MemoryTest, FreeProwsAndFreePadrlistFreeEveryRow)
{
    LPSRowSet rows = nullptr;
    ASSERT_EQ(MAPIAllocateBuffer(CbNewSRowSet(2), reinterpret_cast<LPVOID*>(&rows)), S_OK);
    rows->cRows = 2;
    for (ULONG i = 0; i < 2; ++i)
        ASSERT_EQ(MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&rows->aRow[i].lpProps)), S_OK);
    LPADRLIST list = nullptr;
    ASSERT_EQ(MAPIAllocateBuffer(CbNewADRLIST(1), reinterpret_cast<LPVOID*>(&list)), S_OK);
    list->cEntries = 1;
    ASSERT_EQ(MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&list->aEntries[0].rgPropVals)), S_OK);
    FreeProws(rows);
    FreePadrlist(list);
    FreeProws(nullptr);
    FreePadrlist(nullptr);
}

TEST_F(MemoryTest, PpropFindPropMatchesTagsOrIdsOfUnspecifiedType)
{
    SPropValue values[3] = {LongValue(PR_IMPORTANCE, 1), UnicodeValue(PR_SUBJECT_W, u"s"),
                            LongValue(PR_MESSAGE_FLAGS, 2)};
    EXPECT_EQ(PpropFindProp(values, 3, PR_SUBJECT_W), &values[1]);
    EXPECT_EQ(PpropFindProp(values, 3, PR_SUBJECT_A), nullptr);
    EXPECT_EQ(PpropFindProp(values, 3, CHANGE_PROP_TYPE(PR_SUBJECT, PT_UNSPECIFIED)), &values[1]);
    EXPECT_EQ(PpropFindProp(nullptr, 3, PR_SUBJECT_W), nullptr);
}

TEST_F(MemoryTest, EveryObjectHandedOutIsCounted)
{
    const LONG before = mapisvc::GetLiveObjectCount();
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenDefaultStore(session.Get());
        Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
        Ref<IMAPITable> table;
        ASSERT_EQ(inbox->GetContentsTable(0, table.Out()), S_OK);
        EXPECT_GE(mapisvc::GetLiveObjectCount(), before + 4);
        Ref<IMAPITable> extra;
        table->QueryInterface(IID_IMAPITable, reinterpret_cast<LPVOID*>(extra.Out()));
        EXPECT_EQ(table->Release(), 1u);
        table->AddRef();
        Ref<IUnknown> none;
        EXPECT_EQ(table->QueryInterface(IID_IMessage, reinterpret_cast<LPVOID*>(none.Out())),
                  MAPI_E_INTERFACE_NOT_SUPPORTED);
    }
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), before);
}
} // namespace
