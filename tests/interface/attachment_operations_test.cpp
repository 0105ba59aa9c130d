// The interface's attachment operations on items named by entry identifier, against the service.
#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

#include <memory>

namespace
{
AttachmentSpec Named(const char16_t* szName, const std::string& data, bool bPhoto = false)
{
    AttachmentSpec spec = NamedAttachment(szName, data, bPhoto);
    spec.contentId = std::u16string(u"cid-") + szName;
    return spec;
}

class AttachmentOperationsTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        CMAPIInterface::SetYield(0);
        m_interface = std::make_unique<CMAPIInterface>();
        m_id = CreateMessage(Inbox(), u"With attachments");
        AddAttachments(Session(), m_id,
                       {Named(u"a.txt", "first"), Named(u"ContactPicture.jpg", "jpeg", true), Named(u"c.txt", "c")});
        m_entryID = AsSBinary(m_id);
    }
    void TearDown() override
    {
        m_interface.reset();
        DefaultStoreTest::TearDown();
    }

    // The entry identifier of a message that no longer exists, and its hexadecimal text.
    SBinary DeletedItem(CString& strHex)
    {
        m_deleted = CreateMessage(Inbox(), u"Deleted");
        SBinary entryID = AsSBinary(m_deleted);
        ENTRYLIST list = {1, &entryID};
        EXPECT_EQ(Inbox()->DeleteMessages(&list, 0, nullptr, 0), S_OK);
        GetSBinaryToString(strHex, entryID);
        return entryID;
    }

    CString Names(int nIndex = -1, int nFilter = MAPIPIM_ATTACH_ALL)
    {
        CString strNames;
        m_interface->GetAttachmentName(m_entryID, strNames, nIndex, nFilter);
        return strNames;
    }

    ProcessFlagsGuard m_flags;
    std::unique_ptr<CMAPIInterface> m_interface;
    mapisvc::EntryId m_id;
    mapisvc::EntryId m_deleted;
    SBinary m_entryID = {};
};

TEST_F(AttachmentOperationsTest, CountNamesAndContentIds)
{
    EXPECT_EQ(3, m_interface->GetAttachmentCount(m_entryID));
    EXPECT_EQ(CString(_T("a.txt;ContactPicture.jpg;c.txt")), Names());
    EXPECT_EQ(CString(_T("a.txt;c.txt")), Names(-1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(CString(_T("ContactPicture.jpg")), Names(1, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ(CString(), Names(1, MAPIPIM_ATTACH_NO_PHOTO));
    CString strCID;
    EXPECT_EQ(1, m_interface->GetAttachmentCID(m_entryID, strCID, 2));
    EXPECT_EQ(CString(_T("cid-c.txt")), strCID);
    EXPECT_EQ(0, m_interface->GetAttachmentCID(m_entryID, strCID, 3));
}

TEST_F(AttachmentOperationsTest, SavesEveryAttachmentPassingTheFilter)
{
    const std::string dir = MakeDirectory(Home() + "/saved");
    EXPECT_EQ(1, m_interface->SaveAttachment(m_entryID, WidePath(dir), -1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(std::vector<std::string>({"a.txt", "c.txt"}), ListDirectory(dir));
    EXPECT_EQ("first", ReadFileBytes(dir + "/a.txt"));
    EXPECT_EQ(1, m_interface->SaveAttachment(m_entryID, WidePath(dir + "/photo.jpg"), 1, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ("jpeg", ReadFileBytes(dir + "/photo.jpg"));
    EXPECT_EQ(0, m_interface->SaveAttachment(m_entryID, WidePath(Home() + "/missing/x"), -1, MAPIPIM_ATTACH_ALL));
}

TEST_F(AttachmentOperationsTest, DeletionIsSavedWithTheItem)
{
    EXPECT_EQ(1, m_interface->DeleteAttachment(m_entryID, 0, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(2u, CountAttachments(Session(), m_id));
    EXPECT_EQ(CString(_T("ContactPicture.jpg;c.txt")), Names());
    EXPECT_EQ(1, m_interface->DeleteAttachment(m_entryID, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->GetAttachmentCount(m_entryID));
}

TEST_F(AttachmentOperationsTest, DeletionFailsWhenTheItemCannotBeSaved)
{
    mapisvc::Fault fault;
    fault.interfaceName = "IMessage";
    fault.method = "SaveChanges";
    mapisvc::InjectFault(fault);
    EXPECT_EQ(0, m_interface->DeleteAttachment(m_entryID, 0, MAPIPIM_ATTACH_ALL));
    mapisvc::ClearFaults();
    EXPECT_EQ(3u, CountAttachments(Session(), m_id));
}

TEST_F(AttachmentOperationsTest, AnItemThatCannotBeOpenedIsTracedWithItsIdentifier)
{
    CString strHex;
    SBinary deleted = DeletedItem(strHex);
    ASSERT_FALSE(strHex.IsEmpty());
    mapipim::TraceCapture trace;
    CString strText(_T("kept"));
    EXPECT_EQ(0, m_interface->GetAttachmentCount(deleted));
    EXPECT_EQ(0, m_interface->GetAttachmentCID(deleted, strText, 0));
    EXPECT_EQ(0, m_interface->GetAttachmentName(deleted, strText, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->SaveAttachment(deleted, WidePath(Home()), -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->DeleteAttachment(deleted, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("kept")), strText);
    const std::vector<CString> expected = {
        _T("[MAPI] GetAttachmentCount - Open failed a object : ") + strHex,
        _T("[MAPI] GetAttachmentCID - Open failed a object : ") + strHex,
        _T("[MAPI] GetAttachmentName - Open failed a object : ") + strHex,
        _T("[MAPI] SaveAttachment - Open failed a object : ") + strHex,
        _T("[MAPI] DeleteAttachment - Open failed a object : ") + strHex,
    };
    EXPECT_EQ(expected, trace.GetLines());
}

TEST_F(AttachmentOperationsTest, AFolderIdentifierIsNoItemWithAttachments)
{
    const mapisvc::EntryId inbox = EntryIdOf(Inbox());
    SBinary folder = AsSBinary(inbox);
    CString strNames;
    EXPECT_EQ(0, m_interface->GetAttachmentCount(folder));
    EXPECT_EQ(0, m_interface->GetAttachmentName(folder, strNames, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->DeleteAttachment(folder, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->SaveAttachment(folder, WidePath(Home()), -1, MAPIPIM_ATTACH_ALL));
}

TEST_F(AttachmentOperationsTest, CancelStopsAllButTheCount)
{
    CMAPIInterface::SetCancel(1);
    CString strText;
    EXPECT_EQ(3, m_interface->GetAttachmentCount(m_entryID));
    EXPECT_EQ(0, m_interface->GetAttachmentCID(m_entryID, strText, 0));
    EXPECT_EQ(0, m_interface->GetAttachmentName(m_entryID, strText, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->SaveAttachment(m_entryID, WidePath(Home()), -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(0, m_interface->DeleteAttachment(m_entryID, -1, MAPIPIM_ATTACH_ALL));
    CMAPIInterface::SetCancel(0);
    EXPECT_EQ(3u, CountAttachments(Session(), m_id));
}
} // namespace
