// The four progress messages exist as soon as the DLL is loaded: a host may compare message numbers in its window
// procedure before it has made any call into the library.
#include <mapipim/MAPIInterface.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
// The name under which a registered message number was registered; registered messages and clipboard formats
// share one atom table, which is the documented way back from a number to its name.
std::wstring RegisteredName(UINT nMessage)
{
    wchar_t szName[256] = {};
    const int nLength = GetClipboardFormatNameW(nMessage, szName, 256);
    return std::wstring(szName, nLength > 0 ? nLength : 0);
}
} // namespace

TEST(LoadTimeMessages, EachNumberIsTheRegisteredMessageOfItsName)
{
    // No RegisterWindowMessageW before these lines: the numbers were registered by the DLL when it was loaded.
    const struct
    {
        UINT nMessage;
        const wchar_t* szName;
    } messages[] = {{WM_MAPI_GET_STOREINFO, L"WM_MAPI_GET_STOREINFO"},
                    {WM_MAPI_GET_FOLDERINFO, L"WM_MAPI_GET_FOLDERINFO"},
                    {WM_MAPI_GET_CONTENTS, L"WM_MAPI_GET_CONTENTS"},
                    {WM_MAPI_GET_CONTENTS_END, L"WM_MAPI_GET_CONTENTS_END"}};
    std::set<UINT> distinct;
    for (const auto& m : messages)
    {
        EXPECT_GE(m.nMessage, 0xC000u) << m.szName;
        EXPECT_LE(m.nMessage, 0xFFFFu) << m.szName;
        EXPECT_EQ(RegisteredName(m.nMessage), m.szName);
        EXPECT_EQ(RegisterWindowMessageW(m.szName), m.nMessage) << m.szName;
        distinct.insert(m.nMessage);
    }
    EXPECT_EQ(distinct.size(), 4u);
}
