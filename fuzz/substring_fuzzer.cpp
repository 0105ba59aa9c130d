// GetCountSubString and GetExtractSubString over random UTF-16 text and separator sets, as they read the category
// and attachment lists of stored records: the count is one more than the separators, every field is the text
// between two separators, an index past the last field finds nothing, and the result says whether the field or
// a later field holds text.
//
// Input (FuzzedDataProvider): the separator set, then the text.
#include "FuzzSupport.h"

#include <mapipim/SubString.h>

#include <vector>

namespace
{
std::vector<std::u16string> Split(const std::u16string& text, const std::u16string& separators)
{
    std::vector<std::u16string> fields(1);
    for (char16_t c : text)
    {
        if (!separators.empty() && separators.find(c) != std::u16string::npos)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// Whether any field after index holds text.
bool LaterTextFollows(const std::vector<std::u16string>& fields, size_t index)
{
    for (size_t i = index + 1; i < fields.size(); ++i)
        if (!fields[i].empty())
            return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::u16string separators = fuzz::TakeText(input, 4);
    const std::u16string text = fuzz::TakeText(input, 512);
    LPCWSTR szSeparators = input.ConsumeBool() ? separators.c_str() : nullptr;
    const int count = GetCountSubString(text.c_str(), szSeparators);
    if (text.empty())
        return FUZZ_CHECK(count == 0), 0;
    const std::vector<std::u16string> fields = Split(text, szSeparators ? separators : std::u16string());
    FUZZ_CHECK(count == static_cast<int>(fields.size()));
    for (int i = 0; i <= count; ++i)
    {
        CString field(_T("unchanged"));
        const BOOL found = GetExtractSubString(field, text.c_str(), i, szSeparators);
        if (i == count)
        {
            FUZZ_CHECK(!found && field.IsEmpty());
            break;
        }
        FUZZ_CHECK(std::u16string(static_cast<LPCWSTR>(field)) == fields[i]);
        FUZZ_CHECK(found == (!fields[i].empty() || LaterTextFollows(fields, i)));
    }
    return 0;
}
