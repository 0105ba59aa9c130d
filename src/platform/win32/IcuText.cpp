#include "platform/win32/IcuText.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace mapipim::win32
{
int CompareNoCase(std::u16string_view a, std::u16string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    return u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()),
                            U_FOLD_CASE_DEFAULT, &status);
}
} // namespace mapipim::win32
