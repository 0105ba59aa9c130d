#include "platform/mapi/MessageBody.h"

#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/HtmlText.h"
#include "platform/mapi/MAPIProp.h"
#include "platform/mapi/RtfBody.h"
#include "platform/mapi/Text.h"

#include <vector>

namespace mapisvc
{
namespace
{
const ULONG kHtmlId = PROP_ID(PR_HTML);

UINT Usable(UINT codePage)
{
    WCHAR probe = 0;
    return codePage && MultiByteToWideChar(codePage, 0, "a", 1, &probe, 1) == 1 ? codePage : CP_ACP;
}

// The HTML body as text, whichever type it was stored in.
bool HtmlText(PropertyHost& host, std::u16string& html)
{
    Prop scratch;
    const Prop* prop = host.FindProp(kHtmlId, scratch);
    if (!prop)
        return false;
    const ULONG type = PROP_TYPE(prop->tag);
    if (type == PT_BINARY)
        html = DecodeText(prop->data, MessageCodePage(host));
    else if (type == PT_UNICODE)
        html = BytesToUtf16(prop->data);
    else if (type == PT_STRING8)
        html = FromAnsi(prop->data);
    else
        return false;
    return true;
}

bool StoredRtf(PropertyHost& host, std::string& rtf)
{
    Prop scratch;
    const Prop* prop = host.FindProp(PROP_ID(PR_RTF_COMPRESSED), scratch);
    if (!prop || PROP_TYPE(prop->tag) != PT_BINARY)
        return false;
    return DecompressRtf(prop->data, rtf).status != RtfDecodeStatus::Damaged;
}

bool HasStored(PropertyHost& host, ULONG propId)
{
    return host.StoredProps().Has(propId);
}
} // namespace

UINT MessageCodePage(PropertyHost& host)
{
    PropView cpid;
    if (!host.StoredProps().Peek(PROP_ID(PR_INTERNET_CPID), cpid) || PROP_TYPE(cpid.tag) != PT_LONG)
        return CP_ACP;
    return Usable(static_cast<UINT>(DecodeLong(cpid.data)));
}

std::u16string DecodeText(std::string_view bytes, UINT codePage)
{
    if (bytes.empty())
        return std::u16string();
    codePage = Usable(codePage);
    const int cch = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::vector<WCHAR> text(static_cast<size_t>(cch > 0 ? cch : 0));
    if (cch > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), cch);
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::string EncodeText(std::u16string_view text, UINT codePage)
{
    if (text.empty())
        return std::string();
    codePage = Usable(codePage);
    const auto* wide = reinterpret_cast<const WCHAR*>(text.data());
    const int cb = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb > 0 ? cb : 0), '\0');
    if (cb > 0)
        WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), &bytes[0], cb, nullptr, nullptr);
    return bytes;
}

std::string EncodeHtml(std::u16string_view html, UINT codePage)
{
    codePage = Usable(codePage);
    if (codePage == CP_UTF8 || html.empty())
        return EncodeText(html, codePage);
    std::string bytes;
    for (size_t i = 0; i < html.size();)
    {
        const bool pair = i + 1 < html.size() && html[i] >= 0xD800 && html[i] < 0xDC00 && html[i + 1] >= 0xDC00 &&
                          html[i + 1] < 0xE000;
        const int units = pair ? 2 : 1;
        BOOL usedDefault = FALSE;
        char buffer[8];
        const int cb = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const WCHAR*>(&html[i]),
                                           units, buffer, sizeof(buffer), nullptr, &usedDefault);
        if (cb > 0 && !usedDefault)
            bytes.append(buffer, static_cast<size_t>(cb));
        else
        {
            const unsigned long codePoint =
                pair ? 0x10000 + ((html[i] - 0xD800UL) << 10) + (html[i + 1] - 0xDC00UL) : html[i];
            bytes += "&#" + std::to_string(codePoint) + ";";
        }
        i += static_cast<size_t>(units);
    }
    return bytes;
}

bool ConvertHtmlBody(PropertyHost& host, const Prop& stored, ULONG requestedType, Prop& converted)
{
    if (PROP_ID(stored.tag) != kHtmlId)
        return false;
    const ULONG storedType = PROP_TYPE(stored.tag);
    const bool storedString = storedType == PT_UNICODE || storedType == PT_STRING8;
    if (storedType == PT_BINARY && (requestedType == PT_UNICODE || requestedType == PT_STRING8))
    {
        const std::u16string html = DecodeText(stored.data, MessageCodePage(host));
        converted =
            MakeProp(PROP_TAG(requestedType, kHtmlId), requestedType == PT_UNICODE ? Utf16ToBytes(html) : ToAnsi(html));
        return true;
    }
    if (storedString && requestedType == PT_BINARY)
    {
        const std::u16string html = storedType == PT_UNICODE ? BytesToUtf16(stored.data) : FromAnsi(stored.data);
        converted = MakeProp(PR_HTML, EncodeHtml(html, MessageCodePage(host)));
        return true;
    }
    return false;
}

bool ComputeBestBody(PropertyHost& host, Prop& body)
{
    if (HasStored(host, PROP_ID(PR_BODY_W)))
        return false;
    std::u16string text;
    std::u16string html;
    std::string rtf;
    if (HtmlText(host, html))
        text = HtmlToText(html);
    else if (StoredRtf(host, rtf))
    {
        text = RtfBodyText(rtf);
        if (EncapsulatedKind(rtf) == RtfBodyKind::Html)
            text = HtmlToText(text);
    }
    else
        return false;
    body = MakeProp(PR_BODY_W, Utf16ToBytes(text));
    return true;
}

bool ComputeNativeBodyInfo(PropertyHost& host, Prop& info)
{
    LONG form = 0;
    std::string rtf;
    if (HasStored(host, kHtmlId))
        form = 3;
    else if (StoredRtf(host, rtf))
    {
        const RtfBodyKind kind = EncapsulatedKind(rtf);
        form = kind == RtfBodyKind::Html ? 3 : kind == RtfBodyKind::Text ? 1 : 2;
    }
    else if (HasStored(host, PROP_ID(PR_BODY_W)))
        form = 1;
    else
        return false;
    info = MakeProp(PR_NATIVE_BODY_INFO, EncodeLong(form));
    return true;
}
} // namespace mapisvc
