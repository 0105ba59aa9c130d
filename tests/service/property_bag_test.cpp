// The stored form of an object's properties: values read back where they lie in it, whole, or from damaged
// blobs (a count the blob cannot hold, an out-of-line marker no larger than an inline value).
#include "platform/mapi/PropertyBag.h"

#include <gtest/gtest.h>

using namespace mapisvc;

namespace
{
std::string Header(uint32_t count)
{
    return std::string(reinterpret_cast<const char*>(&count), 4);
}

std::string Entry(ULONG tag, uint32_t flags, uint32_t size, const std::string& bytes = std::string())
{
    const uint32_t words[] = {tag, flags, size};
    return std::string(reinterpret_cast<const char*>(words), sizeof(words)) + bytes;
}

TEST(PropertyBagTest, ACountBeyondTheBlobReadsThePropertiesItHolds)
{
    const PropertyBag bag = PropertyBag::Parse(Header(0xFFFFFFFF) + Entry(PR_IMPORTANCE, 0, 4, std::string(4, '\1')));
    ASSERT_EQ(bag.Size(), 1u);
    EXPECT_EQ(bag.Props()[0].tag, PR_IMPORTANCE);
    EXPECT_TRUE(PropertyBag::Parse(Header(0x7FFFFFFF)).Props().empty());
}

TEST(PropertyBagTest, ASmallValueStoredOutOfLineIsWrittenBackAsAMarker)
{
    const std::string subject("a\0b\0", 4);
    const PropertyBag bag =
        PropertyBag::Parse(Header(2) + Entry(PR_SUBJECT_W, 0, 4, subject) + Entry(PR_RTF_COMPRESSED, 1, 8));
    ASSERT_EQ(bag.Size(), 2u);

    const PropertyBag again = PropertyBag::Parse(bag.Serialize());
    ASSERT_EQ(again.Size(), 2u);
    const Prop* body = again.Find(PROP_ID(PR_RTF_COMPRESSED));
    ASSERT_NE(body, nullptr);
    EXPECT_FALSE(body->loaded);
    EXPECT_EQ(body->Size(), 8u);
    const Prop* title = again.Find(PROP_ID(PR_SUBJECT_W));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->data, subject);
}
} // namespace

namespace
{
// One value of every type the store keeps, and one kept out of line.
PropertyBag EveryType()
{
    const GUID guid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    PropertyBag bag;
    bag.Set(PROP_TAG(PT_I2, 0x6601), std::string("\x07\x00", 2));
    bag.Set(PROP_TAG(PT_LONG, 0x6602), EncodeLong(-5));
    bag.Set(PROP_TAG(PT_R4, 0x6603), std::string("\x00\x00\x80\x3f", 4));
    bag.Set(PROP_TAG(PT_DOUBLE, 0x6604), EncodeInt64(0x3ff8000000000000LL));
    bag.Set(PROP_TAG(PT_CURRENCY, 0x6605), EncodeInt64(123456789));
    bag.Set(PROP_TAG(PT_APPTIME, 0x6606), EncodeInt64(0x40e5000000000000LL));
    bag.Set(PROP_TAG(PT_ERROR, 0x6607), EncodeLong(static_cast<LONG>(MAPI_E_NOT_FOUND)));
    bag.Set(PROP_TAG(PT_BOOLEAN, 0x6608), EncodeBool(true));
    bag.Set(PROP_TAG(PT_I8, 0x6609), EncodeInt64(-1));
    bag.Set(PROP_TAG(PT_SYSTIME, 0x660A), EncodeInt64(0x01D9000012345678LL));
    bag.Set(PROP_TAG(PT_CLSID, 0x660B), std::string(reinterpret_cast<const char*>(&guid), sizeof(guid)));
    bag.Set(PROP_TAG(PT_STRING8, 0x660C), "eight-bit text longer than fifteen bytes");
    bag.Set(PROP_TAG(PT_UNICODE, 0x660D), EncodeUnicode(u"wide text longer than fifteen bytes"));
    bag.Set(PROP_TAG(PT_BINARY, 0x660E), std::string("\x00\x01\x02\x00", 4));
    bag.Set(PROP_TAG(PT_MV_LONG, 0x660F), JoinMultiValue({EncodeLong(1), EncodeLong(2)}, PT_LONG));
    bag.Set(PROP_TAG(PT_MV_UNICODE, 0x6610), JoinMultiValue({EncodeUnicode(u"a"), EncodeUnicode(u"bc")}, PT_UNICODE));
    bag.Set(PROP_TAG(PT_MV_BINARY, 0x6611), JoinMultiValue({std::string(), std::string("\xff", 1)}, PT_BINARY));
    bag.Set(PROP_TAG(PT_STRING8, 0x6612), std::string());
    Prop large = MakeProp(PROP_TAG(PT_BINARY, 0x6613), std::string(kLargeValueSize + 1, 'L'));
    bag.Set(std::move(large));
    return bag;
}

// What the stored form keeps of a value: a value kept out of line comes back as its size alone.
void ExpectStoredForm(const Prop& original, const PropView& view)
{
    SCOPED_TRACE(original.tag);
    EXPECT_EQ(view.tag, original.tag);
    EXPECT_EQ(view.size, original.Size());
    if (IsLargeValue(original))
    {
        EXPECT_FALSE(view.loaded);
        EXPECT_TRUE(view.data.empty());
    }
    else
    {
        EXPECT_TRUE(view.loaded);
        EXPECT_EQ(view.data, original.data);
    }
}

TEST(PropertyBagTest, EveryTypeReadWhereItLiesIsTheValueWritten)
{
    const PropertyBag written = EveryType();
    const PropertyBag read = PropertyBag::Parse(written.Serialize());
    ASSERT_EQ(read.Size(), written.Size());
    for (const Prop& original : written.Props())
    {
        PropView view;
        ASSERT_TRUE(read.Peek(PROP_ID(original.tag), view));
        ExpectStoredForm(original, view);
        PropView again;
        ASSERT_TRUE(read.Peek(PROP_ID(original.tag), again));
        EXPECT_EQ(again.data.data(), view.data.data()); // the same bytes, not a copy
    }
    PropView none;
    EXPECT_FALSE(read.Peek(0x6614, none));
    EXPECT_FALSE(read.Has(0x6600));
}

TEST(PropertyBagTest, EveryTypeReadWholeIsTheValueWritten)
{
    const PropertyBag written = EveryType();
    const PropertyBag read = PropertyBag::Parse(written.Serialize());
    ASSERT_EQ(read.Props().size(), written.Props().size());
    for (size_t i = 0; i < written.Props().size(); ++i)
        ExpectStoredForm(written.Props()[i], read.Props()[i]);
    EXPECT_EQ(read.Serialize(), written.Serialize());
}

TEST(PropertyBagTest, ViewsStayValidWhenTheBagIsReadWhole)
{
    PropertyBag bag = PropertyBag::Parse(EveryType().Serialize());
    bag.Set(PROP_TAG(PT_UNICODE, 0x6700), EncodeUnicode(u"set after reading"));
    bag.Set(PROP_TAG(PT_LONG, 0x6500), EncodeLong(9)); // short enough to live inside its Prop
    PropView stored, longSet, shortSet;
    ASSERT_TRUE(bag.Peek(0x660D, stored));
    ASSERT_TRUE(bag.Peek(0x6700, longSet));
    ASSERT_TRUE(bag.Peek(0x6500, shortSet));

    ASSERT_NE(bag.Find(0x660C), nullptr); // reads the bag whole
    EXPECT_EQ(stored.data, EncodeUnicode(u"wide text longer than fifteen bytes"));
    EXPECT_EQ(longSet.data, EncodeUnicode(u"set after reading"));
    EXPECT_EQ(DecodeLong(shortSet.data), 9);
    EXPECT_EQ(bag.Size(), EveryType().Size() + 2);
    EXPECT_EQ(PROP_ID(bag.Props().front().tag), 0x6500u);
    EXPECT_EQ(PROP_ID(bag.Props().back().tag), 0x6700u);
}

TEST(PropertyBagTest, SettingAStoredValueReplacesIt)
{
    PropertyBag bag = PropertyBag::Parse(EveryType().Serialize());
    bag.Set(PROP_TAG(PT_LONG, 0x6602), EncodeLong(42));
    EXPECT_EQ(bag.Size(), EveryType().Size());
    PropView view;
    ASSERT_TRUE(bag.Peek(0x6602, view));
    EXPECT_EQ(DecodeLong(view.data), 42);
    EXPECT_TRUE(bag.Remove(0x6601));
    EXPECT_FALSE(bag.Has(0x6601));
    EXPECT_EQ(bag.Size(), EveryType().Size() - 1);
}

TEST(PropertyBagTest, WantedPropertiesAloneAreKept)
{
    const std::vector<ULONG> wanted{0x6602, 0x660D, 0x6613, 0x6700};
    const PropertyBag bag = PropertyBag::Parse(EveryType().Serialize(), &wanted);
    EXPECT_EQ(bag.Size(), 3u);
    EXPECT_TRUE(bag.Has(0x660D));
    EXPECT_FALSE(bag.Has(0x660C));
    const Prop* large = bag.Find(0x6613);
    ASSERT_NE(large, nullptr);
    EXPECT_FALSE(large->loaded);
    EXPECT_EQ(large->Size(), kLargeValueSize + 1);
}

TEST(PropertyBagTest, ACopyIsIndependentOfItsOriginal)
{
    const PropertyBag original = PropertyBag::Parse(EveryType().Serialize());
    PropertyBag copy = original;
    copy.Set(PROP_TAG(PT_LONG, 0x6602), EncodeLong(42));
    copy.Set(PROP_TAG(PT_LONG, 0x6700), EncodeLong(1));
    PropView view;
    ASSERT_TRUE(original.Peek(0x6602, view));
    EXPECT_EQ(DecodeLong(view.data), -5);
    EXPECT_FALSE(original.Has(0x6700));
    PropertyBag assigned;
    assigned = copy;
    ASSERT_TRUE(assigned.Peek(0x6602, view));
    EXPECT_EQ(DecodeLong(view.data), 42);
    EXPECT_TRUE(assigned.Has(0x6700));
}
} // namespace

namespace
{
TEST(PropertyBagTest, WantedPropertiesOfABlobOutOfIdOrderAreAllFound)
{
    const std::string blob = Header(3) + Entry(PR_SUBJECT_W, 0, 2, std::string("s\0", 2)) +
                             Entry(PR_IMPORTANCE, 0, 4, EncodeLong(1)) +
                             Entry(PR_MESSAGE_CLASS_W, 0, 2, std::string("c\0", 2));
    const std::vector<ULONG> wanted{PROP_ID(PR_IMPORTANCE), PROP_ID(PR_MESSAGE_CLASS_W), PROP_ID(PR_SUBJECT_W)};
    const PropertyBag bag = PropertyBag::Parse(blob, &wanted);
    for (ULONG propId : wanted)
        EXPECT_TRUE(bag.Has(propId)) << propId;
    EXPECT_TRUE(PropertyBag(bag).Has(PROP_ID(PR_SUBJECT_W)));
    ASSERT_EQ(bag.Props().size(), 3u);
    // Kept in the blob's order, as they were stored.
    EXPECT_EQ(bag.Props()[0].tag, PR_SUBJECT_W);
    EXPECT_EQ(bag.Props()[0].data, std::string("s\0", 2));
    EXPECT_EQ(bag.Props()[1].tag, PR_IMPORTANCE);
    EXPECT_EQ(bag.Props()[2].tag, PR_MESSAGE_CLASS_W);
}
} // namespace

namespace
{
TEST(PropertyBagTest, ValuesAskedInAnyOrderAreFoundAndMissingOnesAreNot)
{
    const PropertyBag written = EveryType();
    const PropertyBag read = PropertyBag::Parse(written.Serialize());
    std::vector<ULONG> asked;
    for (ULONG propId = 0x6614; propId >= 0x6600; --propId)
        asked.push_back(propId); // descending, from one past the last stored to one before the first
    for (ULONG propId = 0x6600; propId <= 0x6614; propId += 2)
        asked.push_back(propId); // ascending, every other one
    for (ULONG propId : {0x660Du, 0x6601u, 0x6613u, 0x6612u, 0x6600u, 0x660Du})
        asked.push_back(propId);
    for (ULONG propId : asked)
    {
        SCOPED_TRACE(propId);
        const Prop* original = written.Find(propId);
        PropView view;
        ASSERT_EQ(read.Peek(propId, view), original != nullptr);
        if (original)
            ExpectStoredForm(*original, view);
    }
}
} // namespace

namespace
{
TEST(PropertyBagTest, ACountBelowTheEntriesReadsOnlyThatMany)
{
    const std::string blob =
        Header(1) + Entry(PR_IMPORTANCE, 0, 4, EncodeLong(1)) + Entry(PR_PRIORITY, 0, 4, EncodeLong(2));
    const PropertyBag bag = PropertyBag::Parse(blob);
    EXPECT_EQ(bag.Size(), 1u);
    EXPECT_TRUE(bag.Has(PROP_ID(PR_IMPORTANCE)));
    EXPECT_FALSE(bag.Has(PROP_ID(PR_PRIORITY)));
}

TEST(PropertyBagTest, AValueRunningPastTheBlobEndsTheReadingKeepingThoseBefore)
{
    const std::string blob = Header(3) + Entry(PR_IMPORTANCE, 0, 4, EncodeLong(1)) + Entry(PR_BODY_A, 1, 9000) +
                             Entry(PR_SUBJECT_A, 0, 50, "short");
    const std::vector<ULONG> some{PROP_ID(PR_IMPORTANCE), PROP_ID(PR_SUBJECT_A)};
    for (const std::vector<ULONG>* wanted : {static_cast<const std::vector<ULONG>*>(nullptr), &some})
    {
        const PropertyBag bag = PropertyBag::Parse(blob, wanted);
        PropView view;
        ASSERT_TRUE(bag.Peek(PROP_ID(PR_IMPORTANCE), view));
        EXPECT_EQ(DecodeLong(view.data), 1);
        EXPECT_FALSE(bag.Has(PROP_ID(PR_SUBJECT_A)));
        EXPECT_EQ(bag.Has(PROP_ID(PR_BODY_A)), wanted == nullptr); // out of line: its size is not in the blob
    }
}

TEST(PropertyBagTest, EveryValueOfABlobOutOfIdOrderIsFoundWhereItLies)
{
    const std::string blob = Header(3) + Entry(PR_SUBJECT_W, 0, 2, std::string("s\0", 2)) +
                             Entry(PR_IMPORTANCE, 0, 4, EncodeLong(1)) + Entry(PR_PRIORITY, 0, 4, EncodeLong(2));
    const PropertyBag bag = PropertyBag::Parse(blob);
    for (ULONG propId : {PROP_ID(PR_PRIORITY), PROP_ID(PR_IMPORTANCE), PROP_ID(PR_SUBJECT_W)})
    {
        PropView view;
        EXPECT_TRUE(bag.Peek(propId, view)) << propId;
    }
    PropView priority;
    ASSERT_TRUE(bag.Peek(PROP_ID(PR_PRIORITY), priority));
    EXPECT_EQ(DecodeLong(priority.data), 2);
    EXPECT_FALSE(bag.Has(PROP_ID(PR_SENSITIVITY)));
}
} // namespace
