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

EntryId::EntryId(const std::vector<BYTE>& bytes)
{
    const SBinary source = {static_cast<ULONG>(bytes.size()), const_cast<LPBYTE>(bytes.data())};
    if (!CopySBinary(m_value, source))
        throw Failure("out of memory");
}

EntryId::EntryId(const EntryId& other)
{
    if (!CopySBinary(m_value, other.m_value))
        throw Failure("out of memory");
}

EntryId& EntryId::operator=(const EntryId& other)
{
    if (this != &other && !CopySBinary(m_value, other.m_value))
        throw Failure("out of memory");
    return *this;
}

EntryId::~EntryId()
{
    Release();
}

std::vector<BYTE> EntryId::Bytes() const
{
    return std::vector<BYTE>(m_value.lpb, m_value.lpb + m_value.cb);
}

void EntryId::Release()
{
    delete[] m_value.lpb;
    m_value.lpb = nullptr;
    m_value.cb = 0;
}
} // namespace cli
