// The bounded byte stream over a caller's buffer: little-endian reads and
// writes that never cross the end.
#include <mapipim/MAPIByteStream.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
typedef std::vector<BYTE> Bytes;

TEST(ByteStreamTest, ReadsThatDoNotFitChangeNothing) {
  Bytes data = {0x11, 0x22, 0x33};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());

  DWORD dw = 0xDEADBEEF;
  stream.ReadDWord(&dw);
  EXPECT_EQ(dw, 0xDEADBEEFu);
  WORD w = 0;
  stream.ReadWord(&w); // the cursor did not move: the first two bytes
  EXPECT_EQ(w, 0x2211);
  BYTE b = 0;
  stream.ReadByte(&b);
  EXPECT_EQ(b, 0x33);
  b = 0xAA;
  stream.ReadByte(&b); // at the end
  EXPECT_EQ(b, 0xAA);
}

TEST(ByteStreamTest, ReadsLittleEndianValuesInOrder) {
  Bytes data = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());
  BYTE b = 0;
  WORD w = 0;
  DWORD dw = 0;
  BYTE rest[2] = {};
  stream.ReadByte(&b);
  stream.ReadWord(&w);
  stream.ReadDWord(&dw);
  stream.ReadBytes(sizeof(rest), rest);
  EXPECT_EQ(b, 0x01);
  EXPECT_EQ(w, 0x0302);
  EXPECT_EQ(dw, 0x07060504u);
  EXPECT_EQ(rest[0], 0x08);
  EXPECT_EQ(rest[1], 0x09);
}

TEST(ByteStreamTest, ReadBytesThatDoNotFitLeaveTheDestination) {
  Bytes data = {1, 2, 3};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());
  BYTE dest[4] = {9, 9, 9, 9};
  stream.ReadBytes(4, dest);
  EXPECT_EQ(dest[0], 9);
  EXPECT_EQ(dest[3], 9);
  stream.ReadBytes(
      3, nullptr); // a null destination reads nothing and keeps the cursor
  stream.ReadBytes(3, dest);
  EXPECT_EQ(dest[0], 1);
  EXPECT_EQ(dest[2], 3);
  EXPECT_EQ(dest[3], 9);
}

TEST(ByteStreamTest, ReadStringCopiesTheCharactersAndAdvances) {
  Bytes data = {'T', 0, 'e', 0, 's', 0, 't', 0, 0x34, 0x12};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());
  LPWSTR pszText = nullptr;
  stream.ReadString(4, &pszText);
  ASSERT_NE(pszText, nullptr);
  std::unique_ptr<WCHAR[]> owner(
      pszText); // the caller releases it with delete[]
  EXPECT_EQ(CString(pszText), _T("Test"));
  WORD w = 0;
  stream.ReadWord(&w); // advanced by 8 bytes
  EXPECT_EQ(w, 0x1234);
}

TEST(ByteStreamTest, ReadStringThatDoesNotFitChangesNothing) {
  Bytes data = {'a', 0, 'b', 0, 'c'};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());
  WCHAR sentinel[] = {'s', 0};
  LPWSTR pszText = sentinel;
  stream.ReadString(3, &pszText); // 6 bytes wanted, 5 held
  EXPECT_EQ(pszText, sentinel);
  stream.ReadString(0, &pszText);
  EXPECT_EQ(pszText, sentinel);
  stream.ReadString(0xFFFFFFFF,
                    &pszText); // a count whose byte size overflows 32 bits
  EXPECT_EQ(pszText, sentinel);
  stream.ReadString(2, nullptr);
  WORD w = 0;
  stream.ReadWord(&w);
  EXPECT_EQ(w, 'a');
}

TEST(ByteStreamTest, SkipPastTheEndStopsEveryLaterReadAndWrite) {
  Bytes data = {1, 2, 3, 4};
  CMAPIByteStream stream;
  stream.Init(ULONG(data.size()), data.data());
  stream.Skip(2);
  BYTE b = 0;
  stream.ReadByte(&b);
  EXPECT_EQ(b, 3);
  stream.Skip(0xFFFFFFFF);
  b = 0xAA;
  stream.ReadByte(&b);
  EXPECT_EQ(b, 0xAA);
  stream.WriteByte(0x55);
  EXPECT_EQ(stream.GetLength(), 0u);
  EXPECT_EQ(data[3], 4);
}

TEST(ByteStreamTest, WritesLittleEndianAndCountsTheBytes) {
  Bytes buffer(16, 0xCC);
  CMAPIByteStream stream;
  stream.Init(ULONG(buffer.size()), buffer.data());
  stream.WriteByte(0x01);
  stream.WriteWord(0x0302);
  stream.WriteDWord(0x07060504);
  const BYTE more[] = {0x08, 0x09};
  stream.WriteBytes(sizeof(more), more);
  stream.WriteString(_T("AB"));
  EXPECT_EQ(stream.GetLength(), 13u);
  EXPECT_EQ(stream.GetBuffer(), buffer.data());
  EXPECT_EQ(buffer, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 'A', 0, 'B', 0, 0xCC,
                           0xCC, 0xCC}));
}

TEST(ByteStreamTest, WritesThatDoNotFitLeaveLengthAndCursor) {
  Bytes buffer(2, 0xCC);
  CMAPIByteStream stream;
  stream.Init(ULONG(buffer.size()), buffer.data());
  stream.WriteDWord(0x11111111);
  EXPECT_EQ(stream.GetLength(), 0u);
  stream.WriteString(_T("abc"));
  const BYTE three[] = {1, 2, 3};
  stream.WriteBytes(3, three);
  EXPECT_EQ(stream.GetLength(), 0u);
  EXPECT_EQ(buffer, (Bytes{0xCC, 0xCC}));
  stream.WriteWord(0x2211); // the cursor stayed at the start
  EXPECT_EQ(stream.GetLength(), 2u);
  EXPECT_EQ(buffer, (Bytes{0x11, 0x22}));
}

TEST(ByteStreamTest, EmptyWritesWriteNothing) {
  Bytes buffer(4, 0xCC);
  CMAPIByteStream stream;
  stream.Init(ULONG(buffer.size()), buffer.data());
  stream.WriteBytes(0, buffer.data());
  stream.WriteBytes(2, nullptr);
  stream.WriteString(_T(""));
  stream.WriteString(nullptr);
  EXPECT_EQ(stream.GetLength(), 0u);
  EXPECT_EQ(buffer, Bytes(4, 0xCC));
}

TEST(ByteStreamTest, StreamWithoutDataDoesNothing) {
  CMAPIByteStream stream;
  EXPECT_EQ(stream.GetBuffer(), nullptr);
  EXPECT_EQ(stream.GetLength(), 0u);
  DWORD dw = 7;
  stream.ReadDWord(&dw);
  stream.WriteDWord(1);
  stream.Skip(4);
  EXPECT_EQ(dw, 7u);
  EXPECT_EQ(stream.GetLength(), 0u);

  stream.Init(8, nullptr); // a count without a buffer holds no data either
  stream.WriteDWord(1);
  EXPECT_EQ(stream.GetLength(), 0u);
}

TEST(ByteStreamTest, InitStartsAgainOverTheNewBuffer) {
  Bytes first(4), second(4);
  CMAPIByteStream stream;
  stream.Init(4, first.data());
  stream.WriteWord(0xFFFF);
  stream.Init(4, second.data());
  EXPECT_EQ(stream.GetLength(), 0u);
  EXPECT_EQ(stream.GetBuffer(), second.data());
  stream.WriteDWord(0x04030201);
  EXPECT_EQ(second, (Bytes{1, 2, 3, 4}));
}
} // namespace
