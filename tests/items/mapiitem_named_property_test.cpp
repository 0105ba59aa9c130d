// CMAPIItem: named properties by set index and id, string-named properties, and removal. Every test runs on the
// fresh default store of a new profile, which has mapped only the well-known names of the standard sets; the
// tests use names outside them where a name must be unmapped.
#include <mapipim/MAPIByteStream.h>

#include "ItemTestFixture.h"
#include "support/TimeBuilders.h"

namespace
{
const GUID PSETID_NoteSet = {0x0006200E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID PSETID_AddressSet = {0x00062004, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class MAPIItemNamedPropertyTest : public ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        ASSERT_TRUE(OpenMessage());
        mapisvc::ClearCallLog();
    }

    // The id the store maps {set, id} to, asked without creating; 0 when it has not mapped the name.
    ULONG MappedId(const GUID& set, LONG lID)
    {
        MAPINAMEID name = {};
        name.lpguid = const_cast<LPGUID>(&set);
        name.ulKind = MNID_ID;
        name.Kind.lID = lID;
        LPMAPINAMEID pName = &name;
        MapiBuffer<SPropTagArray> tags;
        const HRESULT hr = m_item.Object()->GetIDsFromNames(1, &pName, 0, tags.Out());
        if (hr != S_OK || !tags.Get() || PROP_TYPE(tags->aulPropTag[0]) == PT_ERROR)
            return 0;
        return PROP_ID(tags->aulPropTag[0]);
    }
};

SYSTEMTIME Noon(WORD wDay)
{
    return MakeSystemTime(2025, 3, wDay, 12);
}
} // namespace

TEST_F(MAPIItemNamedPropertyTest, NamedWriteOfSetNineResolvesPsetidNoteAndWritesPtLong)
{
    ASSERT_TRUE(m_item.SetPropertyLong(0x8B04, 3, MAPIPIM_SET_NOTE));

    const std::vector<mapisvc::CallRecord> resolutions = CallsOf("IMessage", "GetIDsFromNames");
    ASSERT_EQ(resolutions.size(), 1u);
    ASSERT_EQ(resolutions[0].names.size(), 1u);
    EXPECT_TRUE(resolutions[0].names[0].propertySet == PSETID_NoteSet);
    EXPECT_EQ(resolutions[0].names[0].kind, static_cast<ULONG>(MNID_ID));
    EXPECT_EQ(resolutions[0].names[0].id, 0x8B04);
    EXPECT_EQ(resolutions[0].flags, static_cast<ULONG>(MAPI_CREATE));

    const ULONG ulId = MappedId(PSETID_NoteSet, 0x8B04);
    ASSERT_GE(ulId, 0x8000u);
    EXPECT_EQ(CallsOf("IMessage", "SetProps").at(0).propTags, std::vector<ULONG>{PROP_TAG(PT_LONG, ulId)});
    EXPECT_EQ(m_item.GetPropertyLong(0x8B04, -1, MAPIPIM_SET_NOTE), 3);
}

TEST_F(MAPIItemNamedPropertyTest, EveryTypedSetterMapsAnUnmappedNameOnAFreshStore)
{
    ASSERT_EQ(MappedId(PSETID_AddressSet, 0x80F3), 0u) << "the store is fresh";
    ASSERT_TRUE(m_item.SetPropertyString(0x80F3, _T("anna@example.org"), MAPIPIM_SET_ADDRESS));
    ASSERT_TRUE(m_item.SetPropertyTime(0x82F0, Noon(4), MAPIPIM_SET_APPOINTMENT));
    ASSERT_TRUE(m_item.SetPropertyBool(0x85F3, 1, MAPIPIM_SET_COMMON));
    ASSERT_TRUE(m_item.SetPropertyLong(0x85F1, 15, MAPIPIM_SET_COMMON));
    ASSERT_TRUE(m_item.SetPropertyDouble(0x81F2, 0.5, MAPIPIM_SET_TASK));
    BYTE buffer[4] = {};
    CMAPIByteStream writer;
    writer.Init(sizeof buffer, buffer);
    writer.WriteDWord(0xCAFEF00D);
    ASSERT_TRUE(m_item.SetPropertyBinary(0x82F6, writer, MAPIPIM_SET_APPOINTMENT));
    ASSERT_TRUE(m_item.Save(TRUE));

    ASSERT_TRUE(OpenMessage());
    CString strEmail;
    EXPECT_TRUE(m_item.GetPropertyString(0x80F3, strEmail, MAPIPIM_SET_ADDRESS));
    EXPECT_EQ(strEmail, CString(_T("anna@example.org")));
    SYSTEMTIME tm = {};
    EXPECT_TRUE(m_item.GetPropertyTime(0x82F0, tm, MAPIPIM_SET_APPOINTMENT, FALSE));
    EXPECT_EQ(tm.wDay, 4);
    EXPECT_EQ(tm.wHour, 12);
    EXPECT_EQ(m_item.GetPropertyBool(0x85F3, 0, MAPIPIM_SET_COMMON), 1);
    EXPECT_EQ(m_item.GetPropertyLong(0x85F1, 0, MAPIPIM_SET_COMMON), 15);
    EXPECT_EQ(m_item.GetPropertyDouble(0x81F2, 0.0, MAPIPIM_SET_TASK), 0.5);
    CMAPIByteStream reader;
    ASSERT_TRUE(m_item.GetPropertyBinary(0x82F6, reader, MAPIPIM_SET_APPOINTMENT));
    DWORD dwValue = 0;
    reader.ReadDWord(&dwValue);
    EXPECT_EQ(dwValue, 0xCAFEF00Du);
}

TEST_F(MAPIItemNamedPropertyTest, ReadingAnUnmappedNameFailsAndRemovingItSucceedsWithoutMappingIt)
{
    EXPECT_EQ(m_item.GetPropertyLong(0x8B7F, 42, MAPIPIM_SET_NOTE), 42);
    CString strValue = _T("previous");
    EXPECT_FALSE(m_item.GetPropertyString(0x8B7F, strValue, MAPIPIM_SET_NOTE));
    EXPECT_TRUE(strValue.IsEmpty());
    // No property of an unmapped name can exist: there is nothing to remove.
    EXPECT_TRUE(m_item.RemoveProperty(0x8B7F, MAPIPIM_SET_NOTE));
    EXPECT_TRUE(CallsOf("IMessage", "DeleteProps").empty());
    for (const mapisvc::CallRecord& call : CallsOf("IMessage", "GetIDsFromNames"))
        EXPECT_EQ(call.flags, 0u);
    EXPECT_EQ(MappedId(PSETID_NoteSet, 0x8B7F), 0u);
}

TEST_F(MAPIItemNamedPropertyTest, NamedValueOfAnotherTypeReadsAsAbsent)
{
    ASSERT_TRUE(m_item.SetPropertyLong(0x8B7F, 3, MAPIPIM_SET_NOTE));
    CString strValue = _T("previous");
    EXPECT_FALSE(m_item.GetPropertyString(0x8B7F, strValue, MAPIPIM_SET_NOTE));
    EXPECT_TRUE(strValue.IsEmpty());
    CMAPIByteStream stream;
    EXPECT_FALSE(m_item.GetPropertyBinary(0x8B7F, stream, MAPIPIM_SET_NOTE));
    EXPECT_EQ(m_item.GetPropertyDouble(0x8B7F, 2.5, MAPIPIM_SET_NOTE), 2.5);
}

TEST_F(MAPIItemNamedPropertyTest, FailedResolutionFailsTheWrite)
{
    mapisvc::Fault fault;
    fault.interfaceName = "IMessage";
    fault.method = "GetIDsFromNames";
    ScopedFault guard(fault);
    EXPECT_FALSE(m_item.SetPropertyLong(0x8B7F, 3, MAPIPIM_SET_NOTE));
    EXPECT_TRUE(CallsOf("IMessage", "SetProps").empty());
}

TEST_F(MAPIItemNamedPropertyTest, GetNamedPropTagReportsItsResolution)
{
    LPSPropTagArray pTags = nullptr;
    ULONG ulType = 0;
    EXPECT_EQ(m_item.GetNamedPropTag(MAPIPIM_SET_NOTE, 0x8B7F, pTags, ulType, FALSE), MAPI_W_ERRORS_RETURNED);
    EXPECT_EQ(pTags, nullptr) << "a failed resolution hands back nothing to free";

    ASSERT_EQ(m_item.GetNamedPropTag(MAPIPIM_SET_NOTE, 0x8B7F, pTags, ulType, TRUE), S_OK);
    ASSERT_NE(pTags, nullptr);
    EXPECT_EQ(pTags->cValues, 1u);
    EXPECT_EQ(PROP_TYPE(pTags->aulPropTag[0]), static_cast<ULONG>(PT_UNSPECIFIED));
    EXPECT_EQ(ulType, static_cast<ULONG>(PT_UNICODE)) << "whatever the property is";
    MAPIFreeBuffer(pTags);

    EXPECT_EQ(m_item.GetNamedPropTag(10, 0x8B7F, pTags, ulType, TRUE), E_INVALIDARG);
    EXPECT_EQ(m_item.GetNamedPropTag(MAPIPIM_SET_NONE, 0x8B7F, pTags, ulType, TRUE), E_INVALIDARG);
    m_item.Close();
    EXPECT_EQ(m_item.GetNamedPropTag(MAPIPIM_SET_NOTE, 0x8B7F, pTags, ulType, TRUE), E_INVALIDARG);
}

TEST_F(MAPIItemNamedPropertyTest, GetNamedPropertyReturnsTheStoredType)
{
    ASSERT_TRUE(m_item.SetPropertyDouble(0x8102, 0.75, MAPIPIM_SET_TASK));
    LPSPropValue pValue = nullptr;
    ASSERT_EQ(m_item.GetNamedProperty(MAPIPIM_SET_TASK, 0x8102, pValue), S_OK);
    EXPECT_EQ(PROP_TYPE(pValue->ulPropTag), static_cast<ULONG>(PT_DOUBLE));
    EXPECT_EQ(pValue->Value.dbl, 0.75);
    MAPIFreeBuffer(pValue);
    EXPECT_EQ(CallsOf("IMessage", "GetProps").back().flags, MAPI_UNICODE);
}

TEST_F(MAPIItemNamedPropertyTest, RemovePropertyOrdinaryAndNamed)
{
    ASSERT_TRUE(m_item.SetPropertyLong(PR_IMPORTANCE, 2));
    ASSERT_TRUE(m_item.SetPropertyLong(0x8B7F, 3, MAPIPIM_SET_NOTE));
    mapisvc::ClearCallLog();
    EXPECT_TRUE(m_item.RemoveProperty(PR_IMPORTANCE));
    EXPECT_EQ(CallsOf("IMessage", "DeleteProps").at(0).propTags, std::vector<ULONG>{PR_IMPORTANCE});
    EXPECT_TRUE(m_item.RemoveProperty(0x8B7F, MAPIPIM_SET_NOTE));
    EXPECT_TRUE(CallsOf("IMessage", "GetIDsFromNames").empty()) << "the name is known from the write";
    EXPECT_EQ(CallsOf("IMessage", "DeleteProps").size(), 2u);
    EXPECT_EQ(m_item.GetPropertyLong(PR_IMPORTANCE, -1), -1);
    EXPECT_EQ(m_item.GetPropertyLong(0x8B7F, -1, MAPIPIM_SET_NOTE), -1);

    ScopedFault fault("IMessage", "DeleteProps");
    EXPECT_FALSE(m_item.RemoveProperty(PR_SUBJECT_W));
}

TEST_F(MAPIItemNamedPropertyTest, StringNamedMultiValuesAreCreatedOnlyWhenAsked)
{
    LPWSTR values[] = {const_cast<LPWSTR>(_T("Red")), const_cast<LPWSTR>(_T("Blue"))};
    LPSPropValue pWritten = nullptr;
    EXPECT_FALSE(m_item.SetNamedStringPropertyMV(_T("Labels"), values, 2, pWritten, FALSE));
    EXPECT_EQ(pWritten, nullptr);

    ASSERT_TRUE(m_item.SetNamedStringPropertyMV(_T("Labels"), values, 2, pWritten, TRUE));
    ASSERT_NE(pWritten, nullptr);
    EXPECT_EQ(PROP_TYPE(pWritten->ulPropTag), static_cast<ULONG>(PT_MV_UNICODE));
    EXPECT_EQ(pWritten->Value.MVszW.cValues, 2u);
    MAPIFreeBuffer(pWritten);
    const mapisvc::CallRecord resolution = CallsOf("IMessage", "GetIDsFromNames").back();
    EXPECT_EQ(resolution.flags, static_cast<ULONG>(MAPI_CREATE));
    EXPECT_EQ(resolution.names.at(0).kind, static_cast<ULONG>(MNID_STRING));
    EXPECT_EQ(resolution.names.at(0).name, u"Labels");

    LPSPropValue pRead = nullptr;
    ASSERT_TRUE(m_item.GetNamedStringProperty(_T("Labels"), pRead));
    ASSERT_EQ(pRead->Value.MVszW.cValues, 2u);
    CString strValue;
    CMAPIEx::GetValidMVString(*pRead, strValue, 1);
    EXPECT_EQ(strValue, CString(_T("Blue")));
    MAPIFreeBuffer(pRead);

    EXPECT_TRUE(m_item.RemoveNamedStringProperty(_T("Labels")));
    EXPECT_FALSE(m_item.GetNamedStringProperty(_T("Labels"), pRead));
    EXPECT_EQ(pRead, nullptr);
}

TEST_F(MAPIItemNamedPropertyTest, StringNamedWriteFailuresFreeWhatTheyAllocated)
{
    LPWSTR values[] = {const_cast<LPWSTR>(_T("Red"))};
    LPSPropValue pWritten = nullptr;
    {
        ScopedFault fault("IMessage", "SetProps");
        EXPECT_FALSE(m_item.SetNamedStringPropertyMV(_T("Keywords"), values, 1, pWritten, TRUE));
        EXPECT_EQ(pWritten, nullptr);
    }
    EXPECT_FALSE(m_item.SetNamedStringPropertyMV(_T("Keywords"), nullptr, 1, pWritten, TRUE));
    EXPECT_FALSE(m_item.SetNamedStringPropertyMV(_T("Keywords"), values, -1, pWritten, TRUE));
    EXPECT_TRUE(m_item.RemoveNamedStringProperty(_T("Never mapped"))) << "no such property exists";
    EXPECT_FALSE(m_item.RemoveNamedStringProperty(nullptr));
    LPSPropTagArray pTags = nullptr;
    ULONG ulType = 0;
    EXPECT_FALSE(m_item.GetNamedStringPropTag(nullptr, pTags, ulType, TRUE));
}

TEST_F(MAPIItemNamedPropertyTest, StringNamedMultiValuesAreEightBitOnAnAnsiOnlyStore)
{
    mapisvc::StoreOptions options;
    options.displayName = u"Archive (ANSI)";
    options.unicode = false;
    mapisvc::EntryId ansiStore;
    ASSERT_EQ(mapisvc::AddStore(u"Outlook", options, &ansiStore), S_OK);
    SBinary storeID = AsSBinary(ansiStore);
    ASSERT_TRUE(m_mapi.OpenMessageStore(storeID, MAPI_BEST_ACCESS | MDB_NO_DIALOG));
    UseStore(m_mapi.GetMessageStore());
    ASSERT_TRUE(m_item.Create(&m_mapi, m_pInbox));
    char szFirst[] = "Gr\xFCn";
    LPWSTR values[] = {reinterpret_cast<LPWSTR>(szFirst)};
    LPSPropValue pWritten = nullptr;
    ASSERT_TRUE(m_item.SetNamedStringPropertyMV(_T("Keywords"), values, 1, pWritten, TRUE));
    EXPECT_EQ(PROP_TYPE(pWritten->ulPropTag), static_cast<ULONG>(PT_MV_STRING8));
    MAPIFreeBuffer(pWritten);
    LPSPropValue pRead = nullptr;
    ASSERT_TRUE(m_item.GetNamedStringProperty(_T("Keywords"), pRead));
    CString strValue;
    CMAPIEx::GetValidMVString(*pRead, strValue, 0);
    EXPECT_EQ(strValue, CString(_T("Gr\u00FCn")));
    MAPIFreeBuffer(pRead);
}
