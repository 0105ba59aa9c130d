// The operating system's file calls behind CFile: POSIX on Linux, Win32 on Windows. Failures come back as results
// with the Windows error code in GetLastError, never as exceptions.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// nOpenFlags are CFile's mode, share and create flags. INVALID_HANDLE_VALUE on failure; directories never open.
HANDLE OpenFileHandle(LPCWSTR pszPath, UINT nOpenFlags);
void CloseFileHandle(HANDLE hFile);
// Reads until nCount bytes, the end of the file or an error; returns the bytes read.
UINT ReadFileHandle(HANDLE hFile, void* pBuffer, UINT nCount);
// Writes until nCount bytes or an error; returns the bytes written.
UINT WriteFileHandle(HANDLE hFile, const void* pBuffer, UINT nCount);
// nFrom is CFile::begin, current or end. False on failure (a negative result position among them).
bool SeekFileHandle(HANDLE hFile, LONGLONG nOffset, UINT nFrom, ULONGLONG& nPosition);
bool GetFileHandleLength(HANDLE hFile, ULONGLONG& nLength);
bool SetFileHandleLength(HANDLE hFile, ULONGLONG nLength);
bool FlushFileHandle(HANDLE hFile);
} // namespace mapipim
