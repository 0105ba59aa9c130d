// Fault injection, the call log and the count of calls that found a store busy.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
class TestingHooksTest : public DefaultStoreTest
{
protected:
    static mapisvc::Fault FaultOf(const char* interfaceName, const char* method, HRESULT result)
    {
        mapisvc::Fault fault;
        fault.interfaceName = interfaceName;
        fault.method = method;
        fault.result = result;
        return fault;
    }
};

TEST_F(TestingHooksTest, FaultsMatchByInterfaceMethodAndNthCall)
{
    mapisvc::Fault fault = FaultOf("IMAPIFolder", "CreateMessage", MAPI_E_NOT_ENOUGH_DISK);
    fault.nthCall = 2;
    mapisvc::InjectFault(fault);
    Ref<IMessage> message;
    EXPECT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);
    EXPECT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), MAPI_E_NOT_ENOUGH_DISK);
    EXPECT_EQ(message.Get(), nullptr);
    EXPECT_EQ(Inbox()->CreateMessage(nullptr, 0, message.Out()), S_OK);

    // A fault on the declaring interface reaches every object that has the method.
    const ULONG id = mapisvc::InjectFault(FaultOf("IMAPIProp", "SaveChanges", MAPI_E_DISK_ERROR));
    EXPECT_EQ(message->SaveChanges(0), MAPI_E_DISK_ERROR);
    mapisvc::RemoveFault(id);
    EXPECT_EQ(message->SaveChanges(0), S_OK);

    mapisvc::InjectFault(FaultOf("", "MAPILogonEx", MAPI_E_LOGON_FAILED));
    Ref<IMAPISession> session;
    EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT, session.Out()), MAPI_E_LOGON_FAILED);
}

TEST_F(TestingHooksTest, FaultsNarrowedToATagOrANamedProperty)
{
    mapisvc::Fault byTag = FaultOf("IMessage", "GetProps", MAPI_E_CALL_FAILED);
    byTag.propTag = CHANGE_PROP_TYPE(PR_SUBJECT, PT_UNSPECIFIED);
    mapisvc::InjectFault(byTag);
    Ref<IMessage> message = OpenMessage(Session(), CreateMessage(Inbox(), u"subject"));
    SPropTagArray subject = {1, {PR_SUBJECT_A}};
    SPropTagArray flags = {1, {PR_MESSAGE_FLAGS}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    EXPECT_EQ(message->GetProps(&subject, 0, &count, values.Out()), MAPI_E_CALL_FAILED);
    EXPECT_EQ(message->GetProps(&flags, 0, &count, values.Out()), S_OK);

    mapisvc::Fault byName = FaultOf("IMAPIProp", "SetProps", MAPI_E_NO_ACCESS);
    byName.narrowToName = true;
    byName.name.propertySet = PSETID_Common;
    byName.name.id = 0x8501;
    mapisvc::InjectFault(byName);
    MAPINAMEID name{const_cast<LPGUID>(&PSETID_Common), MNID_ID, {0x8501}};
    LPMAPINAMEID names[] = {&name};
    MapiBuffer<SPropTagArray> tags;
    ASSERT_EQ(message->GetIDsFromNames(1, names, MAPI_CREATE, tags.Out()), S_OK);
    EXPECT_EQ(SetOne(message.Get(), LongValue(CHANGE_PROP_TYPE(tags->aulPropTag[0], PT_LONG), 5)), MAPI_E_NO_ACCESS);
    EXPECT_EQ(SetOne(message.Get(), LongValue(PR_IMPORTANCE, 2)), S_OK);

    mapisvc::Fault onResolve = FaultOf("IMAPIProp", "GetIDsFromNames", MAPI_E_NOT_ENOUGH_MEMORY);
    onResolve.narrowToName = true;
    onResolve.name = byName.name;
    mapisvc::InjectFault(onResolve);
    EXPECT_EQ(message->GetIDsFromNames(1, names, 0, tags.Out()), MAPI_E_NOT_ENOUGH_MEMORY);
}

TEST_F(TestingHooksTest, CallLogRecordsInterfaceMethodFlagsAndTags)
{
    mapisvc::ClearCallLog();
    Ref<IMAPITable> table;
    ASSERT_EQ(Inbox()->GetContentsTable(MAPI_UNICODE, table.Out()), S_OK);
    SizedSPropTagArray(2, columns) = {2, {PR_MESSAGE_FLAGS, PR_ENTRYID}};
    ASSERT_EQ(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    Rows rows;
    ASSERT_EQ(table->QueryRows(512, 0, rows.Out()), S_OK);
    Ref<IMsgStore> store;
    EXPECT_EQ(
        Session()->OpenMsgStore(0, 3, reinterpret_cast<LPENTRYID>(const_cast<char*>("bad")), nullptr, 0, store.Out()),
        MAPI_E_INVALID_ENTRYID);

    const auto log = mapisvc::GetCallLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].interfaceName, "IMAPIFolder");
    EXPECT_EQ(log[0].method, "GetContentsTable");
    EXPECT_EQ(log[0].flags, MAPI_UNICODE);
    EXPECT_EQ(log[1].method, "SetColumns");
    EXPECT_EQ(log[1].propTags, (std::vector<ULONG>{PR_MESSAGE_FLAGS, PR_ENTRYID}));
    EXPECT_EQ(log[2].method, "QueryRows");
    EXPECT_EQ(log[3].interfaceName, "IMAPISession");
    EXPECT_EQ(log[3].result, MAPI_E_INVALID_ENTRYID);

    mapisvc::SetCallLogEnabled(false);
    table->GetRowCount(0, nullptr);
    EXPECT_EQ(mapisvc::GetCallLog().size(), 4u);
}

TEST_F(TestingHooksTest, CallsThatFindAStoreBusyAreCountedWithTheCallLogOff)
{
    mapisvc::SetCallLogEnabled(false);
    mapisvc::ClearCallLog();
    const ULONG before = mapisvc::GetBusyCallCount();
    Ref<IMAPITable> table;
    ASSERT_EQ(Inbox()->GetContentsTable(0, table.Out()), S_OK);
    const ULONG busy = mapisvc::InjectFault(FaultOf("IMAPITable", "GetRowCount", MAPI_E_BUSY));
    ULONG count = 0;
    EXPECT_EQ(table->GetRowCount(0, &count), MAPI_E_BUSY);
    EXPECT_EQ(mapisvc::GetBusyCallCount(), before + 1);

    mapisvc::RemoveFault(busy);
    mapisvc::InjectFault(FaultOf("IMAPITable", "GetRowCount", MAPI_E_CALL_FAILED));
    EXPECT_EQ(table->GetRowCount(0, &count), MAPI_E_CALL_FAILED);
    mapisvc::ClearFaults();
    EXPECT_EQ(table->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(mapisvc::GetBusyCallCount(), before + 1) << "other failures and successes are not counted";
    EXPECT_TRUE(mapisvc::GetCallLog().empty());
}
} // namespace
