// Seeds of the .msg reader as the library's writer lays the file out: a message with a value of every type, a
// recipient, a file attachment and an attached message that holds an attachment of its own. Small beside
// Outlook's samples (which the target takes at run time), so that mutations reach the layout code quickly.
#include "seeds/SampleProps.h"
#include "seeds/SeedWriter.h"

#include "platform/mapi/msg/MessageLayout.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace mapisvc;

namespace
{
SubRecord Record(ULONG key, PropertyBag props)
{
    SubRecord record;
    record.key = key;
    record.props = std::move(props);
    return record;
}

SubRecord FileAttachment(ULONG key, const std::u16string& name, const std::string& bytes)
{
    PropertyBag props;
    props.Set(PR_ATTACH_METHOD, EncodeLong(ATTACH_BY_VALUE));
    props.Set(PR_ATTACH_LONG_FILENAME_W, EncodeUnicode(name));
    props.Set(PR_ATTACH_DATA_BIN, bytes);
    return Record(key, std::move(props));
}

MessageImage InnerMessage()
{
    MessageImage inner;
    inner.props.Set(PR_MESSAGE_CLASS_W, EncodeUnicode(u"IPM.Note"));
    inner.props.Set(PR_SUBJECT_W, EncodeUnicode(u"Forwarded"));
    inner.attachments.push_back(FileAttachment(0, u"inner.txt", "inner bytes"));
    return inner;
}

MessageImage OuterMessage()
{
    MessageImage outer;
    outer.props = SampleProps();
    outer.props.Set(PR_MESSAGE_CLASS_W, EncodeUnicode(u"IPM.Note"));
    PropertyBag recipient;
    recipient.Set(PR_DISPLAY_NAME_W, EncodeUnicode(u"Anna Berg"));
    recipient.Set(PR_EMAIL_ADDRESS_W, EncodeUnicode(u"anna@example.com"));
    recipient.Set(PR_RECIPIENT_TYPE, EncodeLong(MAPI_TO));
    outer.recipients.push_back(Record(0, std::move(recipient)));
    outer.attachments.push_back(FileAttachment(0, u"sheet.csv", "a,b\r\n1,2\r\n"));
    PropertyBag attached;
    attached.Set(PR_ATTACH_METHOD, EncodeLong(ATTACH_EMBEDDED_MSG));
    attached.Set(kEmbeddedMessageTag, SerializeMessageImage(InnerMessage()));
    outer.attachments.push_back(Record(1, std::move(attached)));
    return outer;
}

// The compound file's bytes, through a temporary file: the writer saves only to a path.
std::string FileBytes(const msg::StorageNode& root)
{
    char path[] = "/tmp/mapipim-msg-seed-XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0)
        return std::string();
    close(descriptor);
    std::string bytes;
    if (msg::SaveCompoundFile(path, root) == S_OK)
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::remove(path);
    return bytes;
}
} // namespace

void WriteMsgSeeds(SeedWriter& writer)
{
    msg::StorageNode root;
    std::string why;
    if (!msg::WriteMessage(OuterMessage(), root, why))
        return writer.Fail("msg_file_fuzzer", why);
    const std::string bytes = FileBytes(root);
    if (bytes.empty())
        return writer.Fail("msg_file_fuzzer", "the compound file could not be written");
    writer.Write("msg_file_fuzzer", "ours.msg", bytes);
}
