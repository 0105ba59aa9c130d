// The message of an Outlook item file: StgOpenStorage / StgCreateDocfile over libgsf, OpenIMsgOnIStg, and
// CopyTo between the file's message and a store's.
#include "support/MsgSamples.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

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
                               STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED, 0,
                               storage.Out()),
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
