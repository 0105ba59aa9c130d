// The stored form of an object's properties read back from damaged blobs: a count the blob cannot hold and an
// out-of-line marker no larger than an inline value.
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
