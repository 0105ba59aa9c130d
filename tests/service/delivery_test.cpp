// Sending: submission queues a message, AbortSubmit takes it back, and delivering the queue writes an .eml that a
// MIME reader parses back to the message, then files the message as sent or deletes it.
#include "support/MimeReading.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/OutgoingFiles.h"

#include <sys/stat.h>

namespace
{
SPropValue TimeValue(ULONG tag, int64_t ticks)
{
    SPropValue value{};
    value.ulPropTag = tag;
    value.Value.ft.dwLowDateTime = static_cast<DWORD>(ticks);
    value.Value.ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return value;
}

class DeliveryTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        m_outbox = OpenFolderByProp(Store(), PR_IPM_OUTBOX_ENTRYID);
        m_sent = OpenFolderByProp(Store(), PR_IPM_SENTMAIL_ENTRYID);
        ASSERT_TRUE(m_outbox && m_sent);
    }
    void TearDown() override
    {
        m_outbox.Reset();
        m_sent.Reset();
        DefaultStoreTest::TearDown();
    }

    ULONG Count(IMAPIFolder* folder) { return GetLong(folder, PR_CONTENT_COUNT); }

    void AddRecipient(IMessage* message, ULONG type, const char16_t* name, const char16_t* address)
    {
        SPropValue values[] = {LongValue(PR_RECIPIENT_TYPE, static_cast<LONG>(type)),
                               UnicodeValue(PR_DISPLAY_NAME_W, name), UnicodeValue(PR_EMAIL_ADDRESS_W, address),
                               UnicodeValue(PR_ADDRTYPE_W, u"SMTP")};
        ADRLIST list{};
        list.cEntries = 1;
        list.aEntries[0].cValues = 4;
        list.aEntries[0].rgPropVals = values;
        ASSERT_EQ(message->ModifyRecipients(MODRECIP_ADD, &list), S_OK);
    }

    void AddAttachment(IMessage* message, const char16_t* name, const std::string& bytes, const char16_t* type)
    {
        Ref<IAttach> attach;
        ULONG num = 0;
        ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
        SPropValue values[4] = {LongValue(PR_ATTACH_METHOD, ATTACH_BY_VALUE),
                                UnicodeValue(PR_ATTACH_LONG_FILENAME_W, name)};
        values[2].ulPropTag = PR_ATTACH_DATA_BIN;
        values[2].Value.bin.cb = static_cast<ULONG>(bytes.size());
        values[2].Value.bin.lpb = reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data()));
        values[3] = UnicodeValue(PR_ATTACH_MIME_TAG_W, type);
        ASSERT_EQ(attach->SetProps(4, values, nullptr), S_OK);
        ASSERT_EQ(attach->SaveChanges(0), S_OK);
    }

    // A message in the Outbox with a recipient, filed in Sent Items once sent, not yet submitted.
    Ref<IMessage> NewOutgoing(const char16_t* subject, std::vector<SPropValue> values = {})
    {
        Ref<IMessage> message = CreateUnsavedMessage(m_outbox.Get());
        const mapisvc::EntryId sent = EntryIdOf(m_sent.Get());
        values.push_back(UnicodeValue(PR_SUBJECT_W, subject));
        values.push_back(BinaryValue(PR_SENTMAIL_ENTRYID, sent));
        EXPECT_EQ(message->SetProps(static_cast<ULONG>(values.size()), values.data(), nullptr), S_OK);
        AddRecipient(message.Get(), MAPI_TO, u"Someone", u"someone@example.com");
        return message;
    }

    mapisvc::EntryId Submit(Ref<IMessage> message)
    {
        EXPECT_EQ(message->SubmitMessage(0), S_OK);
        return EntryIdOf(message.Get());
    }

    HRESULT AbortSubmit(const mapisvc::EntryId& id)
    {
        return Store()->AbortSubmit(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())), 0);
    }

    Ref<IMAPIFolder> m_outbox, m_sent;
};

TEST_F(DeliveryTest, SubmissionQueuesTheMessageWithItsSubmitTime)
{
    const mapisvc::EntryId id = Submit(NewOutgoing(u"queued"));
    Ref<IMessage> saved = OpenMessage(Session(), id);
    const LONG flags = GetLong(saved.Get(), PR_MESSAGE_FLAGS);
    EXPECT_EQ(flags & (MSGFLAG_SUBMIT | MSGFLAG_UNSENT), MSGFLAG_SUBMIT | MSGFLAG_UNSENT);
    EXPECT_TRUE(HasProp(saved.Get(), PR_CLIENT_SUBMIT_TIME));
    EXPECT_EQ(Count(m_outbox.Get()), 1u); // queued where it is until delivered
}

TEST_F(DeliveryTest, SubmissionKeepsASubmitTimeAlreadySet)
{
    constexpr int64_t kTicks = 132000000000000000LL; // 2019-04-14
    const mapisvc::EntryId id = Submit(NewOutgoing(u"dated", {TimeValue(PR_CLIENT_SUBMIT_TIME, kTicks)}));
    MapiBuffer<SPropValue> value;
    Ref<IMessage> saved = OpenMessage(Session(), id);
    ASSERT_EQ(HrGetOneProp(saved.Get(), PR_CLIENT_SUBMIT_TIME, value.Out()), S_OK);
    const int64_t stored = (int64_t(value->Value.ft.dwHighDateTime) << 32) | value->Value.ft.dwLowDateTime;
    EXPECT_EQ(stored, kTicks);
}

TEST_F(DeliveryTest, AbortSubmitRestoresTheFlagsAndTakesTheMessageOutOfTheQueue)
{
    const mapisvc::EntryId id = Submit(NewOutgoing(u"taken back"));
    ASSERT_EQ(AbortSubmit(id), S_OK);
    EXPECT_EQ(AbortSubmit(id), MAPI_E_NOT_IN_QUEUE);
    Ref<IMessage> saved = OpenMessage(Session(), id);
    EXPECT_EQ(GetLong(saved.Get(), PR_MESSAGE_FLAGS) & (MSGFLAG_SUBMIT | MSGFLAG_UNSENT), MSGFLAG_UNSENT);
    saved.Reset();

    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    EXPECT_TRUE(result.delivered.empty());
    EXPECT_EQ(Count(m_outbox.Get()), 1u);
}

TEST_F(DeliveryTest, WritingTheSubmitFlagDoesNotQueueTheMessage)
{
    // A message whose submission failed (no recipients) must not be sent by the next delivery all the same.
    Ref<IMessage> message = CreateUnsavedMessage(m_outbox.Get());
    ASSERT_EQ(SetOne(message.Get(), LongValue(PR_MESSAGE_FLAGS, MSGFLAG_SUBMIT | MSGFLAG_UNSENT)), S_OK);
    EXPECT_EQ(message->SubmitMessage(0), MAPI_E_NO_RECIPIENTS);
    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    const mapisvc::EntryId id = EntryIdOf(message.Get());
    message.Reset();
    EXPECT_EQ(GetLong(OpenMessage(Session(), id).Get(), PR_MESSAGE_FLAGS) & (MSGFLAG_SUBMIT | MSGFLAG_UNSENT),
              MSGFLAG_UNSENT);
    EXPECT_EQ(AbortSubmit(id), MAPI_E_NOT_IN_QUEUE);
    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    EXPECT_TRUE(result.delivered.empty());
}

TEST_F(DeliveryTest, AQueuedMessageSavedAgainStaysQueued)
{
    const mapisvc::EntryId id = Submit(NewOutgoing(u"still queued"));
    Ref<IMessage> message = OpenMessage(Session(), id);
    ASSERT_EQ(SetOne(message.Get(), LongValue(PR_MESSAGE_FLAGS, MSGFLAG_UNSENT)), S_OK);
    ASSERT_EQ(message->SaveChanges(0), S_OK);
    message.Reset();
    EXPECT_EQ(AbortSubmit(id), S_OK);
}

TEST_F(DeliveryTest, AbortSubmitOfAMessageNeverSubmittedIsNotInQueue)
{
    const mapisvc::EntryId id = CreateMessage(m_outbox.Get(), u"draft");
    EXPECT_EQ(AbortSubmit(id), MAPI_E_NOT_IN_QUEUE);
}

TEST_F(DeliveryTest, DeliveryWritesTheMessageAsMimeAndFilesItInSentItems)
{
    Ref<IMessage> message = NewOutgoing(u"Grüße aus Köln — 東京",
                                        {UnicodeValue(PR_SENDER_NAME_W, u"Zoë Sender"),
                                         UnicodeValue(PR_SENDER_EMAIL_ADDRESS_W, u"zoe@example.org"),
                                         UnicodeValue(PR_SENT_REPRESENTING_NAME_W, u"Zoë Sender"),
                                         UnicodeValue(PR_SENT_REPRESENTING_EMAIL_ADDRESS_W, u"zoe@example.org"),
                                         UnicodeValue(PR_BODY_W, u"Hallo Welt, ça va?\r\nZweite Zeile"),
                                         LongValue(PR_IMPORTANCE, IMPORTANCE_HIGH), LongValue(PR_SENSITIVITY, 2)});
    const std::string html = "<html><body><p>Hallo <b>Welt</b></p></body></html>";
    SPropValue htmlValue{};
    htmlValue.ulPropTag = PR_HTML;
    htmlValue.Value.bin.cb = static_cast<ULONG>(html.size());
    htmlValue.Value.bin.lpb = reinterpret_cast<LPBYTE>(const_cast<char*>(html.data()));
    ASSERT_EQ(SetOne(message.Get(), htmlValue), S_OK);
    AddRecipient(message.Get(), MAPI_CC, u"Lopez, Maria", u"maria@example.com");
    AddRecipient(message.Get(), MAPI_BCC, u"hidden@example.net", u"hidden@example.net");
    std::string binary(70000, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) & 0xFF);
    AddAttachment(message.Get(), u"Übersicht.bin", binary, u"application/octet-stream");
    AddAttachment(message.Get(), u"notes.txt", "plain words\n", u"text/plain");
    const mapisvc::EntryId id = Submit(std::move(message));

    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    EXPECT_TRUE(result.failed.empty());
    const std::string file = result.delivered[0].file;
    EXPECT_EQ(file.rfind(mapisvc::GetOutgoingDirectory() + "/", 0), 0u) << file;
    EXPECT_EQ(file.substr(file.size() - 4), ".eml");

    const ParsedMail mail = ParseMailFile(file);
    ASSERT_TRUE(mail.parsed);
    EXPECT_EQ(mail.subject, "Grüße aus Köln — 東京");
    EXPECT_NE(mail.rawSubject.find("=?"), std::string::npos) << "8-bit text in a header is encoded";
    ASSERT_EQ(mail.from.size(), 1u);
    EXPECT_EQ(mail.from[0].name, "Zoë Sender");
    EXPECT_EQ(mail.from[0].address, "zoe@example.org");
    ASSERT_EQ(mail.to.size(), 1u);
    EXPECT_EQ(mail.to[0].name, "Someone");
    EXPECT_EQ(mail.to[0].address, "someone@example.com");
    ASSERT_EQ(mail.cc.size(), 1u);
    EXPECT_EQ(mail.cc[0].name, "Lopez, Maria");
    ASSERT_EQ(mail.bcc.size(), 1u);
    EXPECT_EQ(mail.bcc[0].name, "");
    EXPECT_EQ(mail.bcc[0].address, "hidden@example.net");
    EXPECT_EQ(mail.importance, "high");
    EXPECT_EQ(mail.sensitivity, "Private");
    EXPECT_EQ(mail.contentType, "multipart/mixed");
    EXPECT_TRUE(mail.hasText && mail.hasHtml);
    EXPECT_EQ(mail.text, "Hallo Welt, ça va?\r\nZweite Zeile");
    EXPECT_EQ(mail.html, html);
    ASSERT_EQ(mail.attachments.size(), 2u);
    EXPECT_EQ(mail.attachments[0].fileName, "Übersicht.bin");
    EXPECT_EQ(mail.attachments[0].transferEncoding, "base64");
    EXPECT_EQ(mail.attachments[0].bytes, binary);
    EXPECT_EQ(mail.attachments[1].mimeType, "text/plain");
    EXPECT_EQ(mail.attachments[1].bytes, "plain words\n");
    const std::string raw = ReadWholeFile(file);
    EXPECT_NE(raw.find("\r\n"), std::string::npos);
    EXPECT_EQ(raw.find("\n\n"), std::string::npos) << "every line ends in CRLF";

    EXPECT_EQ(Count(m_outbox.Get()), 0u);
    EXPECT_EQ(Count(m_sent.Get()), 1u);
    ASSERT_FALSE(result.delivered[0].message.empty());
    Ref<IMessage> sent = OpenMessage(Session(), result.delivered[0].message);
    const LONG flags = GetLong(sent.Get(), PR_MESSAGE_FLAGS);
    EXPECT_EQ(flags & (MSGFLAG_SUBMIT | MSGFLAG_UNSENT), 0);
    EXPECT_NE(flags & MSGFLAG_READ, 0);
    EXPECT_TRUE(HasProp(sent.Get(), PR_MESSAGE_DELIVERY_TIME));
    EXPECT_EQ(GetString(sent.Get(), PR_SUBJECT_W), u"Grüße aus Köln — 東京");
    EXPECT_EQ(EntryIdOf(sent.Get()), id);
}

TEST_F(DeliveryTest, OnlyTheTextBodyGivesOneTextPart)
{
    Submit(NewOutgoing(u"plain", {UnicodeValue(PR_BODY_W, u"just text")}));
    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    const ParsedMail mail = ParseMailFile(result.delivered[0].file);
    EXPECT_EQ(mail.contentType, "text/plain");
    EXPECT_EQ(mail.text, "just text\r\n"); // a message's last line ends in a line break
    EXPECT_FALSE(mail.hasHtml);
    EXPECT_TRUE(mail.attachments.empty());
}

// Outlook's RTF editor saves only PR_RTF_COMPRESSED: the recipient still gets the words, as HTML when the RTF
// encapsulates HTML and as text otherwise.
TEST_F(DeliveryTest, AMessageWrittenOnlyInRtfIsDeliveredWithItsBody)
{
    const std::string ownRtf = mapisvc::CompressRtf("{\\rtf1\\ansi\\ansicpg1252 Written in RTF\\par}");
    const std::string htmlRtf = mapisvc::CompressRtf(
        "{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag <p>}Encapsulated{\\*\\htmltag </p>}}");
    Submit(NewOutgoing(u"rtf text", {BinaryValue(PR_RTF_COMPRESSED, mapisvc::EntryId(ownRtf.begin(), ownRtf.end()))}));
    Submit(NewOutgoing(u"rtf html", {BinaryValue(PR_RTF_COMPRESSED, mapisvc::EntryId(htmlRtf.begin(), htmlRtf.end()))}));

    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 2u);
    for (const auto& delivered : result.delivered)
    {
        const ParsedMail mail = ParseMailFile(delivered.file);
        if (mail.subject == "rtf text")
        {
            EXPECT_TRUE(mail.hasText && !mail.hasHtml);
            EXPECT_NE(mail.text.find("Written in RTF"), std::string::npos) << mail.text;
        }
        else
        {
            EXPECT_EQ(mail.subject, "rtf html");
            EXPECT_TRUE(mail.hasHtml && !mail.hasText);
            EXPECT_EQ(mail.html, "<p>Encapsulated</p>\r\n"); // a message's last line ends in a line break
        }
    }
}

TEST_F(DeliveryTest, DeleteAfterSubmitRemovesTheMessageOnceWritten)
{
    Submit(NewOutgoing(u"gone after sending", {BoolValue(PR_DELETE_AFTER_SUBMIT, true)}));
    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    EXPECT_TRUE(result.delivered[0].message.empty());
    EXPECT_EQ(ParseMailFile(result.delivered[0].file).subject, "gone after sending");
    EXPECT_EQ(Count(m_outbox.Get()), 0u);
    EXPECT_EQ(Count(m_sent.Get()), 0u);
}

TEST_F(DeliveryTest, WithoutASentFolderTheMessageIsMarkedSentWhereItIs)
{
    Ref<IMessage> message = CreateUnsavedMessage(m_outbox.Get());
    ASSERT_EQ(SetOne(message.Get(), UnicodeValue(PR_SUBJECT_W, u"nowhere to file")), S_OK);
    AddRecipient(message.Get(), MAPI_TO, u"x", u"x@example.com");
    const mapisvc::EntryId id = Submit(std::move(message));
    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    EXPECT_EQ(Count(m_outbox.Get()), 1u);
    EXPECT_EQ(GetLong(OpenMessage(Session(), id).Get(), PR_MESSAGE_FLAGS) & (MSGFLAG_SUBMIT | MSGFLAG_UNSENT), 0);
}

TEST_F(DeliveryTest, TheProfileIdentityIsTheSenderOfAMessageWithoutOne)
{
    std::u16string profile;
    ASSERT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::EntryId me;
    ASSERT_EQ(mapisvc::AddMailUser(profile, {u"Me Myself", u"SMTP", u"me@example.com", u""}, &me), S_OK);
    ASSERT_EQ(mapisvc::SetIdentity(profile, me), S_OK);
    Submit(NewOutgoing(u"from the identity"));
    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(profile, result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    const ParsedMail mail = ParseMailFile(result.delivered[0].file);
    ASSERT_EQ(mail.from.size(), 1u);
    EXPECT_EQ(mail.from[0].name, "Me Myself");
    EXPECT_EQ(mail.from[0].address, "me@example.com");
}

TEST_F(DeliveryTest, AFailedDeliveryLeavesTheMessageQueuedForTheNextOne)
{
    const mapisvc::EntryId first = Submit(NewOutgoing(u"first"));
    Submit(NewOutgoing(u"second"));
    mapisvc::Fault fault;
    fault.interfaceName = "Spooler";
    fault.method = "DeliverMessage";
    fault.nthCall = 1;
    mapisvc::InjectFault(fault);

    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), MAPI_W_PARTIAL_COMPLETION);
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0], first);
    ASSERT_EQ(result.delivered.size(), 1u);
    EXPECT_EQ(ParseMailFile(result.delivered[0].file).subject, "second");
    EXPECT_EQ(Count(m_outbox.Get()), 1u);

    mapisvc::ClearFaults();
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 1u);
    EXPECT_EQ(ParseMailFile(result.delivered[0].file).subject, "first");
    EXPECT_EQ(Count(m_sent.Get()), 2u);
}

TEST_F(DeliveryTest, AnEmptyQueueDeliversNothing)
{
    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    EXPECT_TRUE(result.delivered.empty());
    EXPECT_TRUE(result.failed.empty());
}

TEST_F(DeliveryTest, AnUnknownProfileIsNotFound)
{
    mapisvc::DeliveryResult result;
    EXPECT_EQ(mapisvc::DeliverOutgoingQueue(u"no such profile", result), MAPI_E_NOT_FOUND);
}

TEST_F(DeliveryTest, TwoMessagesDeliveredInTheSameSecondGetTwoFiles)
{
    Submit(NewOutgoing(u"one"));
    Submit(NewOutgoing(u"two"));
    mapisvc::DeliveryResult result;
    ASSERT_EQ(mapisvc::DeliverOutgoingQueue(u"", result), S_OK);
    ASSERT_EQ(result.delivered.size(), 2u);
    EXPECT_NE(result.delivered[0].file, result.delivered[1].file);
    EXPECT_EQ(ParseMailFile(result.delivered[0].file).subject, "one");
    EXPECT_EQ(ParseMailFile(result.delivered[1].file).subject, "two");
}

TEST(OutgoingDirectoryTest, AnyProfileNameMakesOneDirectoryName)
{
    EXPECT_EQ(mapisvc::OutgoingDirectory("/h", u"Outlook"), "/h/outgoing/outlook");
    EXPECT_EQ(mapisvc::OutgoingDirectory("/h", u"../a/b c"), "/h/outgoing/%2E.%2Fa%2Fb%20c");
    EXPECT_EQ(mapisvc::OutgoingDirectory("/h", u"Müller"), "/h/outgoing/m%C3%BCller");
}

TEST(OutgoingFilesTest, AFileOfTheSameNameIsNeverReplaced)
{
    char pattern[] = "/tmp/mapipim-outgoing-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string directory = pattern;
    const std::string first = mapisvc::WriteNewFile(directory, "stem", "A");
    const std::string second = mapisvc::WriteNewFile(directory, "stem", "B");
    EXPECT_EQ(first, directory + "/stem.eml");
    EXPECT_EQ(second, directory + "/stem-2.eml");
    EXPECT_EQ(ReadWholeFile(first), "A");
    EXPECT_EQ(ReadWholeFile(second), "B");
    EXPECT_EQ(mapisvc::WriteNewFile(directory + "/missing", "stem", "C"), "");
    RemoveDirectoryTree(directory);
}
} // namespace
