// BatchedRows: a table's rows one at a time, fetched a batch at a time, to the end or to a failed fetch.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "session/BatchedRows.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <memory>

namespace
{
class BatchedRowsTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Mailbox");
        mapisvc::EntryId top = AddFolder(m_store, nullptr, u"Top");
        for (const char16_t* szName : {u"one", u"two", u"three", u"four", u"five"})
            m_folders.push_back(AddFolder(m_store, &top, szName));
        SBinary storeID = AsSBinary(m_store);
        SBinary topID = AsSBinary(top);
        ASSERT_TRUE(Session().OpenFolder(storeID, topID, m_top));
        SizedSPropTagArray(1, columns) = {1, {PR_ENTRYID}};
        m_pTable = m_top.GetHierarchy(reinterpret_cast<LPSPropTagArray>(&columns), 0);
        ASSERT_NE(m_pTable, nullptr);
        mapisvc::ClearCallLog();
    }

    void TearDown() override
    {
        m_top.Close();
        SessionTest::TearDown();
    }

    std::vector<mapisvc::EntryId> ReadAll(mapipim::BatchedRows& rows)
    {
        std::vector<mapisvc::EntryId> read;
        while (SRow* pRow = rows.Next())
            read.push_back(ToEntryId(pRow->lpProps[0].Value.bin));
        return read;
    }

    mapisvc::EntryId m_store;
    std::vector<mapisvc::EntryId> m_folders;
    CMAPIFolder m_top;
    IMAPITable* m_pTable = nullptr;
};
} // namespace

TEST_F(BatchedRowsTest, EveryRowInOrderAcrossBatches)
{
    mapipim::BatchedRows rows(m_pTable, 2);
    EXPECT_EQ(ReadAll(rows), m_folders);
    // Two full batches, a short one, and the empty fetch that tells the end.
    const std::vector<mapisvc::CallRecord> fetches = CallsOf("IMAPITable", "QueryRows");
    EXPECT_EQ(fetches.size(), 4u);
    EXPECT_EQ(rows.Next(), nullptr);
}

TEST_F(BatchedRowsTest, OneFetchWhenTheBatchHoldsTheTable)
{
    mapipim::BatchedRows rows(m_pTable, 256);
    EXPECT_EQ(ReadAll(rows), m_folders);
    EXPECT_EQ(CallsOf("IMAPITable", "QueryRows").size(), 2u);
}

TEST_F(BatchedRowsTest, AFailedFetchEndsTheRows)
{
    mapisvc::InjectFault(FailCall("IMAPITable", "QueryRows", 2));
    mapipim::BatchedRows rows(m_pTable, 2);
    EXPECT_EQ(ReadAll(rows), std::vector<mapisvc::EntryId>(m_folders.begin(), m_folders.begin() + 2));

    mapipim::BatchedRows none(nullptr, 2);
    EXPECT_EQ(none.Next(), nullptr);
}
