// The read fast path of the item object against the service: one GetProps per item for the read groups asked for,
// named properties resolved once per store (also the names a store has not mapped), the body from the batch only
// when no pause is owed, no attachment table for a message without attachments, stream pieces by the pause, and
// removals of names a store never mapped.
#include <mapipim/mapisvc.h>

#include "items/MAPIContactItem.h"
#include "support/CallLogQueries.h"
#include "support/ContactServiceTest.h"

using namespace contacttest;

namespace
{
// Named ids of property sets that no store maps in advance.
const LONG kUnmappedId = 0x87F1;
const LONG kOtherUnmappedId = 0x87F2;

CMAPIContactInfo SmallContact()
{
    CMAPIContactInfo info;
    info.strFirstName = Utf8("Zoë");
    info.strLastName = Utf8("김");
    info.strEmail1 = _T("zoe@example.com");
    info.strBizCity = _T("Berlin");
    info.strMemo = Utf8("A short note — with a dash.");
    info.tmBirthday = MakeSystemTime(1980, 7, 14, 0, 0, 0);
    return info;
}

class ItemFastPathTest : public ContactServiceTest
{
protected:
    void SetUp() override
    {
        ContactServiceTest::SetUp();
        mapisvc::SetCallLogEnabled(true);
    }

    // A saved contact, closed again; its entry identifier.
    mapisvc::EntryId SavedContact(const CMAPIContactInfo& source)
    {
        CMAPIContactItem item;
        CMAPIContactInfo info = source;
        CreateContactItem(item, info);
        const SBinary* pEntryID = item.GetEntryID();
        return mapisvc::EntryId(pEntryID->lpb, pEntryID->lpb + pEntryID->cb);
    }

    bool Open(CMAPIItem& item, mapisvc::EntryId& entryID)
    {
        SBinary bin = {static_cast<ULONG>(entryID.size()), entryID.data()};
        return item.Open(&Session(), bin) != FALSE;
    }
};
} // namespace

TEST_F(ItemFastPathTest, AContactIsReadInOneGetPropsWithoutPauses)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIInterface::SetYield(0);
    CMAPIContactItem item;
    ASSERT_TRUE(Open(item, entryID));
    mapisvc::ClearCallLog();
    Trace().Clear();
    CMAPIContactInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_TIMES | MAPIPIM_CONTACT_NAMES | MAPIPIM_CONTACT_OTHERS));

    EXPECT_EQ(1u, CallsOf("IMessage", "GetProps").size());
    EXPECT_TRUE(CallsOf("IMessage", "GetIDsFromNames").empty()) << "the store's names are known from the write";
    EXPECT_TRUE(CallsOf("IMessage", "OpenProperty").empty()) << "the body comes with the batch";
    EXPECT_TRUE(CallsOf("IMessage", "GetAttachmentTable").empty()) << "PR_HASATTACH says there are none";
    EXPECT_EQ(Utf8("Zoë"), read.strFirstName);
    EXPECT_EQ(Utf8("A short note — with a dash."), read.strMemo);
    EXPECT_EQ(_T("zoe@example.com"), read.strEmail1);
    EXPECT_EQ(_T("Berlin"), read.strBizCity);
    EXPECT_EQ(1980, read.tmBirthday.wYear);
    EXPECT_NE(0, read.tmLMTime.wYear);
    EXPECT_TRUE(read.strAttachFile.IsEmpty());
}

TEST_F(ItemFastPathTest, AtTheDefaultPauseTheBodyStillMovesThroughItsStream)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIInterface::SetYield(1);
    CMAPIContactItem item;
    ASSERT_TRUE(Open(item, entryID));
    mapisvc::ClearCallLog();
    CMAPIContactInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    const std::vector<mapisvc::CallRecord> reads = CallsOf("IMessage", "GetProps");
    ASSERT_EQ(1u, reads.size());
    EXPECT_FALSE(HasTag(reads[0], PR_BODY_W)) << "the body is not read twice";
    ASSERT_EQ(1u, CallsOf("IMessage", "OpenProperty").size());
    EXPECT_EQ(CallsOf("IMessage", "OpenProperty")[0].propTags, std::vector<ULONG>{PR_BODY_W});
    EXPECT_EQ(Utf8("A short note — with a dash."), read.strMemo);
}

TEST_F(ItemFastPathTest, AFailingBatchIsReadFieldByField)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIContactItem item;
    ASSERT_TRUE(Open(item, entryID));
    mapisvc::Fault fault = FailCall("IMessage", "GetProps");
    fault.propTag = CHANGE_PROP_TYPE(PR_SURNAME_W, PT_UNSPECIFIED);
    ScopedFault surname(fault);
    Trace().Clear();
    CMAPIContactInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_NAMES));
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Get failed : strLastName")}, Trace().GetLines());
    EXPECT_TRUE(read.strLastName.IsEmpty());
    EXPECT_EQ(Utf8("Zoë"), read.strFirstName);
    EXPECT_EQ(Utf8("Zoë 김"), read.strDisplay);
}

TEST_F(ItemFastPathTest, ANameIsAskedOfTheStoreOnceAlsoWhenItHasNoMapping)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIContactItem first;
    ASSERT_TRUE(Open(first, entryID));
    mapisvc::ClearCallLog();
    CString strValue(_T("stale"));
    EXPECT_FALSE(first.GetPropertyString(kUnmappedId, strValue, MAPIPIM_SET_LOG));
    EXPECT_TRUE(strValue.IsEmpty());
    EXPECT_EQ(1u, CallsOf("IMessage", "GetIDsFromNames").size());

    // Another item of the same store: nothing asked, the name is known to have no mapping.
    CMAPIContactItem second;
    ASSERT_TRUE(Open(second, entryID));
    mapisvc::ClearCallLog();
    EXPECT_FALSE(second.GetPropertyString(kUnmappedId, strValue, MAPIPIM_SET_LOG));
    EXPECT_TRUE(CallsOf("IMessage", "GetIDsFromNames").empty());
    EXPECT_TRUE(CallsOf("IMessage", "GetProps").empty());

    // A setter maps the name; what the session remembers follows at once.
    ASSERT_TRUE(second.SetPropertyString(kUnmappedId, _T("mapped now"), MAPIPIM_SET_LOG));
    const std::vector<mapisvc::CallRecord> creations = CallsOf("IMessage", "GetIDsFromNames");
    ASSERT_EQ(1u, creations.size());
    EXPECT_EQ(static_cast<ULONG>(MAPI_CREATE), creations[0].flags);
    mapisvc::ClearCallLog();
    EXPECT_TRUE(second.GetPropertyString(kUnmappedId, strValue, MAPIPIM_SET_LOG));
    EXPECT_EQ(_T("mapped now"), strValue);
    EXPECT_TRUE(CallsOf("IMessage", "GetIDsFromNames").empty());
}

TEST_F(ItemFastPathTest, AKindsTagsAreResolvedAgainAfterAFailedResolution)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIInterface::SetYield(0);
    // A session of its own, which has not seen the store's names.
    CMAPIEx other;
    ASSERT_TRUE(other.Login());
    ASSERT_TRUE(other.OpenMessageStore());
    SBinary bin = {static_cast<ULONG>(entryID.size()), entryID.data()};
    CMAPIContactInfo read;
    {
        CMAPIContactItem item;
        ASSERT_TRUE(item.Open(&other, bin));
        ScopedFault resolution("IMessage", "GetIDsFromNames");
        ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
        EXPECT_TRUE(read.strEmail1.IsEmpty());
    }
    CMAPIContactItem item;
    ASSERT_TRUE(item.Open(&other, bin));
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    EXPECT_EQ(1u, CallsOf("IMessage", "GetIDsFromNames").size());
    EXPECT_EQ(1u, CallsOf("IMessage", "GetProps").size()) << "the named properties are in the batch";
    EXPECT_EQ(_T("zoe@example.com"), read.strEmail1);
    item.Close();
    other.Logout();
}

TEST_F(ItemFastPathTest, RemovingANameTheStoreNeverMappedSucceedsWithoutACall)
{
    mapisvc::EntryId entryID = SavedContact(SmallContact());
    CMAPIContactItem item;
    ASSERT_TRUE(Open(item, entryID));
    mapisvc::ClearCallLog();
    Trace().Clear();
    EXPECT_TRUE(item.RemoveProperty(kOtherUnmappedId, MAPIPIM_SET_LOG));
    EXPECT_TRUE(item.RemoveProperty(kOtherUnmappedId, MAPIPIM_SET_LOG));
    EXPECT_TRUE(CallsOf("IMessage", "DeleteProps").empty());
    EXPECT_EQ(1u, CallsOf("IMessage", "GetIDsFromNames").size());
    EXPECT_TRUE(Trace().GetLines().empty());

    // A resolution that fails is a failure, and is not remembered.
    mapisvc::Fault fault = FailCall("IMessage", "GetIDsFromNames");
    {
        ScopedFault resolution(fault);
        EXPECT_FALSE(item.RemoveProperty(0x87F3, MAPIPIM_SET_LOG));
    }
    EXPECT_TRUE(item.RemoveProperty(0x87F3, MAPIPIM_SET_LOG));
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.RemoveProperty(kOtherUnmappedId, MAPIPIM_SET_LOG));
    CMAPIInterface::SetCancel(0);
}

TEST_F(ItemFastPathTest, AnEmptyAddressOnAStoreThatNeverSawItsNamesIsWrittenSilently)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    CMAPIContactInfo info;
    info.strHomeCity = _T("Oslo");
    Trace().Clear();
    for (int nType : {MAPIPIM_ADDRESS_HOME, MAPIPIM_ADDRESS_BUSINESS, MAPIPIM_ADDRESS_OTHER})
        EXPECT_TRUE(item.SetAddress(&info, nType)) << nType;
    EXPECT_TRUE(Trace().GetLines().empty());
    ASSERT_TRUE(item.Save(FALSE));
    CString strCity;
    EXPECT_TRUE(item.GetPropertyString(PR_HOME_ADDRESS_CITY_W, strCity));
    EXPECT_EQ(_T("Oslo"), strCity);
    EXPECT_FALSE(item.GetPropertyString(PR_OTHER_ADDRESS_CITY_W, strCity));
}

TEST_F(ItemFastPathTest, AttachmentStreamsMoveInLargePiecesOnlyWithoutPauses)
{
    const fs::path file = TempDir() / "data.bin";
    WriteFileBytes(file, std::vector<BYTE>(200 * 1024 + 10, 0x5A));
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    ASSERT_TRUE(item.AddAttachment(PathText(file)));
    ASSERT_TRUE(item.Save(FALSE));
    const fs::path saved = TempDir() / "saved.bin";
    for (int nYield : {1, 0})
    {
        SCOPED_TRACE(nYield);
        CMAPIInterface::SetYield(nYield);
        mapisvc::ClearCallLog();
        ASSERT_TRUE(item.SaveAttachment(PathText(saved), 0, MAPIPIM_ATTACH_ALL));
        EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(saved));
        // 1 KB pieces at the default pause (201 of them, the last one short), one piece without.
        EXPECT_EQ(nYield ? 201u : 1u, CallsOf("", "Read").size());
    }
}
