// Entry identifiers as the user sees them: the library's upper-case hexadecimal text. Items and folders are named
// on the command line by that text; EntryId owns the bytes parsed from it.
#pragma once

#include <mapipim/platform.h>

#include <string>
#include <vector>

namespace cli
{
// True for text that can be an entry identifier: an optional "0x", then pairs of hexadecimal digits.
bool IsEntryIdText(const std::string& text);

// The hexadecimal text of an identifier; empty for an empty one.
std::string EntryIdText(const SBinary& value);

class EntryId
{
public:
    // Throws UsageFailure when the text is not an entry identifier.
    static EntryId Parse(const std::string& text);
    explicit EntryId(const SBinary& value);
    explicit EntryId(const std::vector<BYTE>& bytes);
    EntryId(const EntryId& other);
    EntryId& operator=(const EntryId&) = delete;
    ~EntryId() { delete[] m_value.lpb; }

    SBinary& Value() { return m_value; }
    const SBinary& Value() const { return m_value; }
    std::string Text() const { return EntryIdText(m_value); }

private:
    EntryId() = default;

    SBinary m_value = {0, nullptr}; // bytes owned as SBinaryUtils.h says: new[] by the library, delete[] here
};
} // namespace cli
