// Values handed out in one MAPI buffer: every type lands in its SPropValue field with what it points to after
// the array, nothing of the buffer's earlier contents showing through (the buffer is not zero-filled).
#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/PropertyPacker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace mapisvc;

namespace
{
const GUID kGuid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};

// The stored bytes of one value of every type the packer hands out, and a failed one.
struct Sample
{
    ULONG tag;
    std::string data;
    SCODE error = S_OK;
};

std::vector<Sample> EveryType()
{
    return {
        {PROP_TAG(PT_I2, 0x6601), std::string("\x07\x00", 2)},
        {PROP_TAG(PT_BOOLEAN, 0x6602), EncodeBool(true)},
        {PROP_TAG(PT_LONG, 0x6603), EncodeLong(-5)},
        {PROP_TAG(PT_R4, 0x6604), std::string("\x00\x00\x80\x3f", 4)},
        {PROP_TAG(PT_DOUBLE, 0x6605), EncodeInt64(0x3ff8000000000000LL)},
        {PROP_TAG(PT_I8, 0x6606), EncodeInt64(-2)},
        {PROP_TAG(PT_SYSTIME, 0x6607), EncodeInt64(0x01D9000012345678LL)},
        {PROP_TAG(PT_CLSID, 0x6608), std::string(reinterpret_cast<const char*>(&kGuid), sizeof(kGuid))},
        {PROP_TAG(PT_STRING8, 0x6609), "eight-bit"},
        {PROP_TAG(PT_UNICODE, 0x660A), EncodeUnicode(u"wide text")},
        {PROP_TAG(PT_BINARY, 0x660B), std::string("\x00\x01\x02", 3)},
        {PROP_TAG(PT_STRING8, 0x660C), std::string()},
        {PROP_TAG(PT_MV_LONG, 0x660D), JoinMultiValue({EncodeLong(1), EncodeLong(2), EncodeLong(3)}, PT_LONG)},
        {PROP_TAG(PT_MV_UNICODE, 0x660E), JoinMultiValue({EncodeUnicode(u"a"), EncodeUnicode(u"bcd")}, PT_UNICODE)},
        {PROP_TAG(PT_MV_STRING8, 0x660F), JoinMultiValue({"x", std::string()}, PT_STRING8)},
        {PROP_TAG(PT_MV_BINARY, 0x6610), JoinMultiValue({std::string(), std::string("\xff\xfe", 2)}, PT_BINARY)},
        {PROP_TAG(PT_ERROR, 0x6611), EncodeLong(static_cast<LONG>(MAPI_E_NO_ACCESS))},
        {PROP_TAG(PT_LONG, 0x6612), std::string(), MAPI_E_NOT_FOUND},
        {PROP_TAG(PT_NULL, 0x6613), std::string()},
    };
}

std::vector<OutValue> OutValues(const std::vector<Sample>& samples)
{
    std::vector<OutValue> values;
    for (const Sample& sample : samples)
    {
        OutValue value;
        value.tag = sample.tag;
        value.data = sample.data;
        if (sample.error != S_OK)
            value.SetError(sample.tag, sample.error);
        values.push_back(value);
    }
    return values;
}

// The bytes of the union past the value's own: they must be zero, not what the buffer held before.
void ExpectUnionZeroFrom(const SPropValue& value, size_t from)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value.Value);
    for (size_t i = from; i < sizeof(value.Value); ++i)
        EXPECT_EQ(bytes[i], 0) << "union byte " << i;
}

// A text with its terminator, and the padding up to the next eight bytes cleared.
void ExpectTerminatedAndPadded(const void* text, std::string_view bytes, size_t terminator)
{
    const auto* p = static_cast<const char*>(text);
    EXPECT_EQ(std::string_view(p, bytes.size()), bytes);
    const size_t padded = (bytes.size() + terminator + 7) & ~size_t(7);
    for (size_t i = bytes.size(); i < padded; ++i)
        EXPECT_EQ(p[i], 0) << "byte " << i << " after the value";
}

void ExpectPacked(const Sample& sample, const SPropValue& value)
{
    SCOPED_TRACE(sample.tag);
    EXPECT_EQ(value.dwAlignPad, 0u);
    const ULONG type = PROP_TYPE(sample.tag);
    if (sample.error != S_OK || type == PT_ERROR)
    {
        EXPECT_EQ(value.ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(sample.tag)));
        EXPECT_EQ(value.Value.err, sample.error != S_OK ? sample.error : DecodeLong(sample.data));
        ExpectUnionZeroFrom(value, sizeof(SCODE));
        return;
    }
    EXPECT_EQ(value.ulPropTag, sample.tag);
    switch (type)
    {
    case PT_CLSID:
        EXPECT_EQ(std::memcmp(value.Value.lpguid, &kGuid, sizeof(GUID)), 0);
        ExpectUnionZeroFrom(value, sizeof(void*));
        break;
    case PT_STRING8:
        ExpectTerminatedAndPadded(value.Value.lpszA, sample.data, 1);
        break;
    case PT_UNICODE:
        ExpectTerminatedAndPadded(value.Value.lpszW, sample.data, 2);
        break;
    case PT_BINARY:
        EXPECT_EQ(value.Value.bin.cb, sample.data.size());
        ExpectTerminatedAndPadded(value.Value.bin.lpb, sample.data, 0);
        break;
    case PT_MV_LONG:
        ASSERT_EQ(value.Value.MVl.cValues, 3u);
        for (ULONG i = 0; i < 3; ++i)
            EXPECT_EQ(value.Value.MVl.lpl[i], LONG(i + 1));
        ExpectTerminatedAndPadded(value.Value.MVl.lpl, std::string_view(sample.data).substr(4), 0);
        break;
    case PT_MV_UNICODE:
        ASSERT_EQ(value.Value.MVszW.cValues, 2u);
        ExpectTerminatedAndPadded(value.Value.MVszW.lppszW[0], EncodeUnicode(u"a"), 2);
        ExpectTerminatedAndPadded(value.Value.MVszW.lppszW[1], EncodeUnicode(u"bcd"), 2);
        break;
    case PT_MV_STRING8:
        ASSERT_EQ(value.Value.MVszA.cValues, 2u);
        ExpectTerminatedAndPadded(value.Value.MVszA.lppszA[0], "x", 1);
        ExpectTerminatedAndPadded(value.Value.MVszA.lppszA[1], "", 1);
        break;
    case PT_MV_BINARY:
        ASSERT_EQ(value.Value.MVbin.cValues, 2u);
        EXPECT_EQ(value.Value.MVbin.lpbin[0].cb, 0u);
        EXPECT_EQ(value.Value.MVbin.lpbin[1].cb, 2u);
        ExpectTerminatedAndPadded(value.Value.MVbin.lpbin[1].lpb, "\xff\xfe", 0);
        break;
    case PT_NULL:
        ExpectUnionZeroFrom(value, 0);
        break;
    default: // fixed size: the stored bytes, the rest of the union clear
        EXPECT_EQ(std::memcmp(&value.Value, sample.data.data(), sample.data.size()), 0);
        ExpectUnionZeroFrom(value, sample.data.size());
        break;
    }
}

// Leaves freed memory of about the packed buffer's size full of ones, for the packer's buffer to reuse.
void DirtyTheHeap(size_t size)
{
    for (int i = 0; i < 8; ++i)
    {
        void* p = std::malloc(size + 16 * i);
        ASSERT_NE(p, nullptr);
        std::memset(p, 0xFF, size + 16 * i);
        std::free(p);
    }
}

TEST(PropertyPackerTest, EveryTypeIsHandedOutWholeWithNothingOfTheBufferShowingThrough)
{
    const std::vector<Sample> samples = EveryType();
    const LONG before = LiveBufferCount();
    DirtyTheHeap(1024);
    LPSPropValue packed = nullptr;
    ASSERT_EQ(PackValues(OutValues(samples), &packed), S_OK);
    EXPECT_EQ(LiveBufferCount(), before + 1);
    for (size_t i = 0; i < samples.size(); ++i)
        ExpectPacked(samples[i], packed[i]);
    MAPIFreeBuffer(packed);
    EXPECT_EQ(LiveBufferCount(), before);
}

TEST(PropertyPackerTest, ACopyOfPackedValuesIsTheSameValues)
{
    const std::vector<Sample> samples = EveryType();
    LPSPropValue packed = nullptr;
    ASSERT_EQ(PackValues(OutValues(samples), &packed), S_OK);
    DirtyTheHeap(1024);
    LPSPropValue copy = nullptr;
    ASSERT_EQ(CopyValues(static_cast<ULONG>(samples.size()), packed, &copy), S_OK);
    for (size_t i = 0; i < samples.size(); ++i)
        if (PROP_TYPE(samples[i].tag) != PT_NULL)
            ExpectPacked(samples[i], copy[i]);
    MAPIFreeBuffer(copy);
    MAPIFreeBuffer(packed);
}

TEST(PropertyPackerTest, NoValuesGiveAnArrayThatCanBeFreed)
{
    const LONG before = LiveBufferCount();
    LPSPropValue packed = nullptr;
    ASSERT_EQ(PackValues({}, &packed), S_OK);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(packed->ulPropTag, 0u);
    EXPECT_EQ(MAPIFreeBuffer(packed), 0u);
    EXPECT_EQ(LiveBufferCount(), before);
}
} // namespace
