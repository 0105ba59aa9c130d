#include <mapipim/MAPIByteStream.h>

#include "platform/platform.h"

#include <cstring>
#include <new>

CMAPIByteStream::CMAPIByteStream()
    : m_pOwned(nullptr), m_cbWritten(0), m_pStart(nullptr), m_pEnd(nullptr), m_pCursor(nullptr)
{
}

CMAPIByteStream::~CMAPIByteStream()
{
    if (m_pOwned != nullptr)
        MAPIFreeBuffer(m_pOwned);
}

void CMAPIByteStream::Init(ULONG cb, LPBYTE pBuffer)
{
    m_cbWritten = 0;
    m_pStart = pBuffer;
    m_pCursor = pBuffer;
    m_pEnd = pBuffer != nullptr ? pBuffer + cb : nullptr;
}

void CMAPIByteStream::AttachValue(LPSPropValue pValue)
{
    if (m_pOwned != nullptr && m_pOwned != pValue)
        MAPIFreeBuffer(m_pOwned);
    m_pOwned = pValue;
    // Only a binary value has bytes to read; any other (an error value, say) is held and freed but reads as empty.
    if (pValue != nullptr && PROP_TYPE(pValue->ulPropTag) == PT_BINARY)
        Init(pValue->Value.bin.cb, pValue->Value.bin.lpb);
    else
        Init(0, nullptr);
}

// Sizes are compared with the room left rather than by forming cursor + size, which could point past the end.
bool CMAPIByteStream::Fits(ULONGLONG cb) const
{
    return m_pCursor != nullptr && cb <= ULONGLONG(m_pEnd - m_pCursor);
}

void CMAPIByteStream::Read(ULONG cb, LPVOID pDestination)
{
    if (pDestination == nullptr || !Fits(cb))
        return;
    std::memcpy(pDestination, m_pCursor, cb);
    m_pCursor += cb;
}

void CMAPIByteStream::Write(ULONG cb, const void* pSource)
{
    if (cb == 0 || pSource == nullptr || !Fits(cb))
        return;
    std::memcpy(m_pCursor, pSource, cb);
    m_pCursor += cb;
    m_cbWritten += cb;
}

void CMAPIByteStream::ReadByte(BYTE* pValue)
{
    Read(sizeof(BYTE), pValue);
}

void CMAPIByteStream::ReadWord(WORD* pValue)
{
    Read(sizeof(WORD), pValue);
}

void CMAPIByteStream::ReadDWord(DWORD* pValue)
{
    Read(sizeof(DWORD), pValue);
}

void CMAPIByteStream::ReadBytes(ULONG cb, LPVOID pDestination)
{
    Read(cb, pDestination);
}

void CMAPIByteStream::ReadString(ULONG nChars, LPWSTR* ppszText)
{
    const ULONGLONG cbText = ULONGLONG(nChars) * sizeof(WCHAR);
    if (nChars == 0 || ppszText == nullptr || !Fits(cbText))
        return;
    LPWSTR pszText = new (std::nothrow) WCHAR[size_t(nChars) + 1];
    if (pszText != nullptr)
    {
        std::memcpy(pszText, m_pCursor, size_t(cbText));
        pszText[nChars] = 0;
    }
    *ppszText = pszText;
    m_pCursor += cbText;
}

void CMAPIByteStream::Skip(ULONG cb)
{
    if (m_pCursor == nullptr)
        return;
    // A skip past the end leaves the cursor at the end: no room is left, so every later read and write does
    // nothing, just as if the cursor stood beyond it.
    m_pCursor = Fits(cb) ? m_pCursor + cb : m_pEnd;
}

void CMAPIByteStream::WriteByte(BYTE value)
{
    Write(sizeof(value), &value);
}

void CMAPIByteStream::WriteWord(WORD value)
{
    Write(sizeof(value), &value);
}

void CMAPIByteStream::WriteDWord(DWORD value)
{
    Write(sizeof(value), &value);
}

void CMAPIByteStream::WriteBytes(ULONG cb, const void* pSource)
{
    Write(cb, pSource);
}

void CMAPIByteStream::WriteString(LPCWSTR pszText)
{
    if (pszText != nullptr)
        Write(ULONG(lstrlenW(pszText)) * sizeof(WCHAR), pszText);
}
