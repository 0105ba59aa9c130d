// Property access on messages: the results GetProps gives, string widths, SetProps and DeleteProps problems.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <cstring>

namespace
{
class PropertyTest : public DefaultStoreTest
{
};

TEST_F(PropertyTest, GetPropsIsOkOnlyWhenEveryPropertyWasFound)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"Hello")), S_OK);

    SizedSPropTagArray(2, both) = {2, {PR_SUBJECT_W, PR_MESSAGE_FLAGS}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    EXPECT_EQ(message->GetProps(reinterpret_cast<LPSPropTagArray>(&both), MAPI_UNICODE, &count, values.Out()), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(std::u16string(values->Value.lpszW), u"Hello");

    SizedSPropTagArray(2, partly) = {2, {PR_SUBJECT_W, PR_BODY_W}};
    EXPECT_EQ(message->GetProps(reinterpret_cast<LPSPropTagArray>(&partly), MAPI_UNICODE, &count, values.Out()),
              MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(values.Get()[0].ulPropTag, PR_SUBJECT_W);
    EXPECT_EQ(values.Get()[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_BODY_W)));
    EXPECT_EQ(values.Get()[1].Value.err, MAPI_E_NOT_FOUND);
}

TEST_F(PropertyTest, StringsConvertBetweenWidthsAsAsked)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"caf\u00e9")), S_OK);
    SPropValue ansi{};
    ansi.ulPropTag = PR_BODY_A;
    ansi.Value.lpszA = const_cast<char*>("na\xefve");
    ASSERT_EQ(SetOne(message.Get(), ansi), S_OK);

    EXPECT_EQ(GetString(message.Get(), PR_BODY_W), u"na\u00efve");
    SizedSPropTagArray(2, tags) = {2, {PR_SUBJECT_A, CHANGE_PROP_TYPE(PR_BODY, PT_UNSPECIFIED)}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, values.Out()), S_OK);
    EXPECT_STREQ(values.Get()[0].Value.lpszA, "caf\xe9");
    // PT_UNSPECIFIED gives strings in the width of the call: 8-bit without MAPI_UNICODE.
    EXPECT_EQ(values.Get()[1].ulPropTag, PR_BODY_A);
    ASSERT_EQ(message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), MAPI_UNICODE, &count, values.Out()), S_OK);
    EXPECT_EQ(values.Get()[1].ulPropTag, PR_BODY_W);
}

TEST_F(PropertyTest, MultiValuedStringsConvertToo)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    LPWSTR words[] = {const_cast<LPWSTR>(u"one"), const_cast<LPWSTR>(u"tw\u00f6")};
    SPropValue mv{};
    mv.ulPropTag = PROP_TAG(PT_MV_UNICODE, 0x6700);
    mv.Value.MVszW.cValues = 2;
    mv.Value.MVszW.lppszW = words;
    ASSERT_EQ(SetOne(message.Get(), mv), S_OK);
    SPropTagArray tag = {1, {PROP_TAG(PT_MV_STRING8, 0x6700)}};
    ULONG count = 0;
    MapiBuffer<SPropValue> values;
    ASSERT_EQ(message->GetProps(&tag, 0, &count, values.Out()), S_OK);
    ASSERT_EQ(values->Value.MVszA.cValues, 2u);
    EXPECT_STREQ(values->Value.MVszA.lppszA[0], "one");
    EXPECT_STREQ(values->Value.MVszA.lppszA[1], "tw\xf6");
}

TEST_F(PropertyTest, SetPropsSkipsNullValuesAndReportsComputedOnes)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    SPropValue values[3] = {UnicodeValue(PR_SUBJECT_W, u"x"), LongValue(PR_NULL, 0), LongValue(PR_OBJECT_TYPE, 9)};
    values[1].ulPropTag = PR_NULL;
    MapiBuffer<SPropProblemArray> problems;
    ASSERT_EQ(message->SetProps(3, values, problems.Out()), S_OK);
    ASSERT_NE(problems.Get(), nullptr);
    ASSERT_EQ(problems->cProblem, 1u);
    EXPECT_EQ(problems->aProblem[0].ulIndex, 2u);
    EXPECT_EQ(problems->aProblem[0].scode, MAPI_E_COMPUTED);
    EXPECT_EQ(GetLong(message.Get(), PR_OBJECT_TYPE), static_cast<LONG>(MAPI_MESSAGE));
}

TEST_F(PropertyTest, DeletePropsRemovesAndReportsMissing)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"x")), S_OK);
    SizedSPropTagArray(2, tags) = {2, {PR_SUBJECT_W, PR_BODY_W}};
    MapiBuffer<SPropProblemArray> problems;
    ASSERT_EQ(message->DeleteProps(reinterpret_cast<LPSPropTagArray>(&tags), problems.Out()), S_OK);
    ASSERT_NE(problems.Get(), nullptr);
    EXPECT_EQ(problems->aProblem[0].ulPropTag, PR_BODY_W);
    EXPECT_EQ(problems->aProblem[0].scode, MAPI_E_NOT_FOUND);
    EXPECT_EQ(GetString(message.Get(), PR_SUBJECT_W), u"");
}
} // namespace
