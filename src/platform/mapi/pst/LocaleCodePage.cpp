#include "platform/mapi/pst/LocaleCodePage.h"

namespace mapisvc::pst
{
namespace
{
struct LanguageCodePage
{
    USHORT primaryLanguage;
    UINT codePage;
};

// By primary language, as Windows assigns them; Chinese and Serbian depend on the sub-language (below).
const LanguageCodePage kLanguages[] = {
    {0x01, 1256}, {0x02, 1251}, {0x03, 1252}, {0x05, 1250}, {0x06, 1252}, {0x07, 1252}, {0x08, 1253}, {0x09, 1252},
    {0x0A, 1252}, {0x0B, 1252}, {0x0C, 1252}, {0x0D, 1255}, {0x0E, 1250}, {0x0F, 1252}, {0x10, 1252}, {0x11, 932},
    {0x12, 949},  {0x13, 1252}, {0x14, 1252}, {0x15, 1250}, {0x16, 1252}, {0x18, 1250}, {0x19, 1251}, {0x1B, 1250},
    {0x1C, 1250}, {0x1D, 1252}, {0x1E, 874},  {0x1F, 1254}, {0x20, 1256}, {0x21, 1252}, {0x22, 1251}, {0x23, 1251},
    {0x24, 1250}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x29, 1256}, {0x2A, 1258}, {0x2B, 0},    {0x2C, 1254},
    {0x2D, 1252}, {0x2F, 1251}, {0x36, 1252}, {0x38, 1252}, {0x3E, 1252}, {0x3F, 1251}, {0x40, 1251}, {0x41, 1252},
    {0x43, 1254}, {0x44, 1251}, {0x50, 1251}, {0x56, 1252},
};

constexpr USHORT kChinese = 0x04;
constexpr USHORT kSerbianCroatian = 0x1A;
} // namespace

UINT AnsiCodePageOfLocale(ULONG lcid)
{
    const USHORT language = static_cast<USHORT>(lcid & 0xFFFF);
    const USHORT primary = language & 0x3FF;
    const USHORT sub = language >> 10;
    if (primary == kChinese)
        // Simplified: China (2) and Singapore (4); traditional: Taiwan (1), Hong Kong (3), Macao (5).
        return sub == 2 || sub == 4 ? 936 : sub == 1 || sub == 3 || sub == 5 ? 950 : 0;
    if (primary == kSerbianCroatian)
        // Croatian, Bosnian and Serbian in Latin script use the Central European code page, Cyrillic ones 1251.
        return sub == 3 || sub == 7 || sub == 8 || sub == 10 || sub == 12 ? 1251 : 1250;
    for (const LanguageCodePage& entry : kLanguages)
        if (entry.primaryLanguage == primary)
            return entry.codePage;
    return 0;
}
} // namespace mapisvc::pst
