#include "platform/win32/CodePageConverter.h"

#include <mapipim/win32/winapi.h>

#include <memory>
#include <string>
#include <vector>

namespace mapipim::win32
{
namespace
{
// The OEM code page of a US-English Windows; nothing the library converts uses it.
constexpr UINT kOemCodePage = 437;

bool IsUtf16(UINT codePage)
{
    return codePage == 1200 || codePage == 1201 || codePage == 12000 || codePage == 12001;
}

// ICU names Windows' own tables "windows-N" (932 is Microsoft's Shift-JIS, 949 its Unified Hangul Code); the DOS
// code pages are IBM's and the ISO ones have their standard names.
std::vector<std::string> IcuNamesOf(UINT codePage)
{
    if (codePage == CP_UTF8)
        return {"UTF-8"};
    if (codePage == CP_UTF7)
        return {"UTF-7"};
    if (codePage >= 28591 && codePage <= 28599)
        return {"ISO-8859-" + std::to_string(codePage - 28590)};
    if (codePage == 28605)
        return {"ISO-8859-15"};
    const std::string number = std::to_string(codePage);
    return {"windows-" + number, "ibm-" + number};
}

UConverter* OpenConverter(UINT codePage)
{
    if (IsUtf16(codePage))
        return nullptr;
    for (const std::string& name : IcuNamesOf(codePage))
    {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(name.c_str(), &status);
        if (U_SUCCESS(status))
            return converter;
    }
    return nullptr;
}

struct ThreadConverters
{
    // A thread uses a handful of code pages; a failed open is remembered as null so that it is not retried.
    std::vector<std::pair<UINT, std::unique_ptr<CodePageConverter>>> converters;
};
} // namespace

CodePageConverter* CodePageConverter::ForThisThread(UINT codePage)
{
    thread_local ThreadConverters cache;
    for (auto& entry : cache.converters)
        if (entry.first == codePage)
            return entry.second.get();
    UConverter* converter = OpenConverter(codePage);
    cache.converters.emplace_back(codePage,
                                  converter ? std::make_unique<CodePageConverter>(codePage, converter) : nullptr);
    return cache.converters.back().second.get();
}

CodePageConverter::CodePageConverter(UINT codePage, UConverter* converter)
    : m_codePage(codePage), m_converter(converter)
{
    const UConverterType type = ucnv_getType(converter);
    if (type == UCNV_DBCS || type == UCNV_MBCS)
    {
        UBool starters[256] = {};
        UErrorCode status = U_ZERO_ERROR;
        ucnv_getStarters(converter, starters, &status);
        if (U_SUCCESS(status))
            for (size_t i = 0; i < 256; ++i)
                m_leadBytes[i] = starters[i];
    }
}

CodePageConverter::~CodePageConverter()
{
    ucnv_close(m_converter);
}

UINT ResolveCodePage(UINT codePage)
{
    switch (codePage)
    {
    case CP_ACP:
    case CP_THREAD_ACP:
        return GetACP();
    case CP_OEMCP:
        return kOemCodePage;
    default:
        return codePage;
    }
}
} // namespace mapipim::win32
