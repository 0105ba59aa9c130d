#include "items/RecurrenceExceptionBlob.h"

#include <algorithm>
#include <memory>
#include <string>

namespace mapipim
{
namespace
{
constexpr DWORD kChangeHighlightVersion = 0x3009;
constexpr ULONG kMaxTextLength = 0xFFFE; // the 8-bit length field holds the length plus one

// The overridable fields in the order ExceptionInfo holds them: a text or a 32-bit value each.
struct OverrideField
{
    WORD wFlag;
    DWORD RecurrenceException::*pValue;
    CString RecurrenceException::*pText;
};

const OverrideField kOverrideFields[] = {
    {kOverrideSubject, nullptr, &RecurrenceException::strSubject},
    {kOverrideMeetingType, &RecurrenceException::dwMeetingType, nullptr},
    {kOverrideReminderDelta, &RecurrenceException::dwReminderDelta, nullptr},
    {kOverrideReminder, &RecurrenceException::dwReminderSet, nullptr},
    {kOverrideLocation, nullptr, &RecurrenceException::strLocation},
    {kOverrideBusyStatus, &RecurrenceException::dwBusyStatus, nullptr},
    {kOverrideAttachment, &RecurrenceException::dwAttachment, nullptr},
    {kOverrideSubType, &RecurrenceException::dwSubType, nullptr},
    {kOverrideAppointmentColor, &RecurrenceException::dwAppointmentColor, nullptr},
};

bool HasWideTexts(const RecurrenceException& exception)
{
    return (exception.wOverrideFlags & (kOverrideSubject | kOverrideLocation)) != 0;
}

// Reads that report whether the value held the bytes, so that a short value ends the walk.
bool Take(BlobReader& stream, WORD& value)
{
    if (stream.Left() < sizeof(WORD))
        return false;
    stream.ReadWord(&value);
    return true;
}

bool Take(BlobReader& stream, DWORD& value)
{
    if (stream.Left() < sizeof(DWORD))
        return false;
    stream.ReadDWord(&value);
    return true;
}

bool SkipSizedBlock(BlobReader& stream)
{
    DWORD cb = 0;
    if (!Take(stream, cb) || cb > stream.Left())
        return false;
    stream.Skip(cb);
    return true;
}

std::string AnsiOf(const CString& text)
{
    const int cch = text.GetLength();
    const int cb = cch ? WideCharToMultiByte(CP_ACP, 0, text, cch, nullptr, 0, nullptr, nullptr) : 0;
    std::string bytes(cb > 0 ? static_cast<size_t>(cb) : 0, '\0');
    if (cb > 0)
        WideCharToMultiByte(CP_ACP, 0, text, cch, bytes.data(), cb, nullptr, nullptr);
    if (bytes.size() > kMaxTextLength)
        bytes.resize(kMaxTextLength);
    return bytes;
}

// A text ends at its first NUL, as every MAPI text does: what follows it is not part of the text.
CString TextUpToNul(LPCWSTR pszText, int cch)
{
    int nLength = 0;
    while (nLength < cch && pszText[nLength] != 0)
        ++nLength;
    return nLength ? CString(pszText, nLength) : CString();
}

CString TextOfAnsi(const std::string& bytes)
{
    const int cb = static_cast<int>(std::min(bytes.size(), bytes.find('\0')));
    const int cch = cb ? MultiByteToWideChar(CP_ACP, 0, bytes.data(), cb, nullptr, 0) : 0;
    if (cch <= 0)
        return CString();
    std::unique_ptr<WCHAR[]> text(new WCHAR[cch]);
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), cb, text.get(), cch);
    return TextUpToNul(text.get(), cch);
}

bool ReadAnsiText(BlobReader& stream, CString& text)
{
    WORD cbWithTerminator = 0, cb = 0;
    if (!Take(stream, cbWithTerminator) || !Take(stream, cb) || cb > stream.Left())
        return false;
    std::string bytes(cb, '\0');
    stream.ReadBytes(cb, bytes.data());
    text = TextOfAnsi(bytes);
    return true;
}

bool ReadWideText(BlobReader& stream, CString& text)
{
    WORD cch = 0;
    if (!Take(stream, cch) || ULONG(cch) * sizeof(WCHAR) > stream.Left())
        return false;
    LPWSTR pszText = nullptr;
    stream.ReadString(cch, &pszText);
    std::unique_ptr<WCHAR[]> owned(pszText);
    text = cch && pszText ? TextUpToNul(pszText, cch) : CString();
    return cch == 0 || pszText != nullptr;
}

bool ReadExceptionInfo(BlobReader& stream, RecurrenceException& exception)
{
    if (!Take(stream, exception.dwStartDateTime) || !Take(stream, exception.dwEndDateTime) ||
        !Take(stream, exception.dwOriginalStartTime) || !Take(stream, exception.wOverrideFlags))
        return false;
    for (const OverrideField& field : kOverrideFields)
    {
        if (!(exception.wOverrideFlags & field.wFlag))
            continue;
        if (field.pText ? !ReadAnsiText(stream, exception.*field.pText) : !Take(stream, exception.*field.pValue))
            return false;
    }
    return true;
}

// The wide texts replace the 8-bit ones only once the whole entry has been read.
bool ReadExtendedException(BlobReader& stream, RecurrenceException& exception, DWORD dwWriterVersion2)
{
    if ((dwWriterVersion2 >= kChangeHighlightVersion && !SkipSizedBlock(stream)) || !SkipSizedBlock(stream))
        return false;
    if (!HasWideTexts(exception))
        return true;
    DWORD dwTimes[3];
    CString strSubject = exception.strSubject;
    CString strLocation = exception.strLocation;
    if (!Take(stream, dwTimes[0]) || !Take(stream, dwTimes[1]) || !Take(stream, dwTimes[2]))
        return false;
    if ((exception.wOverrideFlags & kOverrideSubject) && !ReadWideText(stream, strSubject))
        return false;
    if ((exception.wOverrideFlags & kOverrideLocation) && !ReadWideText(stream, strLocation))
        return false;
    if (!SkipSizedBlock(stream))
        return false;
    exception.strSubject = strSubject;
    exception.strLocation = strLocation;
    return true;
}

ULONG WideLength(const CString& text)
{
    const ULONG cch = static_cast<ULONG>(text.GetLength());
    return cch < kMaxTextLength ? cch : kMaxTextLength;
}

void WriteAnsiText(CMAPIByteStream& stream, const CString& text)
{
    const std::string bytes = AnsiOf(text);
    stream.WriteWord(static_cast<WORD>(bytes.size() + 1));
    stream.WriteWord(static_cast<WORD>(bytes.size()));
    stream.WriteBytes(static_cast<ULONG>(bytes.size()), bytes.data());
}

void WriteWideText(CMAPIByteStream& stream, const CString& text)
{
    const ULONG cch = WideLength(text);
    stream.WriteWord(static_cast<WORD>(cch));
    stream.WriteBytes(cch * sizeof(WCHAR), static_cast<LPCWSTR>(text));
}

void WriteExceptionInfo(CMAPIByteStream& stream, const RecurrenceException& exception)
{
    stream.WriteDWord(exception.dwStartDateTime);
    stream.WriteDWord(exception.dwEndDateTime);
    stream.WriteDWord(exception.dwOriginalStartTime);
    stream.WriteWord(exception.wOverrideFlags);
    for (const OverrideField& field : kOverrideFields)
    {
        if (!(exception.wOverrideFlags & field.wFlag))
            continue;
        if (field.pText)
            WriteAnsiText(stream, exception.*field.pText);
        else
            stream.WriteDWord(exception.*field.pValue);
    }
}

void WriteExtendedException(CMAPIByteStream& stream, const RecurrenceException& exception, DWORD dwWriterVersion2)
{
    if (dwWriterVersion2 >= kChangeHighlightVersion)
    {
        stream.WriteDWord(4); // change highlight: its value only
        stream.WriteDWord(0);
    }
    stream.WriteDWord(0); // reserved block EE1
    if (!HasWideTexts(exception))
        return;
    stream.WriteDWord(exception.dwStartDateTime);
    stream.WriteDWord(exception.dwEndDateTime);
    stream.WriteDWord(exception.dwOriginalStartTime);
    if (exception.wOverrideFlags & kOverrideSubject)
        WriteWideText(stream, exception.strSubject);
    if (exception.wOverrideFlags & kOverrideLocation)
        WriteWideText(stream, exception.strLocation);
    stream.WriteDWord(0); // reserved block EE2
}

ULONG ExceptionSize(const RecurrenceException& exception, DWORD dwWriterVersion2)
{
    ULONG cb = 14 + 4; // times and flags; reserved block EE1's size
    for (const OverrideField& field : kOverrideFields)
        if (exception.wOverrideFlags & field.wFlag)
            cb += field.pText ? 4 + static_cast<ULONG>(AnsiOf(exception.*field.pText).size()) : 4;
    if (dwWriterVersion2 >= kChangeHighlightVersion)
        cb += 8;
    if (HasWideTexts(exception))
    {
        cb += 12 + 4;
        if (exception.wOverrideFlags & kOverrideSubject)
            cb += 2 + WideLength(exception.strSubject) * sizeof(WCHAR);
        if (exception.wOverrideFlags & kOverrideLocation)
            cb += 2 + WideLength(exception.strLocation) * sizeof(WCHAR);
    }
    return cb;
}
} // namespace

std::vector<RecurrenceException> ReadRecurrenceExceptions(BlobReader& stream, WORD nCount, DWORD dwWriterVersion2)
{
    std::vector<RecurrenceException> exceptions;
    for (WORD i = 0; i < nCount; ++i)
    {
        RecurrenceException exception;
        if (!ReadExceptionInfo(stream, exception))
            return exceptions;
        exceptions.push_back(exception);
    }
    if (!SkipSizedBlock(stream))
        return exceptions;
    for (RecurrenceException& exception : exceptions)
        if (!ReadExtendedException(stream, exception, dwWriterVersion2))
            return exceptions;
    SkipSizedBlock(stream);
    return exceptions;
}

void WriteRecurrenceExceptions(CMAPIByteStream& stream, const std::vector<RecurrenceException>& exceptions,
                               DWORD dwWriterVersion2)
{
    for (const RecurrenceException& exception : exceptions)
        WriteExceptionInfo(stream, exception);
    stream.WriteDWord(0); // reserved block 1
    for (const RecurrenceException& exception : exceptions)
        WriteExtendedException(stream, exception, dwWriterVersion2);
    stream.WriteDWord(0); // reserved block 2
}

ULONG RecurrenceExceptionsSize(const std::vector<RecurrenceException>& exceptions, DWORD dwWriterVersion2)
{
    ULONG cb = 8; // the two reserved blocks' sizes
    for (const RecurrenceException& exception : exceptions)
        cb += ExceptionSize(exception, dwWriterVersion2);
    return cb;
}
} // namespace mapipim
