// The text a reader sees in an HTML body, for a message whose only body is HTML: parsed by libxml2's HTML
// parser (which copes with the tag soup of real mail), with scripts, styles and the head left out, white space
// collapsed outside <pre>, and line breaks for <br> and around block elements.
#pragma once

#include <string>
#include <string_view>

namespace mapisvc
{
std::u16string HtmlToText(std::u16string_view html);
} // namespace mapisvc
