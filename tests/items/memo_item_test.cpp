// The memo item against the embedded service: the subject cut from the text, the colour and its icon, the
// position and size with their defaults, the read groups, and the trace line of each field that fails.
#include "items/MAPIMemoItem.h"
#include "items/MemoProperties.h"
#include "support/FolderItemTest.h"

using namespace itemtest;

namespace
{
const int kNote = MAPIPIM_SET_NOTE;

class MemoItemTest : public FolderItemTest
{
protected:
    MemoItemTest() : FolderItemTest(PR_IPM_NOTE_ENTRYID, u"Notes") {}

    // Every field set, the text beyond Latin-1.
    static CMAPIMemoInfo FullMemo()
    {
        CMAPIMemoInfo info;
        info.strSubject = Utf8("ignored: the first line is the subject");
        info.strContents = Utf8("Einkaufen 🛒\r\nМолоко\r\n牛乳と卵");
        info.strLabel = Utf8("Haushalt,;家");
        info.nNoteColor = 1;
        info.nNoteX = 120;
        info.nNoteY = 340;
        info.nNoteWidth = 310;
        info.nNoteHeight = 170;
        return info;
    }

    void CreateMemoItem(CMAPIMemoItem& item, CMAPIMemoInfo& info)
    {
        ASSERT_TRUE(item.Create(&Session(), &Folder()));
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    }

    CString StoredSubject(CMAPIItem& item)
    {
        CString strSubject;
        EXPECT_TRUE(item.GetPropertyString(PR_SUBJECT_W, strSubject));
        return strSubject;
    }
};

// ---- Creation

TEST_F(MemoItemTest, CreateMakesAStickyNoteInTheGivenOrCurrentFolder)
{
    CMAPIMemoItem item;
    EXPECT_FALSE(item.Create(nullptr, &Folder()));
    EXPECT_FALSE(item.Create(&Session(), nullptr)) << "no folder given and none current";
    mapisvc::ClearCallLog();
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    CString strClass;
    ASSERT_TRUE(item.GetPropertyString(PR_MESSAGE_CLASS_W, strClass));
    EXPECT_EQ(Utf8("IPM.StickyNote"), strClass);
    for (const mapisvc::CallRecord& call : CallsOf("", "SetProps"))
        EXPECT_FALSE(HasTag(call, PR_MESSAGE_FLAGS)) << "no message flags are set";

    ASSERT_NE(nullptr, Session().OpenSpecialFolder(PR_IPM_NOTE_ENTRYID, TRUE));
    CMAPIMemoItem second;
    EXPECT_TRUE(second.Create(&Session(), nullptr));
}

TEST_F(MemoItemTest, AFailingMessageClassIsTracedAndTheNoteStillMade)
{
    PropertyFault fault("SetProps", PR_MESSAGE_CLASS_W, 0);
    CMAPIMemoItem item;
    EXPECT_TRUE(item.Create(&Session(), &Folder()));
    EXPECT_TRUE(Traced(CString(_T("[MAPI] Set failed : MsgClass - Folder:")) + Folder().GetName()));
}

// ---- Every field

TEST_F(MemoItemTest, EveryFieldRoundTripsWithTextBeyondLatin1)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);
    EXPECT_EQ(Utf8("ignored: the first line is the subject"), info.strSubject) << "the record is not changed";

    CMAPIMemoItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    CMAPIMemoInfo read;
    ASSERT_TRUE(reopened.GetInfo(&read, MAPIPIM_MEMO_TIMES | MAPIPIM_MEMO_SUBJECT | MAPIPIM_MEMO_OTHERS));
    EXPECT_EQ(Utf8("Einkaufen 🛒"), read.strSubject);
    EXPECT_EQ(info.strContents, read.strContents);
    EXPECT_EQ(info.strLabel, read.strLabel);
    EXPECT_EQ(1, read.nNoteColor);
    EXPECT_EQ(120, read.nNoteX);
    EXPECT_EQ(340, read.nNoteY);
    EXPECT_EQ(310, read.nNoteWidth);
    EXPECT_EQ(170, read.nNoteHeight);
    EXPECT_TRUE(CompareSBinary(read.sbEntryID, *item.GetEntryID()));
    CString strEntryID;
    item.GetEntryIDString(strEntryID);
    EXPECT_EQ(strEntryID, read.strEntryID);
    EXPECT_NE(0, read.tmCTime.wYear);
    EXPECT_NE(0, read.tmLMTime.wYear);
    EXPECT_TRUE(Trace().GetLines().empty()) << Trace().GetLines().front();
}

TEST_F(MemoItemTest, TheSubjectIsTheTextUpToItsFirstCarriageReturnLineFeed)
{
    const struct
    {
        const char* szContents;
        const char* szSubject;
    } cases[] = {
        {"Shopping\r\nmilk", "Shopping"},
        {"No line break at all", "No line break at all"},
        {"\r\nstarts with a break", ""},
        {"lone\nline feed\r\nthen a pair", "lone\nline feed"},
        {"lone\rcarriage return", "lone\rcarriage return"},
        {"", ""},
        {"两行\r\n\r\n第三行", "两行"},
    };
    CMAPIMemoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szContents);
        CMAPIMemoInfo info;
        info.strSubject = _T("Something else");
        info.strContents = Utf8(c.szContents);
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
        EXPECT_EQ(Utf8(c.szSubject), StoredSubject(item));
        CMAPIMemoInfo read;
        ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_SUBJECT | MAPIPIM_MEMO_OTHERS));
        EXPECT_EQ(Utf8(c.szSubject), read.strSubject);
        EXPECT_EQ(info.strContents, read.strContents) << "the body keeps the first line";
    }
}

TEST_F(MemoItemTest, TheIconFollowsTheColourWhichIsStoredUnchecked)
{
    CMAPIMemoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    for (int nColour : {0, 1, 2, 3, 4, 9})
    {
        SCOPED_TRACE(nColour);
        CMAPIMemoInfo info;
        info.strContents = _T("note");
        info.nNoteColor = nColour;
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
        EXPECT_EQ(0x300 + nColour, item.GetPropertyLong(PR_ICON_INDEX, -1));
        EXPECT_EQ(nColour, item.GetPropertyLong(mapipim::PidLidNoteColor, -1, kNote));
        CMAPIMemoInfo read;
        ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
        EXPECT_EQ(nColour, read.nNoteColor);
    }
}

// ---- Defaults for what a note lacks

TEST_F(MemoItemTest, ANoteWithoutItsNumbersReadsTheDefaultsAndTracesEach)
{
    CMAPIMemoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    ASSERT_TRUE(item.SetPropertyLong(mapipim::PidLidNoteColor, 2, kNote));
    ASSERT_TRUE(item.SetPropertyLong(mapipim::PidLidNoteX, 15, kNote));
    ASSERT_TRUE(item.SetPropertyLong(mapipim::PidLidNoteY, 25, kNote));
    ASSERT_TRUE(item.Save(FALSE));

    CMAPIMemoInfo read;
    read.nNoteWidth = 7;
    read.nNoteHeight = 8;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
    EXPECT_EQ(2, read.nNoteColor);
    EXPECT_EQ(15, read.nNoteX);
    EXPECT_EQ(25, read.nNoteY);
    EXPECT_EQ(200, read.nNoteWidth);
    EXPECT_EQ(200, read.nNoteHeight);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : nNoteWidth")));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : nNoteHeight")));
    EXPECT_FALSE(Traced(_T("[MAPI] Get failed : nNoteColor")));
    EXPECT_FALSE(Traced(_T("[MAPI] Get failed : nNoteX")));

    CMAPIMemoItem bare;
    ASSERT_TRUE(bare.Create(&Session(), &Folder()));
    CMAPIMemoInfo defaults;
    defaults.nNoteColor = 0;
    defaults.nNoteX = 50;
    ASSERT_TRUE(bare.GetInfo(&defaults, MAPIPIM_MEMO_OTHERS));
    EXPECT_EQ(3, defaults.nNoteColor);
    EXPECT_EQ(0, defaults.nNoteX);
    EXPECT_EQ(0, defaults.nNoteY);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : nNoteColor")));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : nNoteY")));
}

TEST_F(MemoItemTest, AStoredMinusOneReadsAsTheDefault)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    info.nNoteX = -1;
    info.nNoteY = -2;
    CreateMemoItem(item, info);
    EXPECT_EQ(-1, item.GetPropertyLong(mapipim::PidLidNoteX, 0, kNote)) << "written as given";
    CMAPIMemoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
    EXPECT_EQ(0, read.nNoteX);
    EXPECT_EQ(-2, read.nNoteY) << "only -1 stands for a missing value";
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : nNoteX")));
}

// ---- Read groups

TEST_F(MemoItemTest, EachReadGroupFillsItsOwnFields)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);

    CMAPIMemoInfo none;
    EXPECT_TRUE(item.GetInfo(&none, 0));
    EXPECT_TRUE(CompareSBinary(none.sbEntryID, *item.GetEntryID()));
    EXPECT_FALSE(none.strEntryID.IsEmpty());
    EXPECT_TRUE(none.strSubject.IsEmpty());
    EXPECT_TRUE(none.strContents.IsEmpty());
    EXPECT_EQ(0, none.tmCTime.wYear);

    CMAPIMemoInfo times;
    EXPECT_TRUE(item.GetInfo(&times, MAPIPIM_MEMO_TIMES));
    EXPECT_NE(0, times.tmCTime.wYear);
    EXPECT_NE(0, times.tmLMTime.wYear);
    EXPECT_TRUE(times.strSubject.IsEmpty());
    EXPECT_TRUE(times.strContents.IsEmpty());

    CMAPIMemoInfo subject;
    EXPECT_TRUE(item.GetInfo(&subject, MAPIPIM_MEMO_SUBJECT));
    EXPECT_EQ(Utf8("Einkaufen 🛒"), subject.strSubject);
    EXPECT_TRUE(subject.strContents.IsEmpty());
    EXPECT_EQ(3, subject.nNoteColor);
    EXPECT_EQ(0, subject.tmCTime.wYear);

    CMAPIMemoInfo others;
    EXPECT_TRUE(item.GetInfo(&others, MAPIPIM_MEMO_OTHERS));
    EXPECT_TRUE(others.strSubject.IsEmpty());
    EXPECT_EQ(info.strContents, others.strContents);
    EXPECT_EQ(info.strLabel, others.strLabel);
    EXPECT_EQ(310, others.nNoteWidth);
    EXPECT_EQ(0, others.tmCTime.wYear);
}

TEST_F(MemoItemTest, AMissingRecordTimeFailsTheReadYetTheOtherIsRead)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);
    {
        PropertyFault fault("GetProps", PR_CREATION_TIME, 0);
        CMAPIMemoInfo read;
        EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_MEMO_TIMES));
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmCTime")));
        EXPECT_EQ(0, read.tmCTime.wYear);
        EXPECT_NE(0, read.tmLMTime.wYear);
    }
    {
        PropertyFault fault("GetProps", PR_LAST_MODIFICATION_TIME, 0);
        CMAPIMemoInfo read;
        EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_MEMO_TIMES));
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmLMTime")));
        EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_SUBJECT | MAPIPIM_MEMO_OTHERS)) << "other groups read no times";
    }
}

// ---- Trace lines of failing fields

TEST_F(MemoItemTest, EachFieldThatCannotBeReadIsTracedAndTheReadStillSucceeds)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);
    const struct
    {
        const char* szMethod;
        ULONG ulTag;
        int nSet;
        const char* szLine;
    } cases[] = {
        {"GetProps", PR_SUBJECT_W, 0, "[MAPI] Get failed : strSubject"},
        {"OpenProperty", PR_BODY_W, 0, "[MAPI] Get failed : strContents"},
        {"GetProps", mapipim::PidLidNoteColor, kNote, "[MAPI] Get failed : nNoteColor"},
        {"GetProps", mapipim::PidLidNoteX, kNote, "[MAPI] Get failed : nNoteX"},
        {"GetProps", mapipim::PidLidNoteY, kNote, "[MAPI] Get failed : nNoteY"},
        {"GetProps", mapipim::PidLidNoteWidth, kNote, "[MAPI] Get failed : nNoteWidth"},
        {"GetProps", mapipim::PidLidNoteHeight, kNote, "[MAPI] Get failed : nNoteHeight"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        PropertyFault fault(c.szMethod, c.ulTag, c.nSet);
        CMAPIMemoInfo read;
        EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_SUBJECT | MAPIPIM_MEMO_OTHERS));
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }

    // The categories: a note without them has none to read.
    CMAPIMemoInfo unlabelled = FullMemo();
    unlabelled.strLabel.Empty();
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &unlabelled));
    Trace().Clear();
    CMAPIMemoInfo read;
    EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
    EXPECT_TRUE(read.strLabel.IsEmpty());
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Get failed : strLabel")}, Trace().GetLines());
}

TEST_F(MemoItemTest, EachFieldThatCannotBeWrittenIsTracedAndTheNoteStillSaved)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);
    const struct
    {
        const char* szMethod;
        ULONG ulTag;
        int nSet;
        const char* szLine;
    } cases[] = {
        {"SetProps", PR_SUBJECT_W, 0,
         "[MAPI] Set failed : Einkaufen 🛒(strContents.Left(nPos) : subject) - Folder:Notes"},
        {"OpenProperty", PR_BODY_W, 0,
         "[MAPI] Set failed : Einkaufen 🛒\r\nМолоко\r\n牛乳と卵(strContents) - Folder:Notes"},
        {"SetProps", mapipim::PidLidNoteColor, kNote, "[MAPI] Set failed : 1(nNoteColor) - Folder:Notes"},
        {"SetProps", PR_ICON_INDEX, 0, "[MAPI] Set failed : 769(PR_ICON_INDEX) - Folder:Notes"},
        {"SetProps", mapipim::PidLidNoteX, kNote, "[MAPI] Set failed : 120(dispidNoteX) - Folder:Notes"},
        {"SetProps", mapipim::PidLidNoteY, kNote, "[MAPI] Set failed : 340(dispidNoteY) - Folder:Notes"},
        {"SetProps", mapipim::PidLidNoteWidth, kNote, "[MAPI] Set failed : 310(dispidNoteWidth) - Folder:Notes"},
        {"SetProps", mapipim::PidLidNoteHeight, kNote, "[MAPI] Set failed : 170(dispidNoteHeight) - Folder:Notes"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        PropertyFault fault(c.szMethod, c.ulTag, c.nSet);
        CMAPIMemoInfo written = info;
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &written));
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }

    Trace().Clear();
    {
        mapisvc::Fault keywords;
        keywords.method = "SetProps";
        keywords.narrowToName = true;
        keywords.name.propertySet = PS_PUBLIC_STRINGS;
        keywords.name.kind = MNID_STRING;
        keywords.name.name = u"Keywords";
        ScopedFault fault(keywords);
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &info));
    }
    EXPECT_EQ(std::vector<CString>{Utf8("[MAPI] Set failed : Haushalt,;家(strLabel) - Folder:Notes")},
              Trace().GetLines());

    Trace().Clear();
    mapisvc::Fault save;
    save.method = "SaveChanges";
    {
        ScopedFault fault(save);
        EXPECT_FALSE(item.SetInfo(&FolderRecord(), &info));
    }
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Set failed : Save( FALSE ) - Folder:Notes")}, Trace().GetLines());
}

// ---- Cancellation and bad arguments

TEST_F(MemoItemTest, CancelledReadsAndWritesFailAndNothingIsSaved)
{
    CMAPIMemoItem item;
    CMAPIMemoInfo info = FullMemo();
    CreateMemoItem(item, info);
    CMAPIMemoInfo changed = info;
    changed.strContents = _T("Changed");
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.SetInfo(&FolderRecord(), &changed));
    CMAPIMemoInfo read;
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
    CMAPIInterface::SetCancel(0);

    CMAPIMemoItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    ASSERT_TRUE(reopened.GetInfo(&read, MAPIPIM_MEMO_OTHERS));
    EXPECT_EQ(info.strContents, read.strContents);
}

TEST_F(MemoItemTest, NullRecordsFail)
{
    CMAPIMemoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    CMAPIMemoInfo info;
    EXPECT_FALSE(item.GetInfo(nullptr, 0x7));
    EXPECT_FALSE(item.SetInfo(nullptr, &info));
    EXPECT_FALSE(item.SetInfo(&FolderRecord(), nullptr));
}
} // namespace
