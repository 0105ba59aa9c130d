// What an RTF body carries: HTML or plain text encapsulated by a converter (the "\fromhtml1" and "\fromtext"
// header markers), or RTF of its own. The reader follows RTF's syntax (groups, control words and symbols,
// ignorable destinations, the font table's code pages, \'hh bytes, \uN with its \ucN fallback) and copies what
// the encapsulation rules keep: htmltag content and text outside \htmlrtf for HTML, the text for the others.
#pragma once

#include <string>
#include <string_view>

namespace mapisvc
{
enum class RtfBodyKind
{
    Rtf,
    Html,
    Text,
};

// The kind the RTF header declares.
RtfBodyKind EncapsulatedKind(std::string_view rtf);

// The encapsulated HTML or text; for RTF of its own, its text (paragraphs as CR LF), as a reader sees it.
std::u16string RtfBodyText(std::string_view rtf);
} // namespace mapisvc
