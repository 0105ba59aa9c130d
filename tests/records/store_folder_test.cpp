// Store and folder records, and the entry-identifier part that every item record shares.
#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/MAPIMemoInfo.h>
#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/MAPITodoInfo.h>
#include <mapipim/OutlookStore.h>

#include "RecordTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace recordtest;

namespace
{
// ---- The base part, through every item record that carries it

template <class TRecord> class ItemRecordBaseTest : public testing::Test
{
protected:
    static std::unique_ptr<TRecord> MakeRecord(Bytes id, LPCWSTR szId)
    {
        std::unique_ptr<TRecord> pRecord(new TRecord);
        SetBytes(pRecord->sbEntryID, id);
        pRecord->strEntryID = szId;
        pRecord->tmCTime = MakeSystemTime(2020, 1, 2, 3, 4);
        pRecord->tmLMTime = MakeSystemTime(2021, 5, 6, 7, 8);
        return pRecord;
    }
};

typedef testing::Types<CMAPIEmailInfo, CMAPIContactInfo, CMAPIMemoInfo, CMAPIScheduleInfo, CMAPITodoInfo> ItemRecords;
TYPED_TEST_SUITE(ItemRecordBaseTest, ItemRecords);

TYPED_TEST(ItemRecordBaseTest, DefaultBaseIsEmpty)
{
    TypeParam record;
    EXPECT_EQ(record.sbEntryID.cb, 0u);
    EXPECT_EQ(record.sbEntryID.lpb, nullptr);
    EXPECT_TRUE(record.strEntryID.IsEmpty());
    EXPECT_TRUE(IsZero(record.tmCTime));
    EXPECT_TRUE(IsZero(record.tmLMTime));
}

TYPED_TEST(ItemRecordBaseTest, CopyOwnsItsIdentifierAndOutlivesTheSource)
{
    auto pSource = this->MakeRecord({0xA1, 0xB2, 0xC3}, _T("A1B2C3"));
    TypeParam copy(*pSource);
    EXPECT_NE(copy.sbEntryID.lpb, pSource->sbEntryID.lpb);
    pSource->sbEntryID.lpb[0] = 0;
    pSource.reset();
    EXPECT_EQ(GetBytes(copy.sbEntryID), (Bytes{0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(copy.strEntryID, _T("A1B2C3"));
    EXPECT_TRUE(SameTime(copy.tmCTime, MakeSystemTime(2020, 1, 2, 3, 4)));
    EXPECT_TRUE(SameTime(copy.tmLMTime, MakeSystemTime(2021, 5, 6, 7, 8)));
}

TYPED_TEST(ItemRecordBaseTest, AssignmentReplacesTheTargetsIdentifier)
{
    auto pSource = this->MakeRecord({1, 2}, _T("0102"));
    auto pTarget = this->MakeRecord({9, 9, 9, 9}, _T("09090909"));
    *pTarget = *pSource;
    EXPECT_EQ(GetBytes(pTarget->sbEntryID), (Bytes{1, 2}));
    EXPECT_NE(pTarget->sbEntryID.lpb, pSource->sbEntryID.lpb);
    EXPECT_EQ(pTarget->strEntryID, _T("0102"));
    EXPECT_EQ(GetBytes(pSource->sbEntryID), (Bytes{1, 2})); // the source is unchanged
    pSource.reset();
    EXPECT_EQ(GetBytes(pTarget->sbEntryID), (Bytes{1, 2}));
}

TYPED_TEST(ItemRecordBaseTest, AssigningAnEmptyRecordEmptiesTheIdentifier)
{
    auto pTarget = this->MakeRecord({5, 6}, _T("0506"));
    *pTarget = TypeParam();
    EXPECT_EQ(pTarget->sbEntryID.cb, 0u);
    EXPECT_EQ(pTarget->sbEntryID.lpb, nullptr);
    EXPECT_TRUE(pTarget->strEntryID.IsEmpty());
}

TYPED_TEST(ItemRecordBaseTest, SelfAssignmentKeepsTheIdentifier)
{
    auto pRecord = this->MakeRecord({7, 8, 9}, _T("070809"));
    TypeParam& self = *pRecord;
    *pRecord = self;
    EXPECT_EQ(GetBytes(pRecord->sbEntryID), (Bytes{7, 8, 9}));
    EXPECT_EQ(pRecord->strEntryID, _T("070809"));
}

// ---- Folder record

TEST(OutlookFolderTest, DefaultsAreEmptyAndZero)
{
    COutlookFolder folder;
    EXPECT_EQ(folder.sbEntryID.cb, 0u);
    EXPECT_EQ(folder.sbParentEntryID.cb, 0u);
    EXPECT_EQ(folder.sbStoreEntryID.cb, 0u);
    EXPECT_TRUE(folder.strName.IsEmpty());
    EXPECT_EQ(folder.nFolderType, 0);
    EXPECT_EQ(folder.nDepth, 0);
    EXPECT_EQ(folder.nCount, 0);
}

std::unique_ptr<COutlookFolder> MakeFolder()
{
    std::unique_ptr<COutlookFolder> pFolder(new COutlookFolder);
    SetBytes(pFolder->sbEntryID, {1, 1});
    SetBytes(pFolder->sbParentEntryID, {2, 2, 2});
    SetBytes(pFolder->sbStoreEntryID, {3});
    pFolder->strName = _T("Contacts");
    pFolder->nFolderType = 16;
    pFolder->nDepth = 2;
    pFolder->nCount = -1;
    return pFolder;
}

TEST(OutlookFolderTest, CopyKeepsItsIdentifiersAfterTheSourceIsGone)
{
    auto pSource = MakeFolder();
    COutlookFolder copy(*pSource);
    pSource.reset();
    EXPECT_EQ(GetBytes(copy.sbEntryID), (Bytes{1, 1}));
    EXPECT_EQ(GetBytes(copy.sbParentEntryID), (Bytes{2, 2, 2}));
    EXPECT_EQ(GetBytes(copy.sbStoreEntryID), (Bytes{3}));
    EXPECT_EQ(copy.strName, _T("Contacts"));
    EXPECT_EQ(copy.nFolderType, 16);
    EXPECT_EQ(copy.nDepth, 2);
    EXPECT_EQ(copy.nCount, -1);
}

TEST(OutlookFolderTest, AssignmentCopiesDeeplyAndSurvivesSelfAssignment)
{
    auto pSource = MakeFolder();
    COutlookFolder target;
    SetBytes(target.sbEntryID, {9, 9, 9, 9, 9});
    target = *pSource;
    EXPECT_NE(target.sbParentEntryID.lpb, pSource->sbParentEntryID.lpb);
    pSource.reset();
    EXPECT_EQ(GetBytes(target.sbEntryID), (Bytes{1, 1}));
    COutlookFolder& self = target;
    target = self;
    EXPECT_EQ(GetBytes(target.sbStoreEntryID), (Bytes{3}));
    EXPECT_EQ(target.strName, _T("Contacts"));
}

// ---- Store record

TEST(OutlookStoreTest, DefaultsAreEmptyAndZero)
{
    COutlookStore store;
    EXPECT_EQ(store.sbEntryID.cb, 0u);
    EXPECT_TRUE(store.strName.IsEmpty());
    EXPECT_TRUE(store.strProvider.IsEmpty());
    EXPECT_EQ(store.nFolderTypes, 0);
    EXPECT_EQ(store.bDefault, 0);
    EXPECT_EQ(store.nSupportMask, 0u);
    EXPECT_EQ(store.arrFolders.GetSize(), 0);
}

TEST(OutlookStoreTest, ClearDeletesTheFoldersAndResetsEveryField)
{
    COutlookStore store;
    SetBytes(store.sbEntryID, {4, 4});
    store.strName = _T("Personal Folders");
    store.strProvider = _T("Personal Folders Provider");
    store.nFolderTypes = 0x1F;
    store.bDefault = TRUE;
    store.nSupportMask = 0x40000;
    for (int i = 0; i < 3; ++i)
        store.arrFolders.Add(MakeFolder().release()); // owned by the store from here; the leak check counts them

    store.Clear();
    EXPECT_EQ(store.arrFolders.GetSize(), 0);
    EXPECT_EQ(store.sbEntryID.cb, 0u);
    EXPECT_EQ(store.sbEntryID.lpb, nullptr);
    EXPECT_TRUE(store.strName.IsEmpty());
    EXPECT_TRUE(store.strProvider.IsEmpty());
    EXPECT_EQ(store.nFolderTypes, 0);
    EXPECT_EQ(store.bDefault, 0);
    EXPECT_EQ(store.nSupportMask, 0u);

    store.Clear(); // nothing further to release
    EXPECT_EQ(store.arrFolders.GetSize(), 0);

    // The destructor clears too: these folders go with the store (the leak check at exit counts them).
    store.arrFolders.Add(MakeFolder().release());
    SetBytes(store.sbEntryID, {1});
}
} // namespace
