// The sizes of an item's attachments as the store keeps them, read for the bar of "attachments save".
#include "tools/mapipim/AttachmentSizes.h"

#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

using cli::AttachmentSizeAt;
using cli::ReadAttachmentSizes;

namespace
{
class AttachmentSizesTest : public DefaultStoreTest
{
protected:
    void Attach(IMessage* message, size_t contentBytes)
    {
        ULONG num = 0;
        Ref<IAttach> attach;
        ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
        const mapisvc::EntryId content(contentBytes, 0x5A);
        ASSERT_EQ(SetOne(attach.Get(), BinaryValue(PR_ATTACH_DATA_BIN, content)), S_OK);
        ASSERT_EQ(attach->SaveChanges(KEEP_OPEN_READONLY), S_OK);
    }

    // A saved message in the Inbox with attachments of these content sizes, in this order.
    mapisvc::EntryId MessageWith(const std::vector<size_t>& contentSizes)
    {
        Ref<IMessage> message = CreateUnsavedMessage(Inbox());
        for (size_t bytes : contentSizes)
            Attach(message.Get(), bytes);
        EXPECT_EQ(message->SaveChanges(KEEP_OPEN_READONLY), S_OK);
        return EntryIdOf(message.Get());
    }
};

TEST_F(AttachmentSizesTest, EachAttachmentHasItsSizeAtItsPosition)
{
    const mapisvc::EntryId id = MessageWith({70000, 10, 3000});
    const std::vector<std::int64_t> sizes = ReadAttachmentSizes(Session(), AsSBinary(id));
    ASSERT_EQ(sizes.size(), 3u);
    // The size counts the content and the attachment's other properties.
    EXPECT_GE(sizes[0], 70000);
    EXPECT_GE(sizes[1], 10);
    EXPECT_GE(sizes[2], 3000);
    EXPECT_GT(sizes[0], sizes[2]);
    EXPECT_GT(sizes[2], sizes[1]);
    EXPECT_LT(sizes[0], 70000 + 1000) << "no more than a little beside the content";
}

TEST_F(AttachmentSizesTest, AMessageWithoutAttachmentsHasNoSizes)
{
    EXPECT_TRUE(ReadAttachmentSizes(Session(), AsSBinary(MessageWith({}))).empty());
}

TEST_F(AttachmentSizesTest, AnEntryThatIsNoMessageHasNoSizes)
{
    const mapisvc::EntryId inbox = EntryIdOf(Inbox());
    EXPECT_TRUE(ReadAttachmentSizes(Session(), AsSBinary(inbox)).empty());
}

TEST_F(AttachmentSizesTest, AnIdentifierOfNothingHasNoSizes)
{
    mapisvc::EntryId id = MessageWith({5});
    id.back() ^= 0xFF;
    EXPECT_TRUE(ReadAttachmentSizes(Session(), AsSBinary(id)).empty());
    EXPECT_TRUE(ReadAttachmentSizes(nullptr, AsSBinary(id)).empty());
}

TEST(AttachmentSizeAtTest, APositionOutsideTheListHasNoKnownSize)
{
    const std::vector<std::int64_t> sizes = {100, 200};
    EXPECT_EQ(AttachmentSizeAt(sizes, 1), 200);
    EXPECT_EQ(AttachmentSizeAt(sizes, 2), 0);
    EXPECT_EQ(AttachmentSizeAt(sizes, -1), 0);
    EXPECT_EQ(AttachmentSizeAt({}, 0), 0);
}
} // namespace
