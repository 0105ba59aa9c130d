// The data file's value forms into the service's stored form, the code page of a locale, the file's folder
// identifiers, and the message image that keeps an attached message inside its attachment.
#include "platform/mapi/MessageImage.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/pst/FolderRoles.h"
#include "platform/mapi/pst/LocaleCodePage.h"
#include "platform/mapi/pst/PstValue.h"

#include <gtest/gtest.h>

using namespace mapisvc;
using namespace mapisvc::pst;

namespace
{
std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

std::u16string TextOf(const Prop& prop)
{
    return BytesToUtf16(prop.data);
}

TEST(FileValueTest, BooleansOfOneByteBecomeTheStoredTwo)
{
    Prop prop;
    ASSERT_TRUE(DecodeFileValue(PROP_TAG(PT_BOOLEAN, 0x0E1B), Bytes({0x01}), 1252, prop));
    EXPECT_EQ(prop.data, Bytes({0x01, 0x00}));
    ASSERT_TRUE(DecodeFileValue(PROP_TAG(PT_BOOLEAN, 0x0E1B), Bytes({0x00, 0x00, 0x00, 0x00}), 1252, prop));
    EXPECT_EQ(prop.data, Bytes({0x00, 0x00}));
    EXPECT_FALSE(DecodeFileValue(PROP_TAG(PT_BOOLEAN, 0x0E1B), std::string(), 1252, prop));
}

TEST(FileValueTest, FixedSizeValuesMustHaveTheirSize)
{
    Prop prop;
    ASSERT_TRUE(DecodeFileValue(PR_MESSAGE_FLAGS, Bytes({0x09, 0, 0, 0}), 1252, prop));
    EXPECT_EQ(DecodeLong(prop.data), 9);
    EXPECT_FALSE(DecodeFileValue(PR_MESSAGE_FLAGS, Bytes({0x09, 0, 0}), 1252, prop));
    EXPECT_FALSE(DecodeFileValue(PR_MESSAGE_DELIVERY_TIME, Bytes({1, 2, 3, 4}), 1252, prop));
    EXPECT_FALSE(DecodeFileValue(PROP_TAG(PT_OBJECT, 0x3701), Bytes({1, 2, 3, 4}), 1252, prop));
    EXPECT_EQ(prop.tag, PR_MESSAGE_FLAGS); // a failed decode leaves the value as it was
}

TEST(FileValueTest, AnsiStringsBecomeUnicodeInTheirCodePage)
{
    Prop prop;
    // "日本語" in code page 932, with the terminator some writers keep.
    ASSERT_TRUE(
        DecodeFileValue(PROP_TAG(PT_STRING8, 0x0037), Bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0}), 932, prop));
    EXPECT_EQ(prop.tag, PR_SUBJECT_W);
    EXPECT_EQ(TextOf(prop), u"日本語");
    ASSERT_TRUE(DecodeFileValue(PROP_TAG(PT_STRING8, 0x0037), Bytes({'c', 0xE9}), 1252, prop));
    EXPECT_EQ(TextOf(prop), u"cé");
    ASSERT_TRUE(DecodeFileValue(PR_SUBJECT_W, Bytes({'a', 0, 'b', 0, 0, 0}), 1252, prop));
    EXPECT_EQ(TextOf(prop), u"ab");
}

TEST(FileValueTest, MultiValuedStringsFollowTheirOffsets)
{
    // Two elements: a count, two offsets from the value's start, "ab" and "c".
    const std::string bytes = Bytes({2, 0, 0, 0, 12, 0, 0, 0, 14, 0, 0, 0, 'a', 'b', 'c'});
    Prop prop;
    ASSERT_TRUE(DecodeFileValue(PROP_TAG(PT_MV_STRING8, 0x8001), bytes, 1252, prop));
    EXPECT_EQ(prop.tag, PROP_TAG(PT_MV_UNICODE, 0x8001));
    const auto elements = SplitMultiValue(prop.data, PT_MV_UNICODE);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(BytesToUtf16(elements[0]), u"ab");
    EXPECT_EQ(BytesToUtf16(elements[1]), u"c");

    // Offsets into the table, past the end or going backwards are refused.
    EXPECT_FALSE(
        DecodeFileValue(PROP_TAG(PT_MV_BINARY, 0x8001), Bytes({2, 0, 0, 0, 4, 0, 0, 0, 12, 0, 0, 0}), 0, prop));
    EXPECT_FALSE(DecodeFileValue(PROP_TAG(PT_MV_BINARY, 0x8001), Bytes({1, 0, 0, 0, 99, 0, 0, 0}), 0, prop));
    EXPECT_FALSE(
        DecodeFileValue(PROP_TAG(PT_MV_BINARY, 0x8001), Bytes({2, 0, 0, 0, 13, 0, 0, 0, 12, 0, 0, 0, 1}), 0, prop));
    EXPECT_FALSE(DecodeFileValue(PROP_TAG(PT_MV_BINARY, 0x8001), Bytes({0xFF, 0xFF, 0xFF, 0x7F}), 0, prop));
}

TEST(FileValueTest, MultiValuedFixedValuesArePacked)
{
    Prop prop;
    ASSERT_TRUE(DecodeFileValue(PROP_TAG(PT_MV_LONG, 0x8002), Bytes({1, 0, 0, 0, 2, 0, 0, 0}), 0, prop));
    EXPECT_EQ(prop.data, Bytes({2, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_FALSE(DecodeFileValue(PROP_TAG(PT_MV_LONG, 0x8002), Bytes({1, 0, 0, 0, 2}), 0, prop));
}

TEST(FileValueTest, UnknownCodePagesFallBackToTheProcesssOne)
{
    EXPECT_EQ(TextFromCodePage(Bytes({'a', 'b'}), 59999), u"ab");
    EXPECT_EQ(TextFromCodePage(std::string(3, '\0'), 1252), u"");
}

TEST(LocaleCodePageTest, GivesWindowsAnsiCodePages)
{
    EXPECT_EQ(AnsiCodePageOfLocale(0x0411), 932u);  // Japanese
    EXPECT_EQ(AnsiCodePageOfLocale(0x0804), 936u);  // Chinese (PRC)
    EXPECT_EQ(AnsiCodePageOfLocale(0x0404), 950u);  // Chinese (Taiwan)
    EXPECT_EQ(AnsiCodePageOfLocale(0x0412), 949u);  // Korean
    EXPECT_EQ(AnsiCodePageOfLocale(0x0419), 1251u); // Russian
    EXPECT_EQ(AnsiCodePageOfLocale(0x0415), 1250u); // Polish
    EXPECT_EQ(AnsiCodePageOfLocale(0x041A), 1250u); // Croatian
    EXPECT_EQ(AnsiCodePageOfLocale(0x0C1A), 1251u); // Serbian (Cyrillic)
    EXPECT_EQ(AnsiCodePageOfLocale(0x0409), 1252u); // English (US)
    EXPECT_EQ(AnsiCodePageOfLocale(0x0000), 0u);
}

TEST(FolderIdentifierTest, NamesTheNodeOfAFilesEntryIdentifier)
{
    std::string id(24, '\0');
    id[20] = 0x22;
    id[21] = static_cast<char>(0x80);
    uint32_t node = 0;
    ASSERT_TRUE(NodeOfEntryId(id, node));
    EXPECT_EQ(node, 0x8022u);
    EXPECT_FALSE(NodeOfEntryId(id.substr(1), node));
    EXPECT_FALSE(NodeOfEntryId(std::string(24, '\0'), node));
}

TEST(MessageImageTest, KeepsPropertiesRecipientsAndAttachments)
{
    MessageImage image;
    image.props.Set(PR_SUBJECT_W, EncodeUnicode(u"outer"));
    image.props.Set(PR_BODY_W, EncodeUnicode(std::u16string(5000, u'x'))); // larger than a blob keeps inline
    SubRecord recipient;
    recipient.key = 3;
    recipient.props.Set(PR_DISPLAY_NAME_W, EncodeUnicode(u"Anna"));
    image.recipients.push_back(recipient);
    SubRecord attachment;
    attachment.key = 7;
    MessageImage inner;
    inner.props.Set(PR_SUBJECT_W, EncodeUnicode(u"inner"));
    attachment.props.Set(kEmbeddedMessageTag, SerializeMessageImage(inner));
    image.attachments.push_back(attachment);

    MessageImage read;
    ASSERT_TRUE(ParseMessageImage(SerializeMessageImage(image), read));
    EXPECT_EQ(BytesToUtf16(read.props.Find(PROP_ID(PR_SUBJECT))->data), u"outer");
    EXPECT_EQ(read.props.Find(PROP_ID(PR_BODY))->data.size(), 10000u);
    ASSERT_EQ(read.recipients.size(), 1u);
    EXPECT_EQ(read.recipients[0].key, 3u);
    ASSERT_EQ(read.attachments.size(), 1u);
    MessageImage readInner;
    ASSERT_TRUE(ParseMessageImage(read.attachments[0].props.Find(PROP_ID(PR_ATTACH_DATA_OBJ))->data, readInner));
    EXPECT_EQ(BytesToUtf16(readInner.props.Find(PROP_ID(PR_SUBJECT))->data), u"inner");
}

TEST(MessageImageTest, RefusesWhatIsNotAWholeImage)
{
    MessageImage image;
    image.props.Set(PR_SUBJECT_W, EncodeUnicode(u"outer"));
    const std::string bytes = SerializeMessageImage(image);
    MessageImage read;
    EXPECT_FALSE(ParseMessageImage(bytes.substr(0, bytes.size() - 1), read));
    EXPECT_FALSE(ParseMessageImage(bytes + "x", read));
    EXPECT_FALSE(ParseMessageImage("XIMG" + bytes.substr(4), read));
    // A count that claims more properties than the bytes hold.
    std::string claim = bytes;
    claim[4] = static_cast<char>(0xFF);
    claim[7] = 0x7F;
    EXPECT_FALSE(ParseMessageImage(claim, read));
    EXPECT_EQ(read.props.Size(), 0u);
}
} // namespace
