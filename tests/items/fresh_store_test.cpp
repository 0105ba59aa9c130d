// Items on a store that has never seen a name of their own: writes that leave a field empty, and removals of
// names no item has mapped, succeed at once and trace nothing.
#include "items/MAPIContactItem.h"
#include "support/ContactServiceTest.h"

using namespace contacttest;

namespace
{
class FreshStoreTest : public ContactServiceTest
{
protected:
    // The trace lines since the capture was last cleared, which every test here expects to be none.
    std::vector<CString> TraceLines() { return Trace().GetLines(); }
};

TEST_F(FreshStoreTest, EmptyHomeAddressIsWrittenWithoutAFailure)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    Trace().Clear();
    CMAPIContactInfo info;
    info.strFirstName = _T("Zoe");
    EXPECT_TRUE(item.SetAddress(&info, MAPIPIM_ADDRESS_HOME));
    EXPECT_TRUE(item.SetAddress(&info, MAPIPIM_ADDRESS_BUSINESS));
    EXPECT_TRUE(item.SetAddress(&info, MAPIPIM_ADDRESS_OTHER));
    EXPECT_EQ(TraceLines(), std::vector<CString>());
}

TEST_F(FreshStoreTest, ContactWithOnlyANameIsWrittenWithoutAFailure)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    Trace().Clear();
    CMAPIContactInfo info;
    info.strFirstName = _T("Zoe");
    EXPECT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    ASSERT_TRUE(item.Save(TRUE));
    EXPECT_EQ(TraceLines(), std::vector<CString>());
}

TEST_F(FreshStoreTest, RemovingANameNoItemMappedRemovesNothingAndSucceeds)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    Trace().Clear();
    mapisvc::ClearCallLog();
    EXPECT_TRUE(item.RemoveProperty(0x87F3, MAPIPIM_SET_LOG));
    EXPECT_TRUE(item.RemoveNamedStringProperty(_T("NeverWritten")));
    EXPECT_TRUE(item.RemoveNamedStringProperty(_T("NeverWritten")));
    for (const mapisvc::CallRecord& call : mapisvc::GetCallLog())
    {
        EXPECT_NE(call.method, "DeleteProps") << "nothing to delete";
        if (call.method == "GetIDsFromNames")
            EXPECT_EQ(call.flags, 0u) << "a removal maps no name";
    }
    LPSPropTagArray pTags = nullptr;
    ULONG ulType = 0;
    EXPECT_FALSE(item.GetNamedStringPropTag(_T("NeverWritten"), pTags, ulType, FALSE)) << "still unmapped";
    EXPECT_EQ(TraceLines(), std::vector<CString>());
}

TEST_F(FreshStoreTest, RemovingAStringNamedPropertyThatExistsRemovesIt)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    LPWSTR values[] = {const_cast<LPWSTR>(_T("one"))};
    LPSPropValue pProp = nullptr;
    ASSERT_TRUE(item.SetNamedStringPropertyMV(_T("Tagged"), values, 1, pProp, TRUE));
    MAPIFreeBuffer(pProp);
    ASSERT_TRUE(item.GetNamedStringProperty(_T("Tagged"), pProp));
    MAPIFreeBuffer(pProp);
    EXPECT_TRUE(item.RemoveNamedStringProperty(_T("Tagged")));
    pProp = nullptr;
    EXPECT_FALSE(item.GetNamedStringProperty(_T("Tagged"), pProp));
    EXPECT_EQ(pProp, nullptr);
}
} // namespace
