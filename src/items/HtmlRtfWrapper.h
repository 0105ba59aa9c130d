// HTML written as RTF for a store that keeps no HTML: the HTML as the content of one htmltag group of an RTF
// document that says it encapsulates HTML, in the system's default ANSI code page. The HTML is escaped so that
// it decodes back unchanged (apart from the one blank of the tail): "\", "{" and "}" escaped, each CR LF as
// \par, a lone CR or LF as its \uN, other characters beyond ASCII as \'hh bytes of the code page, or as \uN
// when the code page cannot hold them.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// The system's default ANSI code page as text, as the wrapper's head declares it ("1252" when unknown).
CString GetWrapperCodePageText();

CString WrapHtmlInRtf(LPCWSTR szHtml);
} // namespace mapipim
