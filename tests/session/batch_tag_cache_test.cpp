// The per-store memory of the tags a batch read asks for: kept per list of properties, handed out only at the
// generation of the named-property map it was made at, replaced when made again; the tags with the object's identity
// beside the plain ones.
#include "session/BatchTagCache.h"

#include <gtest/gtest.h>

namespace
{
using mapipim::BatchTagCache;
using mapipim::PropertyName;

BatchTagCache::TagArray Tags(std::vector<ULONG> tags)
{
    return std::make_shared<const mapipim::BatchTags>(std::move(tags));
}

const std::vector<PropertyName> kNames = {{PR_SURNAME_W, 0}, {0x8083, 4}};
const std::vector<PropertyName> kOtherSetOfSameId = {{PR_SURNAME_W, 0}, {0x8083, 5}};
} // namespace

TEST(BatchTagCacheTest, HandsOutTheTagsOnlyForTheSamePropertiesAndGeneration)
{
    BatchTagCache cache;
    EXPECT_EQ(nullptr, cache.Find(kNames, 0));
    const BatchTagCache::TagArray tags = Tags({PR_SURNAME_W, PROP_TAG(PT_UNSPECIFIED, 0x8010)});
    const BatchTagCache::TagArray identifying =
        Tags({PR_STORE_RECORD_KEY, PR_ENTRYID, PR_SURNAME_W, PROP_TAG(PT_UNSPECIFIED, 0x8010)});
    cache.Keep(kNames, 3, {tags, identifying});

    EXPECT_EQ(tags, cache.Find(kNames, 3));
    EXPECT_EQ(identifying, cache.Find(kNames, 3, true));
    EXPECT_EQ(nullptr, cache.Find(kNames, 4)) << "the map has changed since";
    EXPECT_EQ(nullptr, cache.Find(kNames, 4, true));
    EXPECT_EQ(nullptr, cache.Find(kOtherSetOfSameId, 3));
    EXPECT_EQ(nullptr, cache.Find({{PR_SURNAME_W, 0}}, 3)) << "a shorter list is another list";
}

TEST(BatchTagCacheTest, KeepingAgainReplacesAndOtherListsStay)
{
    BatchTagCache cache;
    cache.Keep(kNames, 1, {Tags({PR_SURNAME_W}), nullptr});
    const BatchTagCache::TagArray other = Tags({PR_SURNAME_W, PROP_TAG(PT_UNSPECIFIED, 0x8020)});
    cache.Keep(kOtherSetOfSameId, 1, {other, nullptr});
    const BatchTagCache::TagArray rebuilt = Tags({PR_SURNAME_W, PROP_TAG(PT_UNSPECIFIED, 0x8010)});
    cache.Keep(kNames, 2, {rebuilt, nullptr});

    EXPECT_EQ(nullptr, cache.Find(kNames, 1));
    EXPECT_EQ(rebuilt, cache.Find(kNames, 2));
    ASSERT_NE(nullptr, cache.Find(kNames, 2));
    EXPECT_EQ(2u, cache.Find(kNames, 2)->Count());
    EXPECT_EQ(other, cache.Find(kOtherSetOfSameId, 1));
}
