// Categories: the multi-valued "Keywords" in PS_PUBLIC_STRINGS, carried as one text joined by ",;".
#include "support/ScopedEnvironment.h"
#include "support/AfxPrinters.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

namespace
{
typedef std::vector<std::u16string> Values;

class CategoriesTest : public OpenItemTest
{
protected:
    void SetUp() override
    {
        OpenItemTest::SetUp();
        OpenNewItem();
    }

    // The tag of "Keywords" on the message, mapped when asked to.
    static ULONG KeywordsTag(IMessage* message, ULONG ulFlags)
    {
        MAPINAMEID name = {};
        name.lpguid = const_cast<LPGUID>(&PS_PUBLIC_STRINGS);
        name.ulKind = MNID_STRING;
        name.Kind.lpwstrName = const_cast<LPWSTR>(u"Keywords");
        LPMAPINAMEID pName = &name;
        MapiBuffer<SPropTagArray> tags;
        if (message->GetIDsFromNames(1, &pName, ulFlags, tags.Out()) != S_OK)
            return PR_NULL;
        return tags->aulPropTag[0];
    }

    // The stored values of "Keywords", read through MAPI after the item was saved; null when there are none.
    std::unique_ptr<std::vector<std::u16string>> StoredCategories()
    {
        EXPECT_TRUE(m_item.Save(FALSE));
        Ref<IMessage> message = OpenMessage(Session(), m_id);
        const ULONG ulTag = KeywordsTag(message.Get(), 0);
        if (ulTag == PR_NULL)
            return nullptr;
        SizedSPropTagArray(1, tags) = {1, {CHANGE_PROP_TYPE(ulTag, PT_MV_UNICODE)}};
        MapiBuffer<SPropValue> value;
        ULONG cValues = 0;
        if (message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), MAPI_UNICODE, &cValues, value.Out()) != S_OK)
            return nullptr;
        auto values = std::make_unique<std::vector<std::u16string>>();
        for (ULONG i = 0; i < value->Value.MVszW.cValues; ++i)
            values->push_back(value->Value.MVszW.lppszW[i]);
        return values;
    }

    // Writes "Keywords" through MAPI, as another program would.
    void StoreCategories(std::vector<const char16_t*> values)
    {
        Ref<IMessage> message = OpenMessage(Session(), m_id);
        SPropValue value = {};
        value.ulPropTag = CHANGE_PROP_TYPE(KeywordsTag(message.Get(), MAPI_CREATE), PT_MV_UNICODE);
        value.Value.MVszW.cValues = static_cast<ULONG>(values.size());
        value.Value.MVszW.lppszW = reinterpret_cast<LPWSTR*>(const_cast<char16_t**>(values.data()));
        ASSERT_EQ(SetOne(message.Get(), value), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
        ASSERT_TRUE(OpenItem(m_item, m_id));
    }

    // Writes the text, then finds these values stored and reads this text back.
    void ExpectStoredAndRead(LPCWSTR szText, const Values& stored, LPCWSTR szRead)
    {
        ASSERT_TRUE(m_item.SetCategories(szText));
        auto pStored = StoredCategories();
        ASSERT_TRUE(pStored) << CString(szText).ToUtf8();
        EXPECT_EQ(stored, *pStored) << CString(szText).ToUtf8();
        CString strText(_T("old"));
        EXPECT_TRUE(m_item.GetCategories(strText));
        EXPECT_EQ(CString(szRead), strText);
    }
};

TEST_F(CategoriesTest, EverySeparatorWritesTheSameList)
{
    for (LPCWSTR szText : {_T("Work,;Home"), _T("Work;Home"), _T("Work,Home"), _T(";Work,;;Home,"), _T("Work;;Home")})
        ASSERT_NO_FATAL_FAILURE(ExpectStoredAndRead(szText, {u"Work", u"Home"}, _T("Work,;Home")));
}

TEST_F(CategoriesTest, BlanksAreKept)
{
    ExpectStoredAndRead(_T("Work, Home"), {u"Work", u" Home"}, _T("Work,; Home"));
}

TEST_F(CategoriesTest, OnlySeparatorsWriteAnEmptyList)
{
    for (LPCWSTR szText : {_T(",;"), _T(";"), _T(",,;;")})
        ASSERT_NO_FATAL_FAILURE(ExpectStoredAndRead(szText, {}, _T("")));
}

TEST_F(CategoriesTest, EmptyTextRemovesTheCategories)
{
    ASSERT_TRUE(m_item.SetCategories(_T("Work")));
    ASSERT_TRUE(m_item.Save(FALSE));
    EXPECT_TRUE(m_item.SetCategories(_T("")));
    EXPECT_FALSE(StoredCategories());
}

TEST_F(CategoriesTest, RemovingFromAStoreThatNeverWroteThemSucceeds)
{
    EXPECT_TRUE(m_item.SetCategories(_T("")));
    CString strText(_T("unchanged"));
    EXPECT_FALSE(m_item.GetCategories(strText));
}

TEST_F(CategoriesTest, MissingCategoriesLeaveTheTextAlone)
{
    CString strText(_T("unchanged"));
    EXPECT_FALSE(m_item.GetCategories(strText));
    EXPECT_EQ(CString(_T("unchanged")), strText);
}

TEST_F(CategoriesTest, EmptyStoredValuesAreSkipped)
{
    StoreCategories({u"", u"Red", u"", u"Blue", u""});
    CString strText;
    EXPECT_TRUE(m_item.GetCategories(strText));
    EXPECT_EQ(CString(_T("Red,;Blue")), strText);
}

TEST_F(CategoriesTest, CategoriesOfAnotherTypeAreNotRead)
{
    Ref<IMessage> message = OpenMessage(Session(), m_id);
    const ULONG ulTag = CHANGE_PROP_TYPE(KeywordsTag(message.Get(), MAPI_CREATE), PT_LONG);
    ASSERT_EQ(SetOne(message.Get(), LongValue(ulTag, 7)), S_OK);
    ASSERT_EQ(message->SaveChanges(0), S_OK);
    ASSERT_TRUE(OpenItem(m_item, m_id));
    CString strText(_T("unchanged"));
    EXPECT_FALSE(m_item.GetCategories(strText));
    EXPECT_EQ(CString(_T("unchanged")), strText);
}

TEST_F(CategoriesTest, CancelledOrNullFails)
{
    EXPECT_FALSE(m_item.SetCategories(nullptr));
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(m_item.SetCategories(_T("Work")));
    CString strText(_T("unchanged"));
    EXPECT_FALSE(m_item.GetCategories(strText));
    CMAPIInterface::SetCancel(0);
    EXPECT_FALSE(StoredCategories());
}

TEST_F(CategoriesTest, FailedWriteIsReported)
{
    mapisvc::Fault fault;
    fault.method = "SetProps";
    mapisvc::InjectFault(fault);
    EXPECT_FALSE(m_item.SetCategories(_T("Work;Home")));
}

TEST_F(CategoriesTest, AnsiOnlyStoreTakesEightBitCategories)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    OpenNewAnsiOnlyItem();
    ExpectStoredAndRead(_T("Caf\u00E9;\u00DCbung"), {u"Caf\u00E9", u"\u00DCbung"}, _T("Caf\u00E9,;\u00DCbung"));
}
} // namespace
