// Attaching files against the service: the seven properties of a new attachment, the contents through the
// stream, the ANSI-only names, cancellation in the middle of a copy and the failure paths.
#include "support/ScopedEnvironment.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

namespace
{
class AttachmentAddTest : public OpenItemTest
{
protected:
    void SetUp() override
    {
        OpenItemTest::SetUp();
        OpenNewItem();
    }

    // A file below the test's home with these bytes.
    std::string MakeFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = FilesDir() + "/" + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    BOOL Add(const std::string& path, LPCWSTR szDisplayName = nullptr, LPCWSTR szFileName = nullptr)
    {
        return m_item.AddAttachment(WidePath(path), szDisplayName, szFileName);
    }

    // Saves the message and opens its only attachment through MAPI.
    Ref<IAttach> SavedAttachment()
    {
        EXPECT_TRUE(m_item.Save(FALSE));
        Ref<IMessage> message = OpenMessage(Session(), m_id);
        Ref<IMAPITable> table;
        EXPECT_EQ(message->GetAttachmentTable(0, table.Out()), S_OK);
        const TableRows rows = ReadRows(table.Get(), {PR_ATTACH_NUM});
        EXPECT_EQ(1u, rows.size());
        Ref<IAttach> attach;
        if (rows.size() == 1)
            EXPECT_EQ(message->OpenAttach(rows[0].lpProps[0].Value.ul, nullptr, 0, attach.Out()), S_OK);
        return attach;
    }

    // The long file name, the 8.3 file name and the display name are all this name.
    static void ExpectNamedAllThree(IAttach* attach, const std::u16string& name, const std::u16string& extension)
    {
        EXPECT_EQ(name, GetString(attach, PR_ATTACH_LONG_FILENAME_W));
        EXPECT_EQ(name, GetString(attach, PR_ATTACH_FILENAME_W));
        EXPECT_EQ(name, GetString(attach, PR_DISPLAY_NAME_W));
        EXPECT_EQ(extension, GetString(attach, PR_ATTACH_EXTENSION_W));
    }

    static std::string AttachmentData(IAttach* attach)
    {
        Ref<IStream> stream;
        EXPECT_EQ(attach->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, 0, stream.OutUnknown()), S_OK);
        std::string data;
        char chunk[4096];
        ULONG cbRead = 0;
        while (stream && stream->Read(chunk, sizeof(chunk), &cbRead) == S_OK && cbRead > 0)
            data.append(chunk, cbRead);
        return data;
    }
};

TEST_F(AttachmentAddTest, NamedAfterTheFile)
{
    const std::string bytes = PatternBytes(1500);
    ASSERT_TRUE(Add(MakeFile("notes.txt", bytes)));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    ExpectNamedAllThree(attach.Get(), u"notes.txt", u".txt");
    EXPECT_EQ(ATTACH_BY_VALUE, GetLong(attach.Get(), PR_ATTACH_METHOD));
    EXPECT_EQ(-1, GetLong(attach.Get(), PR_RENDERING_POSITION));
    EXPECT_EQ(0, GetLong(attach.Get(), PR_ATTACHMENT_CONTACTPHOTO, 7));
    EXPECT_EQ(bytes, AttachmentData(attach.Get()));
}

TEST_F(AttachmentAddTest, DisplayNameNamesAllThree)
{
    ASSERT_TRUE(Add(MakeFile("scan0001.pdf", "pdf"), _T("Contract.final.pdf")));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    ExpectNamedAllThree(attach.Get(), u"Contract.final.pdf", u".pdf");
}

TEST_F(AttachmentAddTest, NamesWithoutAnExtensionWriteNone)
{
    for (const char* szName : {"README", ".profile"})
    {
        ASSERT_TRUE(m_item.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL));
        ASSERT_TRUE(Add(MakeFile(szName, "x")));
        Ref<IAttach> attach = SavedAttachment();
        ASSERT_TRUE(attach);
        EXPECT_EQ(CString::FromUtf8(szName), CString(GetString(attach.Get(), PR_DISPLAY_NAME_W).c_str()));
        EXPECT_FALSE(HasProp(attach.Get(), PR_ATTACH_EXTENSION_W)) << szName;
    }
}

TEST_F(AttachmentAddTest, PathsSplitAtEitherSeparator)
{
    MakeFile("win.txt", "w");
    // The file layer takes "\" as a separator too.
    ASSERT_TRUE(m_item.AddAttachment(WidePath(FilesDir()) + _T("\\win.txt")));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    EXPECT_EQ(u"win.txt", GetString(attach.Get(), PR_ATTACH_LONG_FILENAME_W));
}

TEST_F(AttachmentAddTest, ContactPictureIsMarkedAsThePhoto)
{
    ASSERT_TRUE(Add(MakeFile("thumb.jpg", "jpeg"), _T("Ignored.png"), _T("ContactPicture.jpg")));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    EXPECT_EQ(u"ContactPicture.jpg", GetString(attach.Get(), PR_ATTACH_LONG_FILENAME_W));
    EXPECT_EQ(u"ContactPicture.jpg", GetString(attach.Get(), PR_DISPLAY_NAME_W));
    EXPECT_EQ(u".jpg", GetString(attach.Get(), PR_ATTACH_EXTENSION_W));
    EXPECT_EQ(1, GetLong(attach.Get(), PR_ATTACHMENT_CONTACTPHOTO));
    CString strNames;
    EXPECT_TRUE(m_item.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ(CString(_T("ContactPicture.jpg")), strNames);
    // The comparison is exact: another spelling is an ordinary attachment.
    ASSERT_TRUE(Add(MakeFile("other.jpg", "jpeg"), nullptr, _T("contactpicture.jpg")));
    EXPECT_TRUE(m_item.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(CString(_T("other.jpg")), strNames);
}

TEST_F(AttachmentAddTest, ContentsRoundTripByteForByte)
{
    const std::string empty;
    const std::string exact = PatternBytes(1024, 6);
    const std::string large = PatternBytes(5 * 1024 * 1024, 7);
    ASSERT_TRUE(Add(MakeFile("empty.bin", empty)));
    ASSERT_TRUE(Add(MakeFile("exact.bin", exact)));
    ASSERT_TRUE(Add(MakeFile("large.bin", large)));
    ASSERT_TRUE(m_item.Save(FALSE));
    CMAPIItem reopened;
    ASSERT_TRUE(OpenItem(reopened, m_id));
    EXPECT_EQ(3, reopened.GetAttachmentCount());
    const std::string dir = MakeDirectory(Home() + "/out");
    ASSERT_TRUE(reopened.SaveAttachment(WidePath(dir), -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(empty, ReadFileBytes(dir + "/empty.bin"));
    EXPECT_EQ(exact, ReadFileBytes(dir + "/exact.bin"));
    EXPECT_TRUE(large == ReadFileBytes(dir + "/large.bin")) << "5 MB differ";
}

TEST_F(AttachmentAddTest, AnsiOnlyStoreTakesEightBitNames)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    OpenNewAnsiOnlyItem();
    ASSERT_TRUE(Add(MakeFile("file.txt", "x"), _T("Caf\u00E9.r\u00E9sum\u00E9")));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    EXPECT_EQ(u"Caf\u00E9.r\u00E9sum\u00E9", GetString(attach.Get(), PR_ATTACH_LONG_FILENAME_W));
    EXPECT_EQ(u"Caf\u00E9.r\u00E9sum\u00E9", GetString(attach.Get(), PR_DISPLAY_NAME_W));
    EXPECT_EQ(u".r\u00E9sum\u00E9", GetString(attach.Get(), PR_ATTACH_EXTENSION_W));
}

// An 8-bit name keeps at most 259 bytes, cut where a character ends.
TEST_F(AttachmentAddTest, LongAnsiNamesAreCutAtACharacterBorder)
{
    ScopedEnv acp("MAPIPIM_ACP", "949");
    OpenNewAnsiOnlyItem();
    const CString strLong(static_cast<WCHAR>(0xAC00), 200); // 400 bytes in code page 949
    ASSERT_TRUE(Add(MakeFile("long.txt", "x"), strLong));
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    EXPECT_EQ(std::u16string(129, u'\uAC00'), GetString(attach.Get(), PR_ATTACH_LONG_FILENAME_W));
}

TEST_F(AttachmentAddTest, CancelDuringTheCopyLeavesTheAttachmentUnsaved)
{
    const std::string path = MakeFile("large.bin", PatternBytes(2 * 1024 * 1024, 8));
    // With the pause on, 2048 chunks take at least 2 s: the flag set after a few writes stops the copy.
    CMAPIInterface::SetYield(1);
    mapisvc::ClearCallLog();
    BOOL bAdded = TRUE;
    {
        CancelWhenCalled canceller("Write", 3);
        bAdded = Add(path);
    }
    EXPECT_FALSE(bAdded);
    const size_t nWrites = CallsOf("", "Write").size();
    EXPECT_GT(nWrites, 0u);
    EXPECT_LT(nWrites, 2048u);
    CMAPIInterface::SetCancel(0);
    ASSERT_TRUE(m_item.Save(FALSE));
    EXPECT_EQ(0u, CountAttachments(Session(), m_id));
}

TEST_F(AttachmentAddTest, CancelFlagOtherThanOneDoesNotStopTheCopy)
{
    const std::string bytes = PatternBytes(4000, 9);
    CMAPIInterface::SetCancel(2);
    ASSERT_TRUE(Add(MakeFile("two.bin", bytes)));
    CMAPIInterface::SetCancel(0);
    Ref<IAttach> attach = SavedAttachment();
    ASSERT_TRUE(attach);
    EXPECT_EQ(bytes, AttachmentData(attach.Get()));
}

TEST_F(AttachmentAddTest, NothingIsCreatedForAMissingFileOrAClosedOrCancelledItem)
{
    mapisvc::ClearCallLog();
    EXPECT_FALSE(Add(Home() + "/missing.txt"));
    EXPECT_FALSE(m_item.AddAttachment(nullptr));
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(Add(MakeFile("a.txt", "a")));
    CMAPIInterface::SetCancel(0);
    CMAPIItem closed;
    EXPECT_FALSE(closed.AddAttachment(WidePath(MakeFile("b.txt", "b"))));
    EXPECT_TRUE(CallsOf("", "CreateAttach").empty());
    CMAPIItem folder;
    ASSERT_TRUE(OpenItem(folder, EntryIdOf(Inbox())));
    EXPECT_FALSE(folder.AddAttachment(WidePath(MakeFile("c.txt", "c"))));
}

TEST_F(AttachmentAddTest, FailuresLeaveNoAttachment)
{
    const std::string path = MakeFile("a.bin", PatternBytes(3000));
    struct Case
    {
        const char* szInterface;
        const char* szMethod;
    };
    for (const Case& failure : {Case{"", "CreateAttach"}, Case{"IAttach", "SetProps"}, Case{"IAttach", "OpenProperty"},
                                Case{"", "Write"}, Case{"", "Commit"}, Case{"IAttach", "SaveChanges"}})
    {
        mapisvc::Fault fault;
        fault.interfaceName = failure.szInterface;
        fault.method = failure.szMethod;
        const ULONG ulFault = mapisvc::InjectFault(fault);
        EXPECT_FALSE(Add(path)) << failure.szMethod;
        mapisvc::RemoveFault(ulFault);
    }
    ASSERT_TRUE(m_item.Save(FALSE));
    EXPECT_EQ(0u, CountAttachments(Session(), m_id));
}
} // namespace
