// The fixture of the recurrence and time-zone item tests: ItemTest with a CMAPIRecurItem open on the saved message,
// the first day of the week set to Sunday, and the bytes of a stored binary property in reach.
#pragma once

#include "items/BlobReader.h"
#include "items/MAPIRecurItem.h"

#include "ItemTestFixture.h"
#include "support/ScopedEnvironment.h"

#include <vector>

class RecurItemTest : public ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        SBinary entryID = MessageID();
        ASSERT_TRUE(m_recur.Open(&m_mapi, entryID));
    }

    void TearDown() override
    {
        m_recur.Close();
        ItemTest::TearDown();
    }

    // The stored value of a binary named property; empty when it cannot be read.
    std::vector<BYTE> Stored(ULONG ulID, int nSet)
    {
        mapipim::BlobReader reader;
        if (!m_recur.GetPropertyBinary(ulID, reader, nSet))
            return {};
        return std::vector<BYTE>(reader.GetBuffer(), reader.GetBuffer() + reader.Left());
    }

    // Writes bytes as they are, as another program would have stored them.
    BOOL Store(ULONG ulID, int nSet, std::vector<BYTE> bytes)
    {
        CMAPIByteStream stream;
        stream.Init(static_cast<ULONG>(bytes.size()), bytes.data());
        stream.WriteBytes(static_cast<ULONG>(bytes.size()), bytes.data());
        return m_recur.SetPropertyBinary(ulID, stream, nSet);
    }

    ScopedEnv m_sunday{"MAPIPIM_FIRST_DAY", "6"}; // Windows' digit for Sunday
    CMAPIRecurItem m_recur;
};
