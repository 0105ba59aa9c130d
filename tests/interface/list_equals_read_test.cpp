// One test over every item kind: a list, which reads its items through the batched fast path, gives each item the
// very record a single read of it gives, field by field, for items with long texts, large bodies, categories,
// attachments and recurrences as well as plain ones.
#include "interface/KindOperations.h"
#include "support/FolderItemTest.h"

#include <sstream>
#include <utility>
#include <vector>

using namespace itemtest;

namespace
{
typedef std::vector<std::pair<std::string, std::string>> FieldTexts;

std::string Text(const CString& strValue)
{
    return strValue.ToUtf8();
}
std::string Text(int nValue)
{
    return std::to_string(nValue);
}
std::string Text(double dValue)
{
    return std::to_string(dValue);
}
std::string Text(const SYSTEMTIME& tm)
{
    return TimeText(tm);
}
std::string Text(const SBinary& bin)
{
    return std::string(reinterpret_cast<const char*>(bin.lpb), bin.cb);
}
std::string Text(const CMAPITimeZone& zone)
{
    return TimeText(zone.tmDateTime) + " " + Text(zone.strKeyName) + " " + std::to_string(zone.nBias) + " " +
           std::to_string(zone.nStandardBias) + " " + std::to_string(zone.nDaylightBias);
}
std::string Text(const CMAPIRecurring* pPattern)
{
    if (!pPattern)
        return "none";
    std::ostringstream text;
    text << pPattern->nFrequency << " " << pPattern->nPeriod << " " << pPattern->nPatternType << " "
         << pPattern->nWeekNumber << " " << pPattern->nDayMask << " " << pPattern->nCalendarType << " "
         << TimeText(pPattern->tmStartDate) << " " << TimeText(pPattern->tmEndDate) << " " << pPattern->nEndType << " "
         << pPattern->nOccurrenceCount << " " << pPattern->nSlidingFlag;
    return text.str();
}

#define FIELD(name)                                                                                                    \
    {                                                                                                                  \
#name, Text(info.name)                                                                                         \
    }

FieldTexts BaseFields(const CMAPIInfoBase& info)
{
    return {FIELD(sbEntryID), FIELD(strEntryID), FIELD(tmCTime), FIELD(tmLMTime)};
}

FieldTexts With(FieldTexts fields, const FieldTexts& more)
{
    fields.insert(fields.end(), more.begin(), more.end());
    return fields;
}

// What makes an item need its object: a text longer than a row keeps, a body too large for a row.
const CString kLongText = CString(_T('L'), 300);
const CString kLargeBody = CString(_T('B'), 10000);

struct ContactKind
{
    typedef CMAPIContactInfo Info;
    static constexpr ULONG kFolderProperty = PR_IPM_CONTACT_ENTRYID;
    static constexpr const char16_t* kFolderName = u"Contacts";

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& records, ULONG ulFlags)
    {
        return mapi.GetContact(pFolder, records, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pInfo, ULONG ulFlags) { return mapi.GetContact(pInfo, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.CreateContact(pFolder, pInfo);
    }
    static void Fill(Info& info, bool bRich, const CString& strFile)
    {
        info.strFirstName = Utf8("Zoë");
        info.strLastName = Utf8("김");
        info.strEmail1 = _T("zoe@example.com");
        info.strEmailDispaly1 = _T("Zoë");
        info.strBizCity = _T("Berlin");
        info.strNumberCellphone = _T("+49 170 1");
        info.tmBirthday = MakeSystemTime(1980, 7, 14, 0, 0, 0);
        info.nSensitivity = 2;
        info.strMemo = bRich ? kLargeBody : CString(_T("short"));
        if (bRich)
        {
            info.strCompany = kLongText;
            info.strAttachFile = strFile;
        }
    }
    static FieldTexts Fields(const Info& info)
    {
        return With(
            BaseFields(info),
            {FIELD(strFullName),        FIELD(strLastName),        FIELD(strFirstName),     FIELD(strMiddleName),
             FIELD(strInitial),         FIELD(strDisplay),         FIELD(strCompany),       FIELD(strDepartment),
             FIELD(strTitle),           FIELD(strEmail1),          FIELD(strEmailDispaly1), FIELD(strEmail2),
             FIELD(strEmail3),          FIELD(strBizHomePage),     FIELD(strIMAddress),     FIELD(strMemo),
             FIELD(strNumberCellphone), FIELD(strNumberBiz1),      FIELD(strBizStreet),     FIELD(strBizCity),
             FIELD(strBizCountry),      FIELD(strHomeCity),        FIELD(strOtherCity),     FIELD(strOffice),
             FIELD(strNickName),        FIELD(strInternetAddress), FIELD(tmBirthday),       FIELD(tmAnniversary),
             FIELD(nSensitivity),       FIELD(strPicturePath),     FIELD(strAttachFile)});
    }
};

struct EmailKind
{
    typedef CMAPIEmailInfo Info;
    static constexpr ULONG kFolderProperty = PR_IPM_DRAFTS_ENTRYID;
    static constexpr const char16_t* kFolderName = u"Drafts";

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& records, ULONG ulFlags)
    {
        return mapi.GetEmail(pFolder, records, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pInfo, ULONG ulFlags) { return mapi.GetEmail(pInfo, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.CreateEmail(pFolder, pInfo);
    }
    static void Fill(Info& info, bool bRich, const CString& strFile)
    {
        info.strSubject = bRich ? kLongText : Utf8("Grüße");
        info.strContents = bRich ? kLargeBody : CString(_T("short"));
        info.nForm = 1;
        info.strTo = _T("to@example.com");
        info.strCC = _T("Cc Person <cc@example.com>");
        info.strLabel = _T("Red;Blue");
        info.nImportance = 2;
        info.nSensitivity = 1;
        if (bRich)
            info.strAttachFile = strFile;
    }
    static FieldTexts Fields(const Info& info)
    {
        return With(BaseFields(info), {FIELD(nSize), FIELD(nMsgState), FIELD(strSubject), FIELD(strContents),
                                       FIELD(nForm), FIELD(strSenderName), FIELD(strCC), FIELD(strBCC), FIELD(strTo),
                                       FIELD(strLabel), FIELD(nImportance), FIELD(nSensitivity), FIELD(bRead),
                                       FIELD(nAttachCount), FIELD(strAttachFile), FIELD(tmSendTime), FIELD(tmRcvTime)});
    }
};

struct ScheduleListKind : ScheduleKind
{
    static void Fill(Info& info, bool bRich, const CString& strFile)
    {
        info.strSubject = bRich ? kLongText : CString(_T("Meeting"));
        info.strLocation = _T("Room 1");
        info.strContents = bRich ? kLargeBody : CString(_T("short"));
        info.tzStartTime.tmDateTime = MakeSystemTime(2026, 3, 2, 9, 0, 0);
        info.tzEndTime.tmDateTime = MakeSystemTime(2026, 3, 2, 10, 0, 0);
        info.bAlarm = 1;
        info.nAlarmMin = 15;
        info.strLabel = _T("Green");
        if (bRich)
        {
            info.strAttachFile = strFile;
            info.bRecurSet = 1;
            info.lprcRecurring = new CMAPIRecurring;
            info.lprcRecurring->tmStartDate = MakeSystemTime(2026, 3, 2, 0, 0, 0);
        }
    }
    static FieldTexts Fields(const Info& info)
    {
        return With(BaseFields(info),
                    {FIELD(strSubject), FIELD(strLocation), FIELD(strContents), FIELD(tzStartTime), FIELD(tzEndTime),
                     FIELD(bAllday), FIELD(nSign), FIELD(bAlarm), FIELD(nAlarmMin), FIELD(nSensitivity),
                     FIELD(nPriority), FIELD(strLabel), FIELD(bRecurSet), FIELD(strRecurDisplay), FIELD(lprcRecurring),
                     FIELD(nAttachCount), FIELD(strAttachFile)});
    }
};

struct TodoListKind : TodoKind
{
    static void Fill(Info& info, bool bRich, const CString& strFile)
    {
        info.strSubject = bRich ? kLongText : CString(_T("Task"));
        info.strContents = bRich ? kLargeBody : CString(_T("short"));
        info.strOwner = _T("Anna");
        info.nStatus = 1;
        info.nPriority = 2;
        info.dCompleteRate = 50.0;
        info.tmStartTime = MakeSystemTime(2026, 3, 2, 0, 0, 0);
        info.tmEndTime = MakeSystemTime(2026, 3, 9, 0, 0, 0);
        info.strLabel = _T("Blue");
        if (bRich)
            info.strAttachFile = strFile;
    }
    static FieldTexts Fields(const Info& info)
    {
        return With(BaseFields(info),
                    {FIELD(strSubject), FIELD(strContents), FIELD(strOwner), FIELD(nStatus), FIELD(nPriority),
                     FIELD(dCompleteRate), FIELD(bAlarmSet), FIELD(tmAlarmTime), FIELD(tmStartTime), FIELD(tmEndTime),
                     FIELD(tmCompleteTime), FIELD(nSensitivity), FIELD(strLabel), FIELD(bRecurSet),
                     FIELD(lprcRecurring), FIELD(nAttachCount), FIELD(strAttachFile)});
    }
};

struct MemoListKind : MemoKind
{
    static void Fill(Info& info, bool bRich, const CString&)
    {
        info.strContents = bRich ? kLongText + _T("\r\n") + kLargeBody : CString(_T("Note\r\nshort"));
        info.strLabel = _T("Yellow");
        info.nNoteColor = 3;
        info.nNoteX = 10;
        info.nNoteY = 20;
        info.nNoteWidth = 300;
        info.nNoteHeight = 250;
    }
    static FieldTexts Fields(const Info& info)
    {
        return With(BaseFields(info), {FIELD(strSubject), FIELD(strContents), FIELD(strLabel), FIELD(nNoteColor),
                                       FIELD(nNoteX), FIELD(nNoteY), FIELD(nNoteWidth), FIELD(nNoteHeight)});
    }
};

template <class Kind> class ListEqualsReadTest : public FolderItemTest
{
protected:
    typedef typename Kind::Info Info;

    ListEqualsReadTest() : FolderItemTest(Kind::kFolderProperty, Kind::kFolderName) {}

    void TearDown() override
    {
        for (INT_PTR i = 0; i < m_records.GetSize(); ++i)
            delete m_records[i];
        m_records.RemoveAll();
        FolderItemTest::TearDown();
    }

    // A plain item and a rich one (long text, large body, an attachment, a recurrence where the kind has one).
    void AddItems(CMAPIInterface& mapi)
    {
        const std::string file = FilesDir() + "/a.txt";
        FILE* pFile = fopen(file.c_str(), "wb");
        ASSERT_NE(nullptr, pFile);
        fputs("a", pFile);
        fclose(pFile);
        for (bool bRich : {false, true})
        {
            Info info;
            Kind::Fill(info, bRich, CString::FromUtf8(file.c_str()));
            ASSERT_TRUE(Kind::Create(mapi, &FolderRecord(), &info));
        }
    }

    CArray<Info*, Info*> m_records;
};

typedef ::testing::Types<ContactKind, EmailKind, ScheduleListKind, TodoListKind, MemoListKind> Kinds;
TYPED_TEST_SUITE(ListEqualsReadTest, Kinds);
} // namespace

TYPED_TEST(ListEqualsReadTest, EachListedItemEqualsItsSingleRead)
{
    CMAPIInterface mapi;
    this->AddItems(mapi);
    for (int nYield : {0, 1})
    {
        SCOPED_TRACE(nYield);
        CMAPIInterface::SetYield(nYield);
        this->Trace().Clear();
        ASSERT_TRUE(TypeParam::List(mapi, &this->FolderRecord(), this->m_records, 0x7));
        ASSERT_EQ(2, this->m_records.GetSize());
        const std::vector<CString> listTrace = this->Trace().GetLines();
        this->Trace().Clear();
        for (INT_PTR i = 0; i < this->m_records.GetSize(); ++i)
        {
            typename TypeParam::Info single;
            CopySBinary(single.sbEntryID, this->m_records[i]->sbEntryID);
            ASSERT_TRUE(TypeParam::Read(mapi, &single, 0x7));
            const FieldTexts listed = TypeParam::Fields(*this->m_records[i]);
            const FieldTexts read = TypeParam::Fields(single);
            ASSERT_EQ(read.size(), listed.size());
            for (size_t n = 0; n < read.size(); ++n)
                EXPECT_EQ(read[n].second, listed[n].second) << "item " << i << ", " << read[n].first;
        }
        EXPECT_EQ(this->Trace().GetLines(), listTrace) << "the same fields traced, in the same order";
        const FieldTexts rich = TypeParam::Fields(*this->m_records[1]);
        EXPECT_TRUE(
            std::any_of(rich.begin(), rich.end(), [](const auto& field) { return field.second.size() >= 10000; }))
            << "the large body came whole";
    }
}
