// GetSafeAttachmentFileName over random stored names (UTF-16 from whoever sent the message): the result is always
// one usable file name — not empty, no path separator or other character Windows refuses, no control character,
// no trailing dot or blank, not "." or "..", not a device name — and making it safe again changes nothing.
//
// Input: UTF-16 units (little-endian) up to the first zero.
#include "FuzzSupport.h"

#include "items/AttachmentFileName.h"

using mapipim::GetSafeAttachmentFileName;

namespace
{
bool IsRefused(char16_t c)
{
    return c < 0x20 || c == 0x7F || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

bool IsDeviceName(std::u16string name)
{
    name = name.substr(0, name.find(u'.'));
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    for (char16_t& c : name)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL"})
        if (name == device)
            return true;
    return name.size() == 4 && (name.compare(0, 3, u"COM") == 0 || name.compare(0, 3, u"LPT") == 0) &&
           name[3] >= u'1' && name[3] <= u'9';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string stored = fuzz::TerminatedText(fuzz::Utf16FromBytes(data, size));
    const CString safe = GetSafeAttachmentFileName(stored.c_str());
    const std::u16string name(static_cast<LPCWSTR>(safe), safe.GetLength());
    FUZZ_CHECK(!name.empty() && name != u"." && name != u"..");
    for (char16_t c : name)
        FUZZ_CHECK(!IsRefused(c));
    FUZZ_CHECK(name.back() != u'.' && name.back() != u' ');
    FUZZ_CHECK(!IsDeviceName(name));
    FUZZ_CHECK(GetSafeAttachmentFileName(safe) == safe);
    return 0;
}
