// The byte stream adopting binary property values that MAPI allocated: it reads
// them and frees them.
#include <mapipim/MAPIByteStream.h>

#include "platform/mapi/MAPIMemory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// A binary property value in one MAPI buffer, as GetProps hands it out.
LPSPropValue MakeBinaryValue(const BYTE* pBytes, ULONG cb, ULONG ulPropTag = PROP_TAG(PT_BINARY, 0x8000))
{
    LPSPropValue pValue = nullptr;
    if (MAPIAllocateBuffer(sizeof(SPropValue) + cb, reinterpret_cast<LPVOID*>(&pValue)) != S_OK)
        return nullptr;
    pValue->ulPropTag = ulPropTag;
    pValue->Value.bin.cb = cb;
    pValue->Value.bin.lpb = reinterpret_cast<LPBYTE>(pValue + 1);
    std::memcpy(pValue->Value.bin.lpb, pBytes, cb);
    return pValue;
}

TEST(ByteStreamAttachTest, ReadsTheAdoptedValue)
{
    const LONG nLive = mapisvc::LiveBufferCount();
    {
        const BYTE bytes[] = {0x04, 0x30, 0x04, 0x30};
        CMAPIByteStream stream;
        stream.AttachValue(MakeBinaryValue(bytes, sizeof(bytes)));
        DWORD dw = 0;
        stream.ReadDWord(&dw);
        EXPECT_EQ(dw, 0x30043004u);
        EXPECT_EQ(stream.GetLength(), 0u);
        EXPECT_EQ(mapisvc::LiveBufferCount(), nLive + 1);
    }
    EXPECT_EQ(mapisvc::LiveBufferCount(), nLive); // freed with the stream
}

TEST(ByteStreamAttachTest, AdoptingAnotherValueFreesThePreviousOne)
{
    const LONG nLive = mapisvc::LiveBufferCount();
    const BYTE first[] = {1, 2}, second[] = {3};
    CMAPIByteStream stream;
    stream.AttachValue(MakeBinaryValue(first, sizeof(first)));
    stream.AttachValue(MakeBinaryValue(second, sizeof(second)));
    EXPECT_EQ(mapisvc::LiveBufferCount(), nLive + 1);
    BYTE b = 0;
    stream.ReadByte(&b);
    EXPECT_EQ(b, 3);
    stream.AttachValue(nullptr); // adopting nothing frees the last value and holds no data
    EXPECT_EQ(mapisvc::LiveBufferCount(), nLive);
    b = 0xAA;
    stream.ReadByte(&b);
    EXPECT_EQ(b, 0xAA);
}

TEST(ByteStreamAttachTest, AdoptingTheSameValueTwiceFreesItOnce)
{
    const LONG nLive = mapisvc::LiveBufferCount();
    {
        const BYTE bytes[] = {7};
        LPSPropValue pValue = MakeBinaryValue(bytes, sizeof(bytes));
        CMAPIByteStream stream;
        stream.AttachValue(pValue);
        stream.AttachValue(pValue);
        EXPECT_EQ(mapisvc::LiveBufferCount(), nLive + 1);
    }
    EXPECT_EQ(mapisvc::LiveBufferCount(), nLive);
}

TEST(ByteStreamAttachTest, AValueThatIsNotBinaryIsFreedButNotRead)
{
    const LONG nLive = mapisvc::LiveBufferCount();
    {
        const BYTE bytes[] = {1, 2, 3, 4};
        LPSPropValue pError = MakeBinaryValue(bytes, sizeof(bytes), PROP_TAG(PT_ERROR, 0x8000));
        CMAPIByteStream stream;
        stream.AttachValue(pError);
        DWORD dw = 0;
        stream.ReadDWord(&dw);
        EXPECT_EQ(dw, 0u);
    }
    EXPECT_EQ(mapisvc::LiveBufferCount(), nLive);
}
} // namespace
