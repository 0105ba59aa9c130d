// The session's memory of one store's named properties: numeric and string names of each property set kept apart,
// unmapped names remembered until the store is opened again, a mapping replacing an unmapped entry.
#include "session/NamedPropertyMap.h"

#include <gtest/gtest.h>

namespace
{
using mapipim::NamedPropertyMap;

GUID SetA = {0x00062004, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
GUID SetB = {0x00062008, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

MAPINAMEID Numeric(GUID& set, LONG lID)
{
    MAPINAMEID name = {};
    name.lpguid = &set;
    name.ulKind = MNID_ID;
    name.Kind.lID = lID;
    return name;
}

MAPINAMEID Named(GUID& set, const WCHAR* szName)
{
    MAPINAMEID name = {};
    name.lpguid = &set;
    name.ulKind = MNID_STRING;
    name.Kind.lpwstrName = const_cast<LPWSTR>(szName);
    return name;
}
} // namespace

TEST(NamedPropertyMapTest, KeepsEachNameApartAndForgetsOnlyTheUnmapped)
{
    NamedPropertyMap map;
    ULONG ulTag = 0;
    EXPECT_EQ(NamedPropertyMap::State::Unknown, map.Find(Numeric(SetA, 0x8005), ulTag));

    map.RememberMapped(Numeric(SetA, 0x8005), PROP_TAG(PT_UNICODE, 0x8001));
    map.RememberUnmapped(Numeric(SetB, 0x8005));
    map.RememberMapped(Named(SetA, _T("Keywords")), PROP_TAG(PT_MV_UNICODE, 0x8002));
    map.RememberUnmapped(Named(SetA, _T("Keyword")));

    ASSERT_EQ(NamedPropertyMap::State::Mapped, map.Find(Numeric(SetA, 0x8005), ulTag));
    EXPECT_EQ(static_cast<ULONG>(PROP_TAG(PT_UNSPECIFIED, 0x8001)), ulTag) << "tags are kept without their type";
    EXPECT_EQ(NamedPropertyMap::State::Unmapped, map.Find(Numeric(SetB, 0x8005), ulTag));
    EXPECT_EQ(NamedPropertyMap::State::Unknown, map.Find(Numeric(SetA, 0x8006), ulTag));
    ASSERT_EQ(NamedPropertyMap::State::Mapped, map.Find(Named(SetA, _T("Keywords")), ulTag));
    EXPECT_EQ(static_cast<ULONG>(PROP_TAG(PT_UNSPECIFIED, 0x8002)), ulTag);
    EXPECT_EQ(NamedPropertyMap::State::Unmapped, map.Find(Named(SetA, _T("Keyword")), ulTag));
    EXPECT_EQ(NamedPropertyMap::State::Unknown, map.Find(Named(SetB, _T("Keywords")), ulTag));

    // A name mapped later replaces its unmapped entry; an unmapped answer never hides a mapping.
    map.RememberMapped(Numeric(SetB, 0x8005), PROP_TAG(PT_LONG, 0x8003));
    map.RememberUnmapped(Numeric(SetA, 0x8005));
    EXPECT_EQ(NamedPropertyMap::State::Mapped, map.Find(Numeric(SetB, 0x8005), ulTag));
    EXPECT_EQ(NamedPropertyMap::State::Mapped, map.Find(Numeric(SetA, 0x8005), ulTag));

    map.ForgetUnmapped();
    EXPECT_EQ(NamedPropertyMap::State::Unknown, map.Find(Named(SetA, _T("Keyword")), ulTag));
    EXPECT_EQ(NamedPropertyMap::State::Mapped, map.Find(Named(SetA, _T("Keywords")), ulTag));
    EXPECT_EQ(NamedPropertyMap::State::Mapped, map.Find(Numeric(SetB, 0x8005), ulTag));
}

TEST(NamedPropertyMapTest, EveryChangeOfAnAnswerMovesTheGeneration)
{
    NamedPropertyMap map;
    ULONG ulTag = 0;
    unsigned nGeneration = map.Generation();
    EXPECT_EQ(NamedPropertyMap::State::Unknown, map.Find(Numeric(SetA, 0x8005), ulTag));
    EXPECT_EQ(nGeneration, map.Generation()) << "a look-up changes nothing";

    map.RememberUnmapped(Numeric(SetA, 0x8005));
    EXPECT_NE(nGeneration, map.Generation());
    nGeneration = map.Generation();
    map.RememberMapped(Numeric(SetA, 0x8005), PROP_TAG(PT_UNICODE, 0x8001));
    EXPECT_NE(nGeneration, map.Generation());
    nGeneration = map.Generation();
    map.RememberMapped(Named(SetB, u"Keywords"), PROP_TAG(PT_UNICODE, 0x8002));
    EXPECT_NE(nGeneration, map.Generation());
    nGeneration = map.Generation();
    map.ForgetUnmapped();
    EXPECT_NE(nGeneration, map.Generation());
}
