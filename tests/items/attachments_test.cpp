// Counting, listing, content identifiers and deleting attachments, against the service: positions, the photo
// filter, the trace dump of each listed attachment, and the failure paths of the table walk.
#include "support/ScopedEnvironment.h"
#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

namespace
{
// Bytes that read as text in code page 1252 up to a zero byte, and bytes past it that must not show.
const BYTE kAttachTag[] = {'t', 'a', 'g', 0x86, 0x00, 'x', 'y'};

// Row 0: both names and a content id; row 1: the contact photo; row 2: a file name alone; row 3: no name, photo
// flag 0.
std::vector<AttachmentSpec> FourAttachments()
{
    std::vector<AttachmentSpec> specs(4);
    specs[0].longFileName = u"report.pdf";
    specs[0].fileName = u"REPORT~1.PDF";
    specs[0].displayName = u"Report";
    specs[0].contentId = u"cid-0";
    specs[0].data = "pdf";
    SPropValue tag = {};
    tag.ulPropTag = PR_ATTACH_TAG;
    tag.Value.bin.cb = sizeof(kAttachTag);
    tag.Value.bin.lpb = const_cast<LPBYTE>(kAttachTag);
    specs[0].extraValues.push_back(tag);
    specs[1].longFileName = u"ContactPicture.jpg";
    specs[1].hasPhotoFlag = true;
    specs[1].photo = true;
    specs[1].data = "jpeg";
    specs[2].fileName = u"short.txt";
    specs[2].data = "text";
    specs[3].hasPhotoFlag = true;
    specs[3].data = "nameless";
    return specs;
}

class AttachmentsTest : public OpenItemTest
{
protected:
    void SetUp() override
    {
        OpenItemTest::SetUp();
        OpenNewItem(FourAttachments());
    }

    CString Names(int nIndex, int nFilter, BOOL* pbResult = nullptr)
    {
        CString strNames(_T("stale"));
        const BOOL bResult = m_item.GetAttachmentNames(strNames, nIndex, nFilter);
        if (pbResult)
            *pbResult = bResult;
        EXPECT_EQ(bResult != FALSE, !strNames.IsEmpty());
        return strNames;
    }

    // The names left after the deletion was saved, read afresh.
    CString NamesAfterSave()
    {
        EXPECT_TRUE(m_item.Save(FALSE));
        CMAPIItem reopened;
        EXPECT_TRUE(OpenItem(reopened, m_id));
        CString strNames;
        reopened.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_ALL);
        return strNames;
    }
};

TEST_F(AttachmentsTest, CountsTheRows)
{
    EXPECT_EQ(4, m_item.GetAttachmentCount());
    CMAPIItem empty;
    ASSERT_TRUE(OpenItem(empty, NewMessage()));
    EXPECT_EQ(0, empty.GetAttachmentCount());
    // The count does not look at the cancel flag.
    CMAPIInterface::SetCancel(1);
    EXPECT_EQ(4, m_item.GetAttachmentCount());
}

TEST_F(AttachmentsTest, CountIsZeroWithoutTheHasAttachFlag)
{
    mapisvc::Fault fault;
    fault.method = "GetProps";
    fault.propTag = PR_HASATTACH;
    fault.result = MAPI_E_NOT_FOUND;
    mapisvc::InjectFault(fault);
    EXPECT_EQ(0, m_item.GetAttachmentCount());
}

TEST_F(AttachmentsTest, CountIsZeroWhenTheTableFails)
{
    mapisvc::Fault fault;
    fault.method = "GetRowCount";
    mapisvc::InjectFault(fault);
    EXPECT_EQ(0, m_item.GetAttachmentCount());
}

TEST_F(AttachmentsTest, NamesOfEveryAttachmentPassingTheFilter)
{
    EXPECT_EQ(CString(_T("report.pdf;ContactPicture.jpg;short.txt")), Names(-1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("report.pdf;short.txt")), Names(-1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(CString(_T("ContactPicture.jpg")), Names(-1, MAPIPIM_ATTACH_PHOTO_ONLY));
    // Any filter other than 2 and 3 passes everything.
    EXPECT_EQ(CString(_T("report.pdf;ContactPicture.jpg;short.txt")), Names(-1, 0));
    EXPECT_EQ(CString(_T("report.pdf;ContactPicture.jpg;short.txt")), Names(-1, 7));
}

TEST_F(AttachmentsTest, NamesAtSingleIndexes)
{
    EXPECT_EQ(CString(_T("report.pdf")), Names(0, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("ContactPicture.jpg")), Names(1, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ(CString(_T("short.txt")), Names(2, MAPIPIM_ATTACH_NO_PHOTO));
    // Positions count the rows the filter rejects; a rejected row at the index gives nothing.
    EXPECT_EQ(CString(), Names(0, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ(CString(), Names(1, MAPIPIM_ATTACH_NO_PHOTO));
    // A row without any name, and positions that do not exist.
    EXPECT_EQ(CString(), Names(3, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(), Names(4, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(), Names(-2, MAPIPIM_ATTACH_ALL));
}

TEST_F(AttachmentsTest, EachListedRowIsTracedColumnByColumn)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    mapipim::TraceCapture trace;
    ASSERT_EQ(CString(_T("report.pdf")), Names(0, MAPIPIM_ATTACH_ALL));
    CString strMissing;
    strMissing.Format(_T("%d"), static_cast<int>(MAPI_E_NOT_FOUND));
    const std::vector<CString> expected = {
        _T("PR_ATTACH_NUM : 0"),
        _T("PR_ATTACH_FILENAME : report.pdf"),
        _T("PR_ATTACH_FILENAME : REPORT~1.PDF"),
        _T("PR_ATTACHMENT_CONTACTPHOTO : ") + strMissing,
        _T("PR_DISPLAY_NAME : Report"),
        _T("PR_ATTACH_METHOD : 1"),
        _T("PR_RENDERING_POSITION : ") + strMissing,
        _T("PR_ATTACH_CONTENT_ID : cid-0"),
        _T("PR_ATTACH_TAG : 7, tag\u2020"),
        _T("PR_ATTACH_ENCODING : ") + strMissing + _T(", "),
        _T("PR_ATTACH_ADDITIONAL_INFO : ") + strMissing + _T(", "),
        _T("PR_ATTACHMENT_LINKID : ") + strMissing,
        _T("PR_ATTACHMENT_FLAGS : ") + strMissing,
        _T("PR_ATTACHMENT_HIDDEN : ") + strMissing,
        _T("PR_ATTACH_MIME_TAG : "),
        _T("PR_ATTACH_CONTENT_LOCATION : "),
        _T("PR_ATTACH_CONTENT_BASE : "),
    };
    EXPECT_EQ(expected, trace.GetLines());

    trace.Clear();
    Names(-1, MAPIPIM_ATTACH_NO_PHOTO);
    EXPECT_EQ(3 * expected.size(), trace.GetLines().size());
    EXPECT_TRUE(trace.Contains(_T("PR_ATTACHMENT_CONTACTPHOTO : 0")));
}

TEST_F(AttachmentsTest, AnsiOnlyModeListsEightBitNames)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    const mapisvc::EntryId id = NewAnsiOnlyMessage();
    std::vector<AttachmentSpec> specs(2);
    specs[0].longFileName = u"Caf\u00E9.txt";
    specs[0].displayName = u"Caf\u00E9";
    specs[1].fileName = u"\u00DCbung.doc";
    AddAttachments(Session(), id, specs);
    CMAPIItem item;
    ASSERT_TRUE(OpenItem(item, id));
    mapipim::TraceCapture trace;
    CString strNames;
    EXPECT_TRUE(item.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("Caf\u00E9.txt;\u00DCbung.doc")), strNames);
    EXPECT_TRUE(trace.Contains(_T("PR_DISPLAY_NAME : Caf\u00E9")));
}

TEST_F(AttachmentsTest, ContentIdentifierAtAPosition)
{
    CString strCID(_T("stale"));
    EXPECT_TRUE(m_item.GetAttachmentCID(strCID, 0));
    EXPECT_EQ(CString(_T("cid-0")), strCID);
    for (int nIndex : {1, 4, -1})
    {
        strCID = _T("stale");
        EXPECT_FALSE(m_item.GetAttachmentCID(strCID, nIndex)) << nIndex;
        EXPECT_TRUE(strCID.IsEmpty());
    }
}

TEST_F(AttachmentsTest, CancelledOrClosedListingsFail)
{
    CMAPIInterface::SetCancel(1);
    CString strText(_T("kept"));
    EXPECT_FALSE(m_item.GetAttachmentNames(strText, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(m_item.GetAttachmentCID(strText, 0));
    EXPECT_FALSE(m_item.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("kept")), strText);
    CMAPIInterface::SetCancel(0);

    CMAPIItem closed;
    EXPECT_EQ(0, closed.GetAttachmentCount());
    EXPECT_FALSE(closed.GetAttachmentNames(strText, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(closed.GetAttachmentCID(strText, 0));
    EXPECT_FALSE(closed.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL));
}

TEST_F(AttachmentsTest, AFolderHasNoAttachments)
{
    CMAPIItem folder;
    ASSERT_TRUE(OpenItem(folder, EntryIdOf(Inbox())));
    CString strNames;
    EXPECT_EQ(0, folder.GetAttachmentCount());
    EXPECT_FALSE(folder.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(folder.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(folder.GetAttachmentCID(strNames, 0));
}

TEST_F(AttachmentsTest, DeletesOneAttachmentAtItsPosition)
{
    EXPECT_TRUE(m_item.DeleteAttachment(1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(_T("report.pdf;short.txt")), NamesAfterSave());
    EXPECT_EQ(3u, CountAttachments(Session(), m_id));
}

TEST_F(AttachmentsTest, DeletesEveryAttachmentPassingTheFilter)
{
    EXPECT_TRUE(m_item.DeleteAttachment(-1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(CString(_T("ContactPicture.jpg")), NamesAfterSave());
    EXPECT_TRUE(m_item.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(CString(), NamesAfterSave());
    EXPECT_EQ(0u, CountAttachments(Session(), m_id));
}

TEST_F(AttachmentsTest, DeletingNothingSucceeds)
{
    EXPECT_TRUE(m_item.DeleteAttachment(9, MAPIPIM_ATTACH_ALL));
    EXPECT_TRUE(m_item.DeleteAttachment(1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_TRUE(m_item.DeleteAttachment(-2, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(4u, CountAttachments(Session(), m_id));
    EXPECT_EQ(CString(_T("report.pdf;ContactPicture.jpg;short.txt")), NamesAfterSave());
}

// Every way the table walk can fail reports failure and leaves nothing held (the fixture checks the counts).
TEST_F(AttachmentsTest, FailuresOfTheTableAreFailures)
{
    struct Case
    {
        const char* szMethod;
        ULONG nthCall;
    };
    for (const Case& failure : {Case{"GetAttachmentTable", 0}, Case{"SetColumns", 0}, Case{"QueryRows", 1},
                                Case{"QueryRows", 3}, Case{"DeleteAttach", 2}})
    {
        mapisvc::Fault fault;
        fault.method = failure.szMethod;
        fault.nthCall = failure.nthCall;
        const ULONG ulFault = mapisvc::InjectFault(fault);
        EXPECT_FALSE(m_item.DeleteAttachment(-1, MAPIPIM_ATTACH_ALL)) << failure.szMethod << failure.nthCall;
        mapisvc::RemoveFault(ulFault);
    }
    const ULONG ulFault = mapisvc::InjectFault(mapisvc::Fault{"", "SetColumns"});
    CString strNames;
    EXPECT_FALSE(m_item.GetAttachmentNames(strNames, -1, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(m_item.GetAttachmentCID(strNames, 0));
    mapisvc::RemoveFault(ulFault);
}
} // namespace
