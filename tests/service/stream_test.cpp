// Property streams: reading, writing, seeking, sizing, committing, and large values that live out of line.
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <cstring>

namespace
{
class StreamTest : public DefaultStoreTest
{
protected:
    Ref<IStream> Open(IMAPIProp* object, ULONG tag, ULONG flags, ULONG options = 0)
    {
        Ref<IStream> stream;
        EXPECT_EQ(object->OpenProperty(tag, &IID_IStream, options, flags, stream.OutUnknown()), S_OK);
        return stream;
    }

    // A saved message with one attachment whose data is `data`, written through a stream in 64 KB writes.
    mapisvc::EntryId SaveAttachment(const std::string& data)
    {
        Ref<IMessage> message = CreateUnsavedMessage(Inbox());
        Ref<IAttach> attach;
        ULONG num = 0;
        EXPECT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
        {
            Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, MAPI_CREATE | MAPI_MODIFY);
            // Sized first, so that an empty value is written too.
            EXPECT_EQ(stream->SetSize(ULARGE_INTEGER{}), S_OK);
            for (size_t offset = 0; offset < data.size(); offset += 65536)
            {
                const ULONG chunk = static_cast<ULONG>(std::min<size_t>(65536, data.size() - offset));
                EXPECT_EQ(stream->Write(data.data() + offset, chunk, nullptr), S_OK);
            }
        }
        EXPECT_EQ(attach->SaveChanges(0), S_OK);
        EXPECT_EQ(message->SaveChanges(0), S_OK);
        return EntryIdOf(message.Get());
    }

    Ref<IAttach> OpenFirstAttachment(IMessage* message, ULONG flags = 0)
    {
        Ref<IAttach> attach;
        EXPECT_EQ(message->OpenAttach(0, nullptr, flags, attach.Out()), S_OK);
        return attach;
    }

    static std::string Pattern(size_t size)
    {
        std::string data(size, '\0');
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 7 + i / 1000);
        return data;
    }

    static ULONGLONG SizeOf(IStream* stream)
    {
        STATSTG stat = {};
        EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
        return stat.cbSize.QuadPart;
    }

    std::string ReadAll(IStream* stream)
    {
        std::string data;
        char chunk[1000];
        ULONG read = 0;
        do
        {
            EXPECT_EQ(stream->Read(chunk, sizeof(chunk), &read), S_OK);
            data.append(chunk, read);
        } while (read == sizeof(chunk));
        return data;
    }
};

TEST_F(StreamTest, WrittenBodyReadsBackAsPropertyAndStream)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    {
        Ref<IStream> stream = Open(message.Get(), PR_BODY_W, MAPI_CREATE | MAPI_MODIFY, STGM_CREATE | STGM_WRITE);
        const char16_t text[] = u"Hello body";
        ULONG written = 0;
        ASSERT_EQ(stream->Write(text, sizeof(text), &written), S_OK); // with its terminator
        EXPECT_EQ(written, sizeof(text));
        // Released without Commit: the write still reaches the message.
    }
    EXPECT_EQ(GetString(message.Get(), PR_BODY_W), u"Hello body");
    Ref<IStream> reader = Open(message.Get(), PR_BODY_W, 0);
    const std::string bytes = ReadAll(reader.Get());
    EXPECT_EQ(bytes.size(), 20u); // the terminator is not part of the stored value
    Ref<IStream> ansi = Open(message.Get(), PR_BODY_A, 0);
    EXPECT_EQ(ReadAll(ansi.Get()), "Hello body");
}

TEST_F(StreamTest, SeekSetSizeAndStat)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    Ref<IStream> stream = Open(message.Get(), PR_HTML, MAPI_CREATE | MAPI_MODIFY);
    ASSERT_EQ(stream->Write("0123456789", 10, nullptr), S_OK);
    LARGE_INTEGER move = {};
    move.QuadPart = -4;
    ULARGE_INTEGER position = {};
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 6u);
    char buffer[8] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(buffer, 8, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "6789");
    move.QuadPart = -20;
    EXPECT_EQ(stream->Seek(move, STREAM_SEEK_CUR, &position), STG_E_INVALIDFUNCTION);

    ULARGE_INTEGER size = {};
    size.QuadPart = 3;
    ASSERT_EQ(stream->SetSize(size), S_OK);
    STATSTG stat = {};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 3u);
    EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
    ASSERT_EQ(stream->Commit(STGC_DEFAULT), S_OK);
    EXPECT_EQ(GetBinary(message.Get(), PR_HTML), (mapisvc::EntryId{'0', '1', '2'}));

    // Writing past the end fills the gap with zeros.
    move.QuadPart = 5;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(stream->Write("x", 1, nullptr), S_OK);
    ASSERT_EQ(stream->Commit(0), S_OK);
    EXPECT_EQ(GetBinary(message.Get(), PR_HTML), (mapisvc::EntryId{'0', '1', '2', 0, 0, 'x'}));
}

TEST_F(StreamTest, OpeningRulesForMissingPropertiesAndReadOnlyStreams)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    Ref<IStream> stream;
    EXPECT_EQ(message->OpenProperty(PR_BODY_W, &IID_IStream, 0, 0, stream.OutUnknown()), MAPI_E_NOT_FOUND);
    EXPECT_EQ(message->OpenProperty(PR_BODY_W, &IID_IMessage, 0, MAPI_CREATE, stream.OutUnknown()),
              MAPI_E_INTERFACE_NOT_SUPPORTED);
    EXPECT_EQ(message->OpenProperty(PR_IMPORTANCE, &IID_IStream, 0, MAPI_CREATE, stream.OutUnknown()),
              MAPI_E_INVALID_TYPE);
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_BODY_W, u"kept")), S_OK);
    Ref<IStream> reader = Open(message.Get(), PR_BODY_W, 0);
    EXPECT_EQ(reader->Write("x", 1, nullptr), STG_E_ACCESSDENIED);
    // MAPI_CREATE starts from an empty value.
    Ref<IStream> writer = Open(message.Get(), PR_BODY_W, MAPI_CREATE | MAPI_MODIFY);
    STATSTG stat = {};
    ASSERT_EQ(writer->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
}

TEST_F(StreamTest, LargeValuesGoInAndOutWithTheSave)
{
    Ref<IMessage> message = CreateUnsavedMessage(Inbox());
    Ref<IAttach> attach;
    ULONG num = 0;
    ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
    std::string data(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 + i / 1000);
    {
        Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, MAPI_CREATE | MAPI_MODIFY);
        for (size_t offset = 0; offset < data.size(); offset += 65536)
        {
            const ULONG chunk = static_cast<ULONG>(std::min<size_t>(65536, data.size() - offset));
            ASSERT_EQ(stream->Write(data.data() + offset, chunk, nullptr), S_OK);
        }
        ASSERT_EQ(stream->Commit(0), S_OK);
    }
    ASSERT_EQ(attach->SaveChanges(KEEP_OPEN_READONLY), S_OK);
    attach.Reset();
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    const mapisvc::EntryId id = EntryIdOf(message.Get());
    message.Reset();

    Ref<IMessage> reopened = OpenMessage(Session(), id);
    ASSERT_EQ(reopened->OpenAttach(num, nullptr, 0, attach.Out()), S_OK);
    Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, 0);
    EXPECT_TRUE(ReadAll(stream.Get()) == data);
    EXPECT_EQ(GetBinary(attach.Get(), PR_ATTACH_DATA_BIN).size(), data.size());
}

// Values kept out of line move to and from the store in pieces of a megabyte: every size about a piece's edge
// reads back whole, through the property and through a stream read in pieces of another size.
TEST_F(StreamTest, LargeValuesOfEverySizeAboutAPieceReadBackWhole)
{
    const size_t piece = 1 << 20;
    for (size_t size : {size_t(0), size_t(1), size_t(4097), piece - 1, piece, piece + 1, 10 * piece})
    {
        SCOPED_TRACE(size);
        const std::string data = Pattern(size);
        Ref<IMessage> message = OpenMessage(Session(), SaveAttachment(data));
        Ref<IAttach> attach = OpenFirstAttachment(message.Get());
        Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, 0);
        EXPECT_EQ(SizeOf(stream.Get()), size);
        std::string read;
        std::string chunk(300007, '\0');
        ULONG got = 0;
        do
        {
            ASSERT_EQ(stream->Read(chunk.data(), static_cast<ULONG>(chunk.size()), &got), S_OK);
            read.append(chunk.data(), got);
        } while (got == chunk.size());
        EXPECT_TRUE(read == data);
        const mapisvc::EntryId whole = GetBinary(attach.Get(), PR_ATTACH_DATA_BIN);
        EXPECT_TRUE(std::string(whole.begin(), whole.end()) == data);
    }
}

TEST_F(StreamTest, StoredValueReadInKilobytesAcrossReadAheadWindowsReadsBackWhole)
{
    const std::string data = Pattern(3 * 65536 + 100);
    Ref<IMessage> message = OpenMessage(Session(), SaveAttachment(data));
    Ref<IAttach> attach = OpenFirstAttachment(message.Get());
    Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, 0);
    std::string read;
    char chunk[1024];
    ULONG got = 0;
    do
    {
        ASSERT_EQ(stream->Read(chunk, sizeof(chunk), &got), S_OK);
        read.append(chunk, got);
    } while (got == sizeof(chunk));
    EXPECT_TRUE(read == data);
    // Backwards into a window read before.
    LARGE_INTEGER move = {};
    move.QuadPart = 65530;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(stream->Read(chunk, 12, &got), S_OK);
    EXPECT_EQ(std::string(chunk, got), data.substr(65530, 12));
}

TEST_F(StreamTest, StoredValueReadsInPartsFromAnyPosition)
{
    const size_t piece = 1 << 20;
    const std::string data = Pattern(piece + 5);
    Ref<IMessage> message = OpenMessage(Session(), SaveAttachment(data));
    Ref<IAttach> attach = OpenFirstAttachment(message.Get());
    Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, 0);
    LARGE_INTEGER move = {};
    move.QuadPart = piece - 2;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    char buffer[16] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), data.substr(piece - 2, 4));
    // A read that asks for more than is left gets what is left, then nothing.
    ASSERT_EQ(stream->Read(buffer, sizeof(buffer), &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), data.substr(piece + 2));
    ASSERT_EQ(stream->Read(buffer, sizeof(buffer), &read), S_OK);
    EXPECT_EQ(read, 0u);
    move.QuadPart = -3;
    ULARGE_INTEGER position = {};
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, piece + 2);
    EXPECT_EQ(stream->Write("x", 1, nullptr), STG_E_ACCESSDENIED);
    EXPECT_EQ(stream->Revert(), MAPI_E_NO_SUPPORT);
}

TEST_F(StreamTest, StoredValueWrittenInPlaceKeepsTheRestAndSavesWithTheMessage)
{
    const std::string data = Pattern(200000);
    const mapisvc::EntryId id = SaveAttachment(data);
    {
        Ref<IMessage> message = OpenMessage(Session(), id);
        Ref<IAttach> attach = OpenFirstAttachment(message.Get(), MAPI_MODIFY);
        Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, MAPI_MODIFY);
        LARGE_INTEGER move = {};
        move.QuadPart = 100000;
        ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
        ASSERT_EQ(stream->Write("xyz", 3, nullptr), S_OK);
        ULARGE_INTEGER size = {};
        size.QuadPart = 150000;
        ASSERT_EQ(stream->SetSize(size), S_OK);
        EXPECT_EQ(SizeOf(stream.Get()), 150000u);
        ASSERT_EQ(stream->Commit(0), S_OK);
        stream.Reset();
        ASSERT_EQ(attach->SaveChanges(0), S_OK);
        ASSERT_EQ(message->SaveChanges(0), S_OK);
    }
    std::string expected = data.substr(0, 150000);
    expected.replace(100000, 3, "xyz");
    Ref<IMessage> message = OpenMessage(Session(), id);
    Ref<IAttach> attach = OpenFirstAttachment(message.Get());
    Ref<IStream> stream = Open(attach.Get(), PR_ATTACH_DATA_BIN, 0);
    EXPECT_TRUE(ReadAll(stream.Get()) == expected);
}

TEST_F(StreamTest, StreamOverAValueReplacedMeanwhileFailsInsteadOfMixingTwoValues)
{
    const std::string data = Pattern(300000);
    const mapisvc::EntryId id = SaveAttachment(data);
    Ref<IMessage> reader = OpenMessage(Session(), id);
    Ref<IAttach> readerAttach = OpenFirstAttachment(reader.Get());
    Ref<IStream> stream = Open(readerAttach.Get(), PR_ATTACH_DATA_BIN, 0);
    char buffer[1000] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(buffer, sizeof(buffer), &read), S_OK);
    {
        Ref<IMessage> writer = OpenMessage(Session(), id);
        Ref<IAttach> attach = OpenFirstAttachment(writer.Get(), MAPI_MODIFY);
        const std::string other = Pattern(300001);
        ASSERT_EQ(SetOne(attach.Get(), BinaryValue(PR_ATTACH_DATA_BIN, mapisvc::EntryId(other.begin(), other.end()))),
                  S_OK);
        ASSERT_EQ(attach->SaveChanges(0), S_OK);
        ASSERT_EQ(writer->SaveChanges(0), S_OK);
    }
    // Past what was read ahead before the value was replaced.
    LARGE_INTEGER move = {};
    move.QuadPart = 200000;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    EXPECT_EQ(stream->Read(buffer, sizeof(buffer), &read), STG_E_READFAULT);
}

TEST_F(StreamTest, LargeValueOfTheMessageItselfReadsInPiecesFromTheStore)
{
    const std::string html = Pattern(50000);
    mapisvc::EntryId id;
    {
        Ref<IMessage> message = CreateUnsavedMessage(Inbox());
        ASSERT_EQ(SetOne(message.Get(), BinaryValue(PR_HTML, mapisvc::EntryId(html.begin(), html.end()))), S_OK);
        ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
        id = EntryIdOf(message.Get());
    }
    Ref<IMessage> message = OpenMessage(Session(), id);
    Ref<IStream> stream = Open(message.Get(), PR_HTML, 0);
    EXPECT_EQ(SizeOf(stream.Get()), html.size());
    EXPECT_TRUE(ReadAll(stream.Get()) == html);
    const mapisvc::EntryId whole = GetBinary(message.Get(), PR_HTML);
    EXPECT_TRUE(std::string(whole.begin(), whole.end()) == html);
}
} // namespace
