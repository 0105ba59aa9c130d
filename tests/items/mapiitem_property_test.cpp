// CMAPIItem: typed reading and writing of ordinary properties, the cancel flag, and string properties of an
// ANSI-only store.
#include <mapipim/MAPIByteStream.h>
#include <mapipim/MAPIInterface.h>

#include "ItemTestFixture.h"
#include "support/ScopedEnvironment.h"
#include "support/TimeBuilders.h"

namespace
{
const ULONG PR_TEST_DOUBLE = PROP_TAG(PT_DOUBLE, 0x6700);
const ULONG PR_TEST_BINARY = PROP_TAG(PT_BINARY, 0x6701);

class MAPIItemPropertyTest : public ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        ASSERT_TRUE(OpenMessage());
        mapisvc::ClearCallLog();
    }
};
} // namespace

TEST_F(MAPIItemPropertyTest, EveryTypeRoundTripsThroughTheStore)
{
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Gr\u00FC\u00DFe \u4E16\u754C")));
    ASSERT_TRUE(m_item.SetPropertyLong(PR_IMPORTANCE, 2));
    ASSERT_TRUE(m_item.SetPropertyBool(PR_RESPONSE_REQUESTED, 1));
    ASSERT_TRUE(m_item.SetPropertyDouble(PR_TEST_DOUBLE, 0.25));
    ASSERT_TRUE(m_item.SetPropertyTime(PR_CLIENT_SUBMIT_TIME, MakeSystemTime(2024, 7, 1, 10, 30)));
    BYTE buffer[8] = {};
    CMAPIByteStream writer;
    writer.Init(sizeof buffer, buffer);
    writer.WriteDWord(0x04030201);
    writer.WriteWord(0x0605);
    ASSERT_TRUE(m_item.SetPropertyBinary(PR_TEST_BINARY, writer));
    ASSERT_TRUE(m_item.Save(TRUE));

    ASSERT_TRUE(OpenMessage());
    CString strSubject;
    EXPECT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strSubject));
    EXPECT_EQ(strSubject, CString(_T("Gr\u00FC\u00DFe \u4E16\u754C")));
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, 0), 2);
    EXPECT_EQ(m_item.GetPropertyBool(PR_RESPONSE_REQUESTED, 0), 1);
    EXPECT_EQ(m_item.GetPropertyDouble(PR_TEST_DOUBLE, 0.0), 0.25);
    SYSTEMTIME tm = {};
    EXPECT_TRUE(m_item.GetPropertyTime(PR_CLIENT_SUBMIT_TIME, tm, MAPIPIM_SET_NONE, FALSE));
    EXPECT_EQ(tm.wYear, 2024);
    EXPECT_EQ(tm.wHour, 10);
    EXPECT_EQ(tm.wMinute, 30);
    CMAPIByteStream reader;
    ASSERT_TRUE(m_item.GetPropertyBinary(PR_TEST_BINARY, reader));
    DWORD dwValue = 0;
    WORD wValue = 0;
    reader.ReadDWord(&dwValue);
    reader.ReadWord(&wValue);
    EXPECT_EQ(dwValue, 0x04030201u);
    EXPECT_EQ(wValue, 0x0605u);
    reader.ReadByte(reinterpret_cast<BYTE*>(&wValue));
    EXPECT_EQ(wValue, 0x0605u) << "the value held six bytes only";
}

TEST_F(MAPIItemPropertyTest, ReadsPassTheStringFlagsOfTheItemsOwnStoreToGetProps)
{
    m_item.GetPropertyLong(PR_IMPORTANCE, 0);
    // The process meets an ANSI-only store: an item of a Unicode store keeps asking for UTF-16.
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    m_item.GetPropertyLong(PR_IMPORTANCE, 0);
    const std::vector<mapisvc::CallRecord> reads = CallsOf("IMessage", "GetProps");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].flags, MAPI_UNICODE);
    EXPECT_EQ(reads[1].flags, MAPI_UNICODE);
}

TEST_F(MAPIItemPropertyTest, MissingPropertiesGiveTheDefaultsAndLeaveOutputs)
{
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, 7), 7);
    EXPECT_EQ(m_item.GetPropertyBool(PR_RESPONSE_REQUESTED, 3), 3);
    EXPECT_EQ(m_item.GetPropertyDouble(PR_TEST_DOUBLE, -1.5), -1.5);
    CString strValue = _T("previous");
    EXPECT_FALSE(m_item.GetPropertyString(PR_BODY_W, strValue));
    EXPECT_TRUE(strValue.IsEmpty());
    SYSTEMTIME tm = MakeSystemTime(2001, 2, 3, 4, 5);
    EXPECT_FALSE(m_item.GetPropertyTime(PR_CLIENT_SUBMIT_TIME, tm));
    EXPECT_EQ(tm.wYear, 2001);
    EXPECT_EQ(tm.wMinute, 5);
    CMAPIByteStream stream;
    EXPECT_FALSE(m_item.GetPropertyBinary(PR_TEST_BINARY, stream));
    EXPECT_EQ(stream.GetBuffer(), nullptr);
}

TEST_F(MAPIItemPropertyTest, TimesReadAsMachineLocalTimeOrAsStored)
{
    ScopedTz tz("Europe/Berlin");
    ASSERT_TRUE(m_item.SetPropertyTime(PR_CLIENT_SUBMIT_TIME, MakeSystemTime(2024, 7, 1, 10, 0)));
    ASSERT_TRUE(m_item.SetPropertyTime(PR_MESSAGE_DELIVERY_TIME, MakeSystemTime(2024, 1, 15, 23, 30)));
    SYSTEMTIME tm = {};
    ASSERT_TRUE(m_item.GetPropertyTime(PR_CLIENT_SUBMIT_TIME, tm));
    EXPECT_EQ(tm.wHour, 12) << "summer: UTC+2";
    ASSERT_TRUE(m_item.GetPropertyTime(PR_MESSAGE_DELIVERY_TIME, tm));
    EXPECT_EQ(tm.wDay, 16) << "winter: UTC+1 crosses midnight";
    EXPECT_EQ(tm.wHour, 0);
    EXPECT_EQ(tm.wDayOfWeek, 2);
    ASSERT_TRUE(m_item.GetPropertyTime(PR_MESSAGE_DELIVERY_TIME, tm, MAPIPIM_SET_NONE, FALSE));
    EXPECT_EQ(tm.wDay, 15);
    EXPECT_EQ(tm.wHour, 23);
}

TEST_F(MAPIItemPropertyTest, TimeThatNamesNoDayIsNotWritten)
{
    const SYSTEMTIME empty = {};
    EXPECT_FALSE(m_item.SetPropertyTime(PR_CLIENT_SUBMIT_TIME, empty));
    EXPECT_TRUE(CallsOf("IMessage", "SetProps").empty());
}

TEST_F(MAPIItemPropertyTest, StringsAreWrittenAsGivenAndEmptyTextStaysAProperty)
{
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("")));
    EXPECT_EQ(CallsOf("IMessage", "SetProps").at(0).propTags, std::vector<ULONG>{PR_SUBJECT_W});
    CString strValue = _T("previous");
    EXPECT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strValue));
    EXPECT_TRUE(strValue.IsEmpty());
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, nullptr));
    EXPECT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strValue)) << "null is written as empty text";
}

TEST_F(MAPIItemPropertyTest, AStringReadIntoATextThatHoldsOneReplacesItWhole)
{
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("short")));
    CString strValue = _T("a much longer text that was there before");
    const int nLongerLength = strValue.GetLength();
    ASSERT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strValue));
    EXPECT_EQ(strValue, CString(_T("short")));
    EXPECT_EQ(strValue.GetLength(), 5);

    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("a text longer than the one the string holds now")));
    ASSERT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strValue));
    EXPECT_EQ(strValue, CString(_T("a text longer than the one the string holds now")));
    EXPECT_GT(strValue.GetLength(), nLongerLength);
}

TEST_F(MAPIItemPropertyTest, FailingCallsFailTheOperation)
{
    {
        ScopedFault fault("IMessage", "SetProps");
        EXPECT_FALSE(m_item.SetPropertyLong(PR_IMPORTANCE, 1));
        EXPECT_FALSE(m_item.SetPropertyString(PR_SUBJECT_W, _T("x")));
    }
    ASSERT_TRUE(m_item.SetPropertyLong(PR_IMPORTANCE, 1));
    ScopedFault fault("IMessage", "GetProps");
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, 9), 9);
    CString strValue = _T("previous");
    EXPECT_FALSE(m_item.GetPropertyString(PR_SUBJECT_W, strValue));
    EXPECT_TRUE(strValue.IsEmpty());
}

TEST_F(MAPIItemPropertyTest, ClosedItemFailsEveryAccess)
{
    m_item.Close();
    mapisvc::ClearCallLog();
    EXPECT_FALSE(m_item.SetPropertyLong(PR_IMPORTANCE, 1));
    EXPECT_FALSE(m_item.SetPropertyString(PR_SUBJECT_W, _T("x")));
    EXPECT_FALSE(m_item.SetPropertyLong(0x8B04, 1, MAPIPIM_SET_NOTE));
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, 4), 4);
    EXPECT_EQ(m_item.GetPropertyLong(0x8B04, 4, MAPIPIM_SET_NOTE), 4);
    EXPECT_FALSE(m_item.RemoveProperty(PR_IMPORTANCE));
    EXPECT_TRUE(mapisvc::GetCallLog().empty());
}

TEST_F(MAPIItemPropertyTest, CancelFlagOneStopsEveryAccessBeforeMAPI)
{
    ASSERT_TRUE(m_item.SetPropertyLong(PR_IMPORTANCE, 2));
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Kept")));
    mapisvc::ClearCallLog();
    CMAPIInterface::SetCancel(1);

    CString strValue = _T("previous");
    EXPECT_FALSE(m_item.GetPropertyString(PR_SUBJECT_W, strValue));
    EXPECT_TRUE(strValue.IsEmpty());
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, 5), 5);
    EXPECT_EQ(m_item.GetPropertyBool(PR_RESPONSE_REQUESTED, 6), 6);
    EXPECT_EQ(m_item.GetPropertyDouble(PR_TEST_DOUBLE, 7.5), 7.5);
    SYSTEMTIME tm = MakeSystemTime(2001, 1, 1, 0, 0);
    EXPECT_FALSE(m_item.GetPropertyTime(PR_CLIENT_SUBMIT_TIME, tm));
    EXPECT_EQ(tm.wYear, 2001);
    CMAPIByteStream stream;
    EXPECT_FALSE(m_item.GetPropertyBinary(PR_TEST_BINARY, stream));
    EXPECT_EQ(m_item.GetPropertyLong(0x8B04, 5, MAPIPIM_SET_NOTE), 5);

    EXPECT_FALSE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Lost")));
    EXPECT_FALSE(m_item.SetPropertyLong(PR_IMPORTANCE, 1));
    EXPECT_FALSE(m_item.SetPropertyBool(PR_RESPONSE_REQUESTED, 1));
    EXPECT_FALSE(m_item.SetPropertyDouble(PR_TEST_DOUBLE, 1.0));
    EXPECT_FALSE(m_item.SetPropertyTime(PR_CLIENT_SUBMIT_TIME, MakeSystemTime(2024, 1, 1, 0, 0)));
    EXPECT_FALSE(m_item.SetPropertyBinary(PR_TEST_BINARY, stream));
    EXPECT_FALSE(m_item.SetPropertyLong(0x8B04, 1, MAPIPIM_SET_NOTE));
    EXPECT_FALSE(m_item.RemoveProperty(PR_IMPORTANCE));
    EXPECT_FALSE(m_item.RemoveProperty(0x8B04, MAPIPIM_SET_NOTE));
    LPSPropTagArray pTags = nullptr;
    ULONG ulType = 0;
    EXPECT_EQ(m_item.GetNamedPropTag(MAPIPIM_SET_NOTE, 0x8B04, pTags, ulType, TRUE), MAPI_E_USER_CANCEL);
    EXPECT_EQ(pTags, nullptr);
    EXPECT_FALSE(m_item.GetNamedStringPropTag(_T("Keywords"), pTags, ulType, TRUE));
    LPSPropValue pValue = nullptr;
    EXPECT_FALSE(m_item.GetNamedStringProperty(_T("Keywords"), pValue));
    EXPECT_FALSE(m_item.RemoveNamedStringProperty(_T("Keywords")));

    EXPECT_TRUE(mapisvc::GetCallLog().empty()) << "no MAPI call while the flag is 1";
}

TEST_F(MAPIItemPropertyTest, CancelFlagOtherThanOneLetsAccessProceed)
{
    for (int nFlag : {0, 2})
    {
        CMAPIInterface::SetCancel(nFlag);
        EXPECT_TRUE(m_item.SetPropertyLong(PR_IMPORTANCE, nFlag + 1)) << nFlag;
        EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, -1), nFlag + 1) << nFlag;
        EXPECT_TRUE(m_item.SetPropertyLong(0x8B04, nFlag + 1, MAPIPIM_SET_NOTE)) << nFlag;
    }
}

namespace
{
// An item test whose message lives in an ANSI-only store added to the default profile, opened through the session
// object, which switches the process to ANSI-only mode as it meets the store.
class AnsiOnlyStoreTest : public MAPIItemPropertyTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        mapisvc::StoreOptions options;
        options.displayName = u"Archive (ANSI)";
        options.unicode = false;
        ASSERT_EQ(mapisvc::AddStore(u"Outlook", options, &m_ansiStoreID), S_OK);
        ASSERT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 0);
        SBinary storeID = {static_cast<ULONG>(m_ansiStoreID.size()), m_ansiStoreID.data()};
        ASSERT_TRUE(m_mapi.OpenMessageStore(storeID, MAPI_BEST_ACCESS | MDB_NO_DIALOG));
        ASSERT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 1);
        ASSERT_EQ(CMAPIEx::m_nMAPICode, 0);
        UseStore(m_mapi.GetMessageStore());
        ASSERT_TRUE(m_item.Create(&m_mapi, m_pInbox));
        mapisvc::ClearCallLog();
    }
    void TearDown() override
    {
        m_item.Close();
        delete m_pInbox;
        m_pInbox = nullptr;
        ItemTest::TearDown();
    }

    // The value as the store keeps it, read without MAPI_UNICODE.
    std::string StoredAnsi(ULONG ulPropTag)
    {
        SizedSPropTagArray(1, tags) = {1, {ulPropTag}};
        MapiBuffer<SPropValue> value;
        ULONG cValues = 0;
        IMAPIProp* pObject = m_item.Object();
        if (pObject->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &cValues, value.Out()) != S_OK)
            return "(missing)";
        return value->Value.lpszA;
    }

    mapisvc::EntryId m_ansiStoreID;
};
} // namespace

TEST_F(AnsiOnlyStoreTest, StringsAreWrittenAndReadInTheirEightBitForm)
{
    ASSERT_TRUE(m_item.SetPropertyString(PR_SUBJECT_W, _T("Caf\u00E9 \u20AC")));
    EXPECT_EQ(CallsOf("IMessage", "SetProps").at(0).propTags, std::vector<ULONG>{0x0037001Eu});
    EXPECT_EQ(StoredAnsi(PR_SUBJECT_A), "Caf\xE9 \x80");

    mapisvc::ClearCallLog();
    CString strSubject;
    ASSERT_TRUE(m_item.GetPropertyString(0x0037001F, strSubject));
    EXPECT_EQ(strSubject, CString(_T("Caf\u00E9 \u20AC")));
    const mapisvc::CallRecord read = CallsOf("IMessage", "GetProps").at(0);
    EXPECT_EQ(read.propTags, std::vector<ULONG>{0x0037001Eu});
    EXPECT_EQ(read.flags, 0u);
}

TEST_F(AnsiOnlyStoreTest, NamedStringsAreWrittenAsEightBitText)
{
    ASSERT_TRUE(m_item.SetPropertyString(0x8083, _T("Stra\u00DFe"), MAPIPIM_SET_ADDRESS));
    const mapisvc::CallRecord write = CallsOf("IMessage", "SetProps").at(0);
    ASSERT_EQ(write.propTags.size(), 1u);
    EXPECT_EQ(PROP_TYPE(write.propTags[0]), static_cast<ULONG>(PT_STRING8));
    EXPECT_EQ(StoredAnsi(write.propTags[0]), "Stra\xDF"
                                             "e");
    CString strValue;
    ASSERT_TRUE(m_item.GetPropertyString(0x8083, strValue, MAPIPIM_SET_ADDRESS));
    EXPECT_EQ(strValue, CString(_T("Stra\u00DFe")));
}

TEST_F(AnsiOnlyStoreTest, ModeStaysButAUnicodeStoreOpenedLaterKeepsItsStrings)
{
    // Back in the Unicode default store the process stays in ANSI-only mode, yet the store's own items exchange
    // their strings as UTF-16, so that nothing outside the code page is lost.
    m_item.Close();
    ASSERT_TRUE(m_mapi.OpenMessageStore(NULL, MAPI_BEST_ACCESS | MDB_NO_DIALOG));
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 1);
    EXPECT_EQ(CMAPIEx::m_nMAPICode, 0);
    ASSERT_TRUE(OpenMessage());
    mapisvc::ClearCallLog();
    CString strSubject;
    ASSERT_TRUE(m_item.GetPropertyString(PR_SUBJECT_W, strSubject));
    EXPECT_EQ(strSubject, CString(_T("Stored subject")));
    EXPECT_EQ(CallsOf("IMessage", "GetProps").at(0).propTags, std::vector<ULONG>{PR_SUBJECT_W});
}
