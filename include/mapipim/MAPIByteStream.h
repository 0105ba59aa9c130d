// CMAPIByteStream: a bounded cursor over the bytes of a binary property value, for building and parsing the
// recurrence and time-zone blobs. Values are little-endian, as the bytes lie in memory. Every read and write
// checks the room left and silently does nothing when the data would cross the end, so that a short or damaged
// value reads as zeros (the caller's initial values) and a full buffer is never overrun.
#pragma once

#include <mapipim/platform.h>

class MAPIPIM_API CMAPIByteStream
{
public:
    CMAPIByteStream();
    ~CMAPIByteStream(); // frees an adopted value with MAPIFreeBuffer

    CMAPIByteStream(const CMAPIByteStream&) = delete;
    CMAPIByteStream& operator=(const CMAPIByteStream&) = delete;

    // Works over the caller's buffer of cb bytes, from its start; the buffer stays the caller's.
    void Init(ULONG cb, LPBYTE pBuffer);
    // Adopts a binary property value that MAPI allocated (freeing the value adopted before) and reads its bytes.
    // The stream frees the value with MAPIFreeBuffer when it adopts another or is destroyed.
    void AttachValue(LPSPropValue pValue);

    // Reads into the destination and advances, or does nothing (destination and cursor unchanged) when the data
    // would cross the end or the destination is null.
    void ReadByte(BYTE* pValue);
    void ReadWord(WORD* pValue);
    void ReadDWord(DWORD* pValue);
    void ReadBytes(ULONG cb, LPVOID pDestination);
    // Reads nChars UTF-16 characters into a new zero-terminated string that the caller releases with delete[].
    // *ppszText is null when the string could not be allocated; the cursor advances past the characters anyway.
    void ReadString(ULONG nChars, LPWSTR* ppszText);
    // Moves the cursor on; a skip past the end stops at the end, so every later read and write does nothing.
    void Skip(ULONG cb);

    // Writes and advances, or writes nothing (cursor and length unchanged) when the data does not fit.
    void WriteByte(BYTE value);
    void WriteWord(WORD value);
    void WriteDWord(DWORD value);
    void WriteBytes(ULONG cb, const void* pSource);
    // The characters of a zero-terminated text, without the terminator.
    void WriteString(LPCWSTR pszText);

    ULONG GetLength() const { return m_cbWritten; } // bytes written so far
    LPBYTE GetBuffer() const { return m_pStart; }

protected:
    bool Fits(ULONGLONG cb) const;
    void Read(ULONG cb, LPVOID pDestination);
    void Write(ULONG cb, const void* pSource);

    LPVOID m_pOwned;   // the adopted MAPI value, or null
    ULONG m_cbWritten; // bytes written so far
    LPBYTE m_pStart;   // start of the data
    LPBYTE m_pEnd;     // one past the last usable byte
    LPBYTE m_pCursor;  // next byte to read or write; null when the stream holds no data
};
