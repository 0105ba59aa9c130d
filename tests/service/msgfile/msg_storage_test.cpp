// The message of an Outlook item file: StgOpenStorage / StgCreateDocfile over libgsf, OpenIMsgOnIStg, and
// CopyTo between the file's message and a store's.
#include "support/MsgSamples.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include "platform/mapi/MessageCopy.h"
#include "platform/trace/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

Ref<IMessage> OpenFileMessage(const fs::path& path, Ref<IStorage>& storage)
{
    const std::u16string wide = msgtest::WidePath(path);
    EXPECT_EQ(StgOpenStorage(reinterpret_cast<const WCHAR*>(wide.c_str()), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE,
                             nullptr, 0, storage.Out()),
              S_OK);
    Ref<IMessage> message;
    if (storage)
        EXPECT_EQ(OpenIMsgOnIStg(nullptr, MAPIAllocateBuffer, MAPIAllocateMore, MAPIFreeBuffer, MAPIGetDefaultMalloc(),
                                 nullptr, storage.Get(), nullptr, 0, 0, message.Out()),
                  S_OK);
    return message;
}

Ref<IMessage> CreateFileMessage(const fs::path& path, Ref<IStorage>& storage)
{
    const std::u16string wide = msgtest::WidePath(path);
    EXPECT_EQ(StgCreateDocfile(reinterpret_cast<const WCHAR*>(wide.c_str()),
                               STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED, 0, storage.Out()),
              S_OK);
    Ref<IMessage> message;
    if (storage)
        EXPECT_EQ(OpenIMsgOnIStg(nullptr, MAPIAllocateBuffer, MAPIAllocateMore, MAPIFreeBuffer, MAPIGetDefaultMalloc(),
                                 nullptr, storage.Get(), nullptr, 0, MAPI_UNICODE, message.Out()),
                  S_OK);
    return message;
}

class MsgStorageTest : public DefaultStoreTest
{
protected:
    fs::path Scratch(const std::string& name) const { return fs::path(Home()) / name; }
};

TEST_F(MsgStorageTest, EverySampleOpensWithItsSubject)
{
    const auto names = msgtest::SampleNames();
    if (names.empty())
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    for (const std::string& name : names)
    {
        SCOPED_TRACE(name);
        Ref<IStorage> storage;
        Ref<IMessage> message = OpenFileMessage(*msgtest::Sample(name), storage);
        ASSERT_TRUE(message);
        EXPECT_FALSE(GetString(message.Get(), PR_MESSAGE_CLASS_W).empty());
    }
}

TEST_F(MsgStorageTest, SampleCopiesIntoStoreAndBackOut)
{
    const auto sample = msgtest::Sample("mail_msg_in_msg.msg");
    if (!sample)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    Ref<IStorage> storage;
    Ref<IMessage> file = OpenFileMessage(*sample, storage);
    ASSERT_TRUE(file);
    Ref<IMessage> stored = CreateUnsavedMessage(Inbox());
    ASSERT_EQ(file->CopyTo(0, nullptr, nullptr, 0, nullptr, &IID_IMessage, stored.Get(), 0, nullptr), S_OK);
    ASSERT_EQ(stored->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(GetString(stored.Get(), PR_SUBJECT_W), GetString(file.Get(), PR_SUBJECT_W));

    Ref<IStorage> outStorage;
    Ref<IMessage> out = CreateFileMessage(Scratch("out.msg"), outStorage);
    ASSERT_TRUE(out);
    ASSERT_EQ(stored->CopyTo(0, nullptr, nullptr, 0, nullptr, &IID_IMessage, out.Get(), 0, nullptr), S_OK);
    ASSERT_EQ(out->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    out = Ref<IMessage>();
    outStorage = Ref<IStorage>();

    Ref<IStorage> againStorage;
    Ref<IMessage> again = OpenFileMessage(Scratch("out.msg"), againStorage);
    ASSERT_TRUE(again);
    EXPECT_EQ(GetString(again.Get(), PR_SUBJECT_W), GetString(file.Get(), PR_SUBJECT_W));
}
} // namespace

namespace
{
std::string AttachmentBytes(IMessage* message, ULONG num)
{
    Ref<IAttach> attach;
    EXPECT_EQ(message->OpenAttach(num, nullptr, 0, attach.Out()), S_OK);
    if (!attach)
        return std::string();
    Ref<IStream> stream;
    EXPECT_EQ(attach->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, 0, stream.OutUnknown()), S_OK);
    std::string bytes;
    char chunk[4096];
    ULONG read = 0;
    while (stream && stream->Read(chunk, sizeof(chunk), &read) == S_OK && read)
        bytes.append(chunk, read);
    return bytes;
}

TEST_F(MsgStorageTest, AttachmentBytesSurviveTheStore)
{
    const auto sample = msgtest::Sample("mail_attachments_doc_txt.msg");
    if (!sample)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    Ref<IStorage> storage;
    Ref<IMessage> file = OpenFileMessage(*sample, storage);
    ASSERT_TRUE(file);
    const std::string first = AttachmentBytes(file.Get(), 0);
    ASSERT_EQ(first.size(), 24064u);
    Ref<IMessage> stored = CreateUnsavedMessage(Inbox());
    ASSERT_EQ(file->CopyTo(0, nullptr, nullptr, 0, nullptr, &IID_IMessage, stored.Get(), 0, nullptr), S_OK);
    ASSERT_EQ(stored->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(AttachmentBytes(stored.Get(), 0).size(), first.size());
    EXPECT_TRUE(AttachmentBytes(stored.Get(), 0) == first);
    const mapisvc::EntryId id = EntryIdOf(stored.Get());
    stored = Ref<IMessage>();
    Ref<IMessage> reopened = OpenMessage(Session(), id);
    ASSERT_TRUE(reopened);
    EXPECT_TRUE(AttachmentBytes(reopened.Get(), 0) == first);
}
} // namespace

// ---- Hostile files, built here: each is refused with a failure, never a crash, a hang or a huge allocation.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstring>
#include <fstream>

namespace
{
std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteStream(GsfOutfile* parent, const char* name, const std::string& bytes)
{
    GsfOutput* stream = gsf_outfile_new_child(parent, name, FALSE);
    gsf_output_write(stream, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
    gsf_output_close(stream);
    g_object_unref(stream);
}

// A message whose single attachment holds a message, and so on `depth` times.
void WriteNested(GsfOutfile* storage, int depth, bool top)
{
    WriteStream(storage, "__properties_version1.0", std::string(top ? 32 : 24, '\0'));
    if (depth == 0)
        return;
    GsfOutfile* attachment = GSF_OUTFILE(gsf_outfile_new_child(storage, "__attach_version1.0_#00000000", TRUE));
    std::string props(8, '\0');
    const uint32_t entry[4] = {PR_ATTACH_METHOD, 6, ATTACH_EMBEDDED_MSG, 0};
    props.append(reinterpret_cast<const char*>(entry), sizeof(entry));
    WriteStream(attachment, "__properties_version1.0", props);
    GsfOutfile* inner = GSF_OUTFILE(gsf_outfile_new_child(attachment, "__substg1.0_3701000D", TRUE));
    WriteNested(inner, depth - 1, false);
    gsf_output_close(GSF_OUTPUT(inner));
    g_object_unref(inner);
    gsf_output_close(GSF_OUTPUT(attachment));
    g_object_unref(attachment);
}

void WriteNestedFile(const fs::path& path, int depth)
{
    gsf_init();
    GsfOutput* sink = gsf_output_stdio_new(path.c_str(), nullptr);
    GsfOutfile* root = gsf_outfile_msole_new(sink);
    WriteNested(root, depth, true);
    gsf_output_close(GSF_OUTPUT(root));
    g_object_unref(root);
    g_object_unref(sink);
}

// A small valid item file of our own making, with a subject of `subjectSize` characters.
void WriteMessageFile(const fs::path& path, size_t subjectSize)
{
    Ref<IStorage> storage;
    Ref<IMessage> message = CreateFileMessage(path, storage);
    ASSERT_TRUE(message);
    const std::u16string subject(subjectSize, u'x');
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, subject.c_str())), S_OK);
    ASSERT_EQ(message->SaveChanges(0), S_OK);
}

uint32_t U32At(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void PutU32(std::string& bytes, size_t offset, uint32_t value)
{
    std::memcpy(&bytes[offset], &value, 4);
}

HRESULT OpenAsMessage(const fs::path& path)
{
    Ref<IStorage> storage;
    const std::u16string wide = msgtest::WidePath(path);
    HRESULT hr =
        StgOpenStorage(reinterpret_cast<const WCHAR*>(wide.c_str()), nullptr, STGM_READ, nullptr, 0, storage.Out());
    if (FAILED(hr))
        return hr;
    Ref<IMessage> message;
    return OpenIMsgOnIStg(nullptr, MAPIAllocateBuffer, MAPIAllocateMore, MAPIFreeBuffer, MAPIGetDefaultMalloc(),
                          nullptr, storage.Get(), nullptr, 0, 0, message.Out());
}

TEST_F(MsgStorageTest, OurOwnFileOpensAgain)
{
    WriteMessageFile(Scratch("plain.msg"), 10000);
    EXPECT_EQ(OpenAsMessage(Scratch("plain.msg")), S_OK);
}

TEST_F(MsgStorageTest, CyclicSectorChainIsRefused)
{
    WriteMessageFile(Scratch("plain.msg"), 10000);
    std::string bytes = ReadFileBytes(Scratch("plain.msg"));
    // Every entry of the first FAT sector points at its own sector: every chain runs in a circle.
    const uint32_t fatSector = U32At(bytes, 0x4C);
    const size_t fat = (size_t(fatSector) + 1) * 512;
    ASSERT_LE(fat + 512, bytes.size());
    for (uint32_t i = 0; i < 128; ++i)
        if (i != fatSector)
            PutU32(bytes, fat + i * 4, i);
    WriteFileBytes(Scratch("cyclic.msg"), bytes);
    mapipim::TraceCapture trace;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(FAILED(OpenAsMessage(Scratch("cyclic.msg"))));
    // What the compound-file reader found wrong is the trace log's, never the host's standard error.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::vector<CString> lines = trace.GetLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const CString& line) { return line.Find(_T("[MAPI] Compound file: ")) == 0; }));
}

TEST_F(MsgStorageTest, StreamClaimingMoreThanTheFileHoldsIsRefused)
{
    WriteMessageFile(Scratch("plain.msg"), 10000);
    std::string bytes = ReadFileBytes(Scratch("plain.msg"));
    // The subject's directory entry: its name in UTF-16, its size 120 bytes further on.
    const std::u16string name = u"__substg1.0_0037001F";
    const std::string needle(reinterpret_cast<const char*>(name.data()), name.size() * 2);
    const size_t entry = bytes.find(needle);
    ASSERT_NE(entry, std::string::npos);
    for (uint32_t size : {0x7FFFFFF0u, 0xFFFFFFF0u, 20000000u})
    {
        SCOPED_TRACE(size);
        PutU32(bytes, entry + 120, size);
        WriteFileBytes(Scratch("absurd.msg"), bytes);
        EXPECT_TRUE(FAILED(OpenAsMessage(Scratch("absurd.msg"))));
    }
}

TEST_F(MsgStorageTest, TruncatedAndEmptyFilesAreRefused)
{
    WriteMessageFile(Scratch("plain.msg"), 10000);
    const std::string bytes = ReadFileBytes(Scratch("plain.msg"));
    for (size_t size : {size_t(0), size_t(100), size_t(512), bytes.size() / 2, bytes.size() - 1})
    {
        SCOPED_TRACE(size);
        WriteFileBytes(Scratch("cut.msg"), bytes.substr(0, size));
        const HRESULT hr = OpenAsMessage(Scratch("cut.msg"));
        // A cut that only loses unused padding may leave a whole file; what it cannot do is crash or succeed
        // with a message missing its subject.
        if (SUCCEEDED(hr))
            EXPECT_EQ(size, bytes.size() - 1);
    }
}

TEST_F(MsgStorageTest, MessagesNestedAThousandDeepAreRefused)
{
    WriteNestedFile(Scratch("deep.msg"), 1000);
    EXPECT_TRUE(FAILED(OpenAsMessage(Scratch("deep.msg"))));
    // Within the bounds the same construction opens, so the refusal is the depth's.
    WriteNestedFile(Scratch("shallow.msg"), 3);
    EXPECT_EQ(OpenAsMessage(Scratch("shallow.msg")), S_OK);
}

TEST_F(MsgStorageTest, CopyRefusesMessagesNestedBeyondItsBound)
{
    // A chain of attached messages built in memory through MAPI alone, one level deeper than a copy takes.
    Ref<IStorage> storage;
    Ref<IMessage> top = CreateFileMessage(Scratch("chain.msg"), storage);
    ASSERT_TRUE(top);
    std::vector<Ref<IAttach>> attachments;
    std::vector<Ref<IMessage>> messages;
    IMessage* current = top.Get();
    for (int level = 0; level <= mapisvc::kMaxCopyNesting; ++level)
    {
        ULONG num = 0;
        attachments.emplace_back();
        ASSERT_EQ(current->CreateAttach(nullptr, 0, &num, attachments.back().Out()), S_OK);
        ASSERT_EQ(SetOne(attachments.back().Get(), LongValue(PR_ATTACH_METHOD, ATTACH_EMBEDDED_MSG)), S_OK);
        messages.emplace_back();
        ASSERT_EQ(attachments.back()->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, MAPI_CREATE | MAPI_MODIFY,
                                                   messages.back().OutUnknown()),
                  S_OK);
        current = messages.back().Get();
    }
    // Saved from the innermost out, each level into the attachment that holds it.
    for (size_t i = messages.size(); i-- > 0;)
    {
        ASSERT_EQ(messages[i]->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
        ASSERT_EQ(attachments[i]->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    }
    messages.clear();
    attachments.clear();
    Ref<IMessage> stored = CreateUnsavedMessage(Inbox());
    EXPECT_EQ(top->CopyTo(0, nullptr, nullptr, 0, nullptr, &IID_IMessage, stored.Get(), 0, nullptr),
              MAPI_E_TOO_COMPLEX);
}
} // namespace
