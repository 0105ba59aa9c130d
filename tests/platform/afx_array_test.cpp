#include "platform/platform.h"

#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

namespace
{
struct Record
{
    int nValue;
};

TEST(CArrayTest, AddReturnsIndexesAndGrows)
{
    CArray<int> numbers;
    EXPECT_TRUE(numbers.IsEmpty());
    EXPECT_EQ(numbers.GetData(), nullptr);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(numbers.Add(i * 2), i);
    EXPECT_EQ(numbers.GetSize(), 100);
    EXPECT_EQ(numbers.GetCount(), 100);
    EXPECT_EQ(numbers.GetUpperBound(), 99);
    EXPECT_EQ(numbers[50], 100);
    EXPECT_EQ(numbers.GetData()[99], 198);
}

TEST(CArrayTest, RecordPointersAndOutOfRangeIndexes)
{
    Record first{1};
    CArray<Record*, Record*> records;
    records.Add(&first);
    EXPECT_EQ(records.GetAt(0), &first);
    EXPECT_EQ(records.GetAt(1), nullptr);
    EXPECT_EQ(records[-1], nullptr);
    records[7] = &first; // lands in scratch space, not in the array
    EXPECT_EQ(records.GetSize(), 1);
    EXPECT_EQ(records.GetAt(7), nullptr);
    records.SetAt(3, &first);
    EXPECT_EQ(records.GetSize(), 1);
}

TEST(CArrayTest, SetSizeValueInitialisesAndShrinks)
{
    CArray<Record*, Record*> records;
    records.SetSize(3, 16);
    EXPECT_EQ(records.GetSize(), 3);
    EXPECT_EQ(records[2], nullptr);
    records.SetSize(1);
    EXPECT_EQ(records.GetSize(), 1);
    records.SetSize(-4);
    EXPECT_EQ(records.GetSize(), 1);
    records.RemoveAll();
    EXPECT_TRUE(records.IsEmpty());
}

TEST(CArrayTest, InsertAndRemoveAt)
{
    CArray<int> numbers;
    numbers.Add(1);
    numbers.Add(4);
    numbers.InsertAt(1, 2);
    numbers.InsertAt(2, 3, 2);
    ASSERT_EQ(numbers.GetSize(), 5);
    EXPECT_EQ(numbers[3], 3);
    numbers.InsertAt(7, 9); // beyond the end: grows with zeros first
    ASSERT_EQ(numbers.GetSize(), 8);
    EXPECT_EQ(numbers[5], 0);
    EXPECT_EQ(numbers[7], 9);
    numbers.RemoveAt(5, 100);
    EXPECT_EQ(numbers.GetSize(), 5);
    numbers.RemoveAt(0);
    numbers.RemoveAt(10);
    numbers.RemoveAt(-1);
    ASSERT_EQ(numbers.GetSize(), 4);
    EXPECT_EQ(numbers[0], 2);
}

TEST(CArrayTest, AppendCopyAndSelfReferences)
{
    CArray<CString> names;
    names.Add(CString(_T("a")));
    names.Add(names[0]); // the argument lives in the array while it grows
    names.SetAtGrow(3, names[1]);
    ASSERT_EQ(names.GetSize(), 4);
    EXPECT_EQ(names[3], _T("a"));
    EXPECT_TRUE(names[2].IsEmpty());
    EXPECT_EQ(names.Append(names), 4);
    EXPECT_EQ(names.GetSize(), 8);
    CArray<CString> copy;
    copy.Copy(names);
    copy[0] = _T("changed");
    EXPECT_EQ(names[0], _T("a"));
    CArray<CString> other;
    other.Add(CString(_T("x")));
    names.InsertAt(1, &other);
    EXPECT_EQ(names[1], _T("x"));
    EXPECT_EQ(names.GetSize(), 9);
}
} // namespace
