#include "EntryId.h"

#include "Failure.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>

#include <cctype>

namespace cli
{
namespace
{
std::string WithoutPrefix(const std::string& text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return text.substr(2);
    return text;
}
} // namespace

bool IsEntryIdText(const std::string& text)
{
    const std::string digits = WithoutPrefix(text);
    if (digits.empty() || digits.size() % 2 != 0)
        return false;
    for (char ch : digits)
    {
        if (!std::isxdigit(static_cast<unsigned char>(ch)))
            return false;
    }
    return true;
}

std::string EntryIdText(const SBinary& value)
{
    CString text;
    if (!GetSBinaryToString(text, value))
        return std::string();
    return Utf8(text);
}

EntryId EntryId::Parse(const std::string& text)
{
    if (!IsEntryIdText(text))
        throw UsageFailure("malformed entry identifier '" + text + "': expected hexadecimal text");
    EntryId id;
    if (!GetStringToSBinary(id.m_value, WideText(WithoutPrefix(text))))
        throw Failure("out of memory");
    return id;
}

EntryId::EntryId(const SBinary& value)
{
    if (!CopySBinary(m_value, value))
        throw Failure("out of memory");
}

EntryId::EntryId(const std::vector<BYTE>& bytes)
    : EntryId(SBinary{static_cast<ULONG>(bytes.size()), const_cast<LPBYTE>(bytes.data())})
{
}

EntryId::EntryId(const EntryId& other) : EntryId(other.m_value) {}
} // namespace cli
