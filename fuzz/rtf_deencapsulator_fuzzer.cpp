// The service's RTF body reader (de-encapsulation of HTML and text, the text of RTF of its own) and the text of
// the HTML it gives, over any RTF: never out of bounds, always ending, however deep the groups.
//
// Input: the decompressed RTF.
#include "FuzzSupport.h"

#include "platform/mapi/HtmlText.h"
#include "platform/mapi/RtfBody.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const std::u16string body = mapisvc::RtfBodyText(rtf);
    if (mapisvc::EncapsulatedKind(rtf) == mapisvc::RtfBodyKind::Html)
        mapisvc::HtmlToText(body);
    return 0;
}
