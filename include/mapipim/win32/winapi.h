// The Win32 calls the library makes, declared under their Windows names and signatures for the Linux build.
// Each is implemented in src/platform/win32 with the semantics the library relies on, no more.
#pragma once

#include <mapipim/export.h>
#include <mapipim/win32/wintypes.h>

// ---- Wide text (the C library's wide functions are 32-bit on Linux and never used on WCHAR text)
MAPIPIM_API int lstrlenW(LPCWSTR lpString);
MAPIPIM_API int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2);
MAPIPIM_API int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);
MAPIPIM_API LPWSTR lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength);
MAPIPIM_API BOOL IsBadStringPtrW(LPCWSTR lpsz, UINT_PTR ucchMax);
MAPIPIM_API BOOL IsBadStringPtrA(LPCSTR lpsz, UINT_PTR ucchMax);

// ---- Errors and pauses
MAPIPIM_API DWORD GetLastError();
MAPIPIM_API void SetLastError(DWORD dwErrCode);
MAPIPIM_API void Sleep(DWORD dwMilliseconds);
MAPIPIM_API DWORD GetTickCount();

// ---- Code pages
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define ERROR_INVALID_FLAGS 1004L

MAPIPIM_API int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                    LPWSTR lpWideCharStr, int cchWideChar);
MAPIPIM_API int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                    LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                    LPBOOL lpUsedDefaultChar);
MAPIPIM_API UINT GetACP();
MAPIPIM_API BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);

// ---- Time
#define TIME_ZONE_ID_INVALID ((DWORD)0xFFFFFFFF)
#define TIME_ZONE_ID_UNKNOWN 0
#define TIME_ZONE_ID_STANDARD 1
#define TIME_ZONE_ID_DAYLIGHT 2

MAPIPIM_API BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
MAPIPIM_API BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
MAPIPIM_API void GetLocalTime(LPSYSTEMTIME lpSystemTime);
MAPIPIM_API void GetSystemTime(LPSYSTEMTIME lpSystemTime);
MAPIPIM_API void GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime);
MAPIPIM_API DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation);
MAPIPIM_API DWORD GetDynamicTimeZoneInformation(PDYNAMIC_TIME_ZONE_INFORMATION pTimeZoneInformation);
MAPIPIM_API BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation,
                                                 const SYSTEMTIME* lpUniversalTime, LPSYSTEMTIME lpLocalTime);
MAPIPIM_API BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation,
                                                 const SYSTEMTIME* lpLocalTime, LPSYSTEMTIME lpUniversalTime);
MAPIPIM_API BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
MAPIPIM_API BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);

// ---- Registry (read-only; answers the time-zone keys and the first day of the week)
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define KEY_QUERY_VALUE 0x0001
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_ALL_ACCESS 0xF003F
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

MAPIPIM_API LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
MAPIPIM_API LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName);
MAPIPIM_API LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                  LPDWORD lpcbData);
MAPIPIM_API LONG RegCloseKey(HKEY hKey);

// ---- Window messages
#define WM_NULL 0x0000
#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_USER 0x0400
#define WM_APP 0x8000
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002
#define QS_POSTMESSAGE 0x0008
#define QS_SENDMESSAGE 0x0040
#define HWND_MESSAGE ((HWND)(LONG_PTR)-3)
#define ERROR_INVALID_WINDOW_HANDLE 1400L

MAPIPIM_API UINT RegisterWindowMessageW(LPCWSTR lpString);
MAPIPIM_API LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
MAPIPIM_API BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
MAPIPIM_API BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// The high word tells which of the asked kinds wait in the calling thread's queue now. The low word should tell
// which arrived since the last look; the stand-in keeps no such history and repeats the high word.
MAPIPIM_API DWORD GetQueueStatus(UINT flags);
MAPIPIM_API BOOL TranslateMessage(const MSG* lpMsg);
MAPIPIM_API LRESULT DispatchMessageW(const MSG* lpMsg);
MAPIPIM_API HWND GetDesktopWindow();
MAPIPIM_API BOOL IsWindow(HWND hWnd);
MAPIPIM_API BOOL DestroyWindow(HWND hWnd);
// Linux only: a message-only window whose procedure receives what is sent or posted to it. `context` is handed
// back by GetWindowContext, so that a host can reach its own object from the procedure.
MAPIPIM_API HWND CreateMessageWindow(WNDPROC lpfnWndProc, void* context);
MAPIPIM_API void* GetWindowContext(HWND hWnd);

#define RegisterWindowMessage RegisterWindowMessageW
#define SendMessage SendMessageW
#define PostMessage PostMessageW
#define PeekMessage PeekMessageW
#define DispatchMessage DispatchMessageW

// ---- Files and the shell
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
#define CSIDL_FLAG_CREATE 0x8000
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_MOD_NOT_FOUND 126L

MAPIPIM_API BOOL DeleteFileW(LPCWSTR lpFileName);
MAPIPIM_API DWORD GetFileAttributesW(LPCWSTR lpFileName);
MAPIPIM_API BOOL CreateDirectoryW(LPCWSTR lpPathName, void* lpSecurityAttributes);
MAPIPIM_API BOOL SHGetSpecialFolderPathW(HWND hwnd, LPWSTR pszPath, int csidl, BOOL fCreate);
#define DeleteFile DeleteFileW
#define GetFileAttributes GetFileAttributesW
#define SHGetSpecialFolderPath SHGetSpecialFolderPathW

// ---- Modules. On Linux the only module that can be loaded is "Msmapi32.dll", Outlook's MAPI, whose one
// export is WrapCompressedRTFStreamEx; the service's control API says whether the machine has it.
#define ERROR_PROC_NOT_FOUND 127L
typedef INT_PTR(STDAPICALLTYPE* FARPROC)();
MAPIPIM_API HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
MAPIPIM_API HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
MAPIPIM_API FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
MAPIPIM_API BOOL FreeLibrary(HMODULE hLibModule);

// ---- Locale
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004
// Answers LOCALE_IDEFAULTANSICODEPAGE (the ANSI code page, as decimal text) for the system and user locales.
MAPIPIM_API int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);
