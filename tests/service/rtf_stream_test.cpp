// WrapCompressedRTFStream over the PR_RTF_COMPRESSED stream of a real message: compressing and storing
// uncompressed at Commit, reading either form back, and damaged or mis-checked streams.
#include "platform/mapi/CompressedRtf.h"
#include "platform/trace/TraceCapture.h"

#include "support/CallLogQueries.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
const std::string kRtf = "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n";

class RtfStreamTest : public DefaultStoreTest
{
protected:
    Ref<IMessage> NewMessage() { return CreateUnsavedMessage(Inbox()); }

    Ref<IStream> OpenRtf(IMessage* message, ULONG ulFlags)
    {
        Ref<IStream> stream;
        const ULONG options = (ulFlags & MAPI_MODIFY) ? STGM_CREATE | STGM_WRITE : 0;
        EXPECT_EQ(S_OK, message->OpenProperty(PR_RTF_COMPRESSED, &IID_IStream, options, ulFlags, stream.OutUnknown()));
        return stream;
    }

    // Writes the RTF through a wrapper with these flags and commits both streams, as a writer of RTF bodies does.
    void WriteRtf(IMessage* message, const std::string& rtf, ULONG ulWrapFlags)
    {
        Ref<IStream> property = OpenRtf(message, MAPI_CREATE | MAPI_MODIFY);
        Ref<IStream> wrapper;
        ASSERT_EQ(S_OK, WrapCompressedRTFStream(property.Get(), ulWrapFlags, wrapper.Out()));
        ULONG cbWritten = 0;
        ASSERT_EQ(S_OK, wrapper->Write(rtf.data(), static_cast<ULONG>(rtf.size()), &cbWritten));
        EXPECT_EQ(rtf.size(), cbWritten);
        ASSERT_EQ(S_OK, wrapper->Commit(0));
        ASSERT_EQ(S_OK, property->Commit(0));
    }

    void PutStored(IMessage* message, const std::string& stored)
    {
        Ref<IStream> property = OpenRtf(message, MAPI_CREATE | MAPI_MODIFY);
        ULONG cbWritten = 0;
        ASSERT_EQ(S_OK, property->Write(stored.data(), static_cast<ULONG>(stored.size()), &cbWritten));
        ASSERT_EQ(S_OK, property->Commit(0));
    }

    // The stored bytes; "none" when the message has no such property.
    std::string Stored(IMessage* message)
    {
        Ref<IStream> property;
        if (message->OpenProperty(PR_RTF_COMPRESSED, &IID_IStream, 0, 0, property.OutUnknown()) != S_OK)
            return "none";
        return ReadAll(property.Get());
    }

    HRESULT ReadThroughWrapper(IMessage* message, std::string& rtf)
    {
        Ref<IStream> property = OpenRtf(message, 0);
        Ref<IStream> wrapper;
        if (HRESULT hr = WrapCompressedRTFStream(property.Get(), 0, wrapper.Out()))
            return hr;
        rtf.clear();
        char chunk[100];
        ULONG cbRead = 0;
        do
        {
            if (HRESULT hr = wrapper->Read(chunk, sizeof(chunk), &cbRead))
                return hr;
            rtf.append(chunk, cbRead);
        } while (cbRead == sizeof(chunk));
        return S_OK;
    }

    static std::string ReadAll(IStream* stream)
    {
        std::string data;
        char chunk[256];
        ULONG cbRead = 0;
        do
        {
            EXPECT_EQ(S_OK, stream->Read(chunk, sizeof(chunk), &cbRead));
            data.append(chunk, cbRead);
        } while (cbRead == sizeof(chunk));
        return data;
    }
};

TEST_F(RtfStreamTest, ModifyCompressesAtCommit)
{
    Ref<IMessage> message = NewMessage();
    WriteRtf(message.Get(), kRtf, MAPI_MODIFY);
    EXPECT_EQ(mapisvc::CompressRtf(kRtf), Stored(message.Get()));
    std::string rtf;
    EXPECT_EQ(S_OK, ReadThroughWrapper(message.Get(), rtf));
    EXPECT_EQ(kRtf, rtf);
}

TEST_F(RtfStreamTest, UncompressedStoreFlagKeepsTheTextAsItIs)
{
    Ref<IMessage> message = NewMessage();
    WriteRtf(message.Get(), kRtf, MAPI_MODIFY | STORE_UNCOMPRESSED_RTF);
    EXPECT_EQ(mapisvc::StoreRtfUncompressed(kRtf), Stored(message.Get()));
    std::string rtf;
    EXPECT_EQ(S_OK, ReadThroughWrapper(message.Get(), rtf));
    EXPECT_EQ(kRtf, rtf);
}

TEST_F(RtfStreamTest, SavedAndReopenedBodyReadsBack)
{
    const std::string longRtf = "{\\rtf1\\ansi " + std::string(30000, 'x') + "\\par }";
    mapisvc::EntryId id;
    {
        Ref<IMessage> message = NewMessage();
        WriteRtf(message.Get(), longRtf, MAPI_MODIFY);
        ASSERT_EQ(S_OK, message->SaveChanges(KEEP_OPEN_READWRITE));
        MapiBuffer<SPropValue> entryId;
        ASSERT_EQ(S_OK, HrGetOneProp(message.Get(), PR_ENTRYID, entryId.Out()));
        id.assign(entryId.Get()->Value.bin.lpb, entryId.Get()->Value.bin.lpb + entryId.Get()->Value.bin.cb);
    }
    Ref<IMessage> reopened = OpenMessage(Session(), id);
    std::string rtf;
    EXPECT_EQ(S_OK, ReadThroughWrapper(reopened.Get(), rtf));
    EXPECT_TRUE(longRtf == rtf) << rtf.size();
}

TEST_F(RtfStreamTest, WithoutCommitNothingIsStored)
{
    Ref<IMessage> message = NewMessage();
    {
        Ref<IStream> property = OpenRtf(message.Get(), MAPI_CREATE | MAPI_MODIFY);
        Ref<IStream> wrapper;
        ASSERT_EQ(S_OK, WrapCompressedRTFStream(property.Get(), MAPI_MODIFY, wrapper.Out()));
        ULONG cbWritten = 0;
        ASSERT_EQ(S_OK, wrapper->Write(kRtf.data(), static_cast<ULONG>(kRtf.size()), &cbWritten));
    }
    EXPECT_EQ("none", Stored(message.Get()));
}

TEST_F(RtfStreamTest, ReadingWrapperRefusesWritesAndWritingOneDoesNotDecode)
{
    Ref<IMessage> message = NewMessage();
    PutStored(message.Get(), mapisvc::CompressRtf(kRtf));
    Ref<IStream> property = OpenRtf(message.Get(), 0);
    Ref<IStream> reader;
    ASSERT_EQ(S_OK, WrapCompressedRTFStream(property.Get(), 0, reader.Out()));
    ULONG cb = 0;
    EXPECT_EQ(STG_E_ACCESSDENIED, reader->Write("x", 1, &cb));
    EXPECT_EQ(STG_E_ACCESSDENIED, reader->Commit(0));
}

TEST_F(RtfStreamTest, BadArgumentsAndFlags)
{
    Ref<IMessage> message = NewMessage();
    Ref<IStream> property = OpenRtf(message.Get(), MAPI_CREATE | MAPI_MODIFY);
    Ref<IStream> wrapper;
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, WrapCompressedRTFStream(nullptr, 0, wrapper.Out()));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, WrapCompressedRTFStream(property.Get(), 0, nullptr));
    EXPECT_EQ(MAPI_E_UNKNOWN_FLAGS, WrapCompressedRTFStream(property.Get(), 0x10, wrapper.Out()));
    EXPECT_EQ(nullptr, wrapper.Get());
    ScopedFault fault("MAPI", "WrapCompressedRTFStream");
    EXPECT_EQ(MAPI_E_CALL_FAILED, WrapCompressedRTFStream(property.Get(), MAPI_MODIFY, wrapper.Out()));
}

TEST_F(RtfStreamTest, CallsAreLoggedWithTheirFlags)
{
    Ref<IMessage> message = NewMessage();
    mapisvc::ClearCallLog();
    WriteRtf(message.Get(), kRtf, MAPI_MODIFY | STORE_UNCOMPRESSED_RTF);
    const auto calls = CallsOf("MAPI", "WrapCompressedRTFStream");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(ULONG(MAPI_MODIFY | STORE_UNCOMPRESSED_RTF), calls[0].flags);
}

TEST_F(RtfStreamTest, DamagedStreamFailsTheReadAndIsTraced)
{
    Ref<IMessage> message = NewMessage();
    std::string stored = mapisvc::CompressRtf(kRtf);
    stored[4] = static_cast<char>(stored[4] + 1); // RAWSIZE one more than the content makes
    PutStored(message.Get(), stored);
    mapipim::TraceCapture trace;
    std::string rtf;
    EXPECT_EQ(MAPI_E_CORRUPT_DATA, ReadThroughWrapper(message.Get(), rtf));
    EXPECT_TRUE(rtf.empty());
    EXPECT_TRUE(trace.Contains(_T("[MAPI] WrapCompressedRTFStream - damaged stream : RAWSIZE not reached")));
}

TEST_F(RtfStreamTest, WrongCrcIsToleratedAndTraced)
{
    Ref<IMessage> message = NewMessage();
    std::string stored = mapisvc::CompressRtf(kRtf);
    stored[12] = static_cast<char>(stored[12] ^ 0xFF);
    PutStored(message.Get(), stored);
    mapipim::TraceCapture trace;
    std::string rtf;
    EXPECT_EQ(S_OK, ReadThroughWrapper(message.Get(), rtf));
    EXPECT_EQ(kRtf, rtf);
    EXPECT_TRUE(trace.Contains(_T("[MAPI] WrapCompressedRTFStream - CRC mismatch tolerated : stored a7c7c50e, content ")
                               _T("a7c7c5f1")));
}

TEST_F(RtfStreamTest, EmptyPropertyReadsAsNoText)
{
    Ref<IMessage> message = NewMessage();
    PutStored(message.Get(), std::string());
    std::string rtf = "old";
    EXPECT_EQ(S_OK, ReadThroughWrapper(message.Get(), rtf));
    EXPECT_TRUE(rtf.empty());
}
} // namespace
