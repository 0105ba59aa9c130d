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
} // namespace
