// The tags of a batch read: the array MAPI is handed, and finding where a property lies among them.
#include "session/BatchTags.h"

#include <gtest/gtest.h>

namespace
{
using mapipim::BatchTags;
} // namespace

TEST(BatchTagsTest, HandsGetPropsTheCountAndTheTagsInOrder)
{
    const std::vector<ULONG> tags = {PR_SURNAME_W, PROP_TAG(PT_SYSTIME, 0x8005), PR_BODY_W};
    const BatchTags batch(tags);

    ASSERT_EQ(3u, batch.Count());
    const SPropTagArray* pArray = batch.Array();
    ASSERT_EQ(3u, pArray->cValues);
    for (size_t i = 0; i < tags.size(); ++i)
        EXPECT_EQ(tags[i], pArray->aulPropTag[i]);
}

TEST(BatchTagsTest, FindsEveryPropertyByIdWhateverItsTypeAndNothingElse)
{
    // Ids in runs and far apart, more than fill the smallest table, so that probes must step over taken slots.
    std::vector<ULONG> tags;
    for (ULONG ulId = 0x3000; ulId < 0x3040; ++ulId)
        tags.push_back(PROP_TAG(PT_UNICODE, ulId));
    for (ULONG ulId = 0x8000; ulId < 0x10000; ulId += 0x400)
        tags.push_back(PROP_TAG(PT_LONG, ulId));
    tags.push_back(PROP_TAG(PT_BINARY, 0xFFFF));
    const BatchTags batch(tags);

    for (size_t i = 0; i < tags.size(); ++i)
        EXPECT_EQ(static_cast<int>(i), batch.PositionOf(PROP_ID(tags[i]))) << std::hex << tags[i];
    for (ULONG ulId : {0x0u, 0x1u, 0x2FFFu, 0x3040u, 0x8001u, 0xFFFEu})
        EXPECT_EQ(-1, batch.PositionOf(ulId)) << std::hex << ulId;
}

TEST(BatchTagsTest, AnEmptyReadFindsNothing)
{
    const BatchTags batch({});
    EXPECT_EQ(0u, batch.Count());
    EXPECT_EQ(-1, batch.PositionOf(PROP_ID(PR_SURNAME_W)));
    EXPECT_EQ(-1, batch.PositionOf(0));
}

TEST(BatchTagsTest, KnowsWhatEachNamedPropertyResolvedToApartFromTheIds)
{
    const ULONG ulMapped = PROP_TAG(PT_UNSPECIFIED, 0x8005);
    // The named property's own id is also a plain property id of the read: the two must not answer for each other.
    const BatchTags batch({PR_SURNAME_W, ulMapped, PROP_TAG(PT_LONG, 0x8083)},
                          {{{0x8083, 4}, ulMapped}, {{0x8084, 4}, PR_NULL}, {{0x8083, 5}, PR_NULL}});

    ULONG ulTag = 0;
    ASSERT_TRUE(batch.TagOfName({0x8083, 4}, ulTag));
    EXPECT_EQ(ulMapped, ulTag);
    ASSERT_TRUE(batch.TagOfName({0x8084, 4}, ulTag)) << "a name the store has no mapping for is known too";
    EXPECT_EQ(static_cast<ULONG>(PR_NULL), ulTag);
    ASSERT_TRUE(batch.TagOfName({0x8083, 5}, ulTag)) << "the same id in another set is another name";
    EXPECT_EQ(static_cast<ULONG>(PR_NULL), ulTag);
    EXPECT_FALSE(batch.TagOfName({0x8085, 4}, ulTag)) << "a name the read did not resolve is left to the getter";
    EXPECT_FALSE(batch.TagOfName({PR_SURNAME_W, 0}, ulTag)) << "an ordinary tag is no named property";
    EXPECT_EQ(2, batch.PositionOf(0x8083));
    EXPECT_EQ(1, batch.PositionOf(0x8005));
}
