// The body properties of a message seen together, as server stores keep them:
// - PR_HTML (binary) and PR_BODY_HTML (string) are one property: bytes in the message's code page
//   (PR_INTERNET_CPID, else the ANSI code page) read as a string, or a string read as those bytes;
// - PR_BODY of a message written only as HTML or RTF is the text a reader sees in that body (never stored, so a
//   body the host writes itself is never replaced);
// - PR_NATIVE_BODY_INFO says which form the message was written in: HTML, RTF (by what it encapsulates) or text.
#pragma once

#include "platform/mapi/PropValue.h"

#include <string>
#include <string_view>

namespace mapisvc
{
class PropertyHost;

bool ComputeBestBody(PropertyHost& host, Prop& body);
bool ComputeNativeBodyInfo(PropertyHost& host, Prop& info);
// The HTML body in the requested type; false for any other property or type.
bool ConvertHtmlBody(PropertyHost& host, const Prop& stored, ULONG requestedType, Prop& converted);

// The code page of the message's HTML and native body: PR_INTERNET_CPID, or the ANSI code page without one.
UINT MessageCodePage(PropertyHost& host);

// 8-bit text in a code page and back (the ANSI code page when the code page is unknown).
std::u16string DecodeText(std::string_view bytes, UINT codePage);
std::string EncodeText(std::u16string_view text, UINT codePage);
// HTML in a code page, each character the code page cannot hold written as a numeric character reference.
std::string EncodeHtml(std::u16string_view html, UINT codePage);
} // namespace mapisvc
