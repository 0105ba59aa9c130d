#include "DateOption.h"

#include "DateText.h"

namespace cli
{
const CLI::Validator& DateValidator()
{
    static const CLI::Validator validator(
        [](std::string& text)
        {
            SYSTEMTIME time;
            return ParseDateText(text, time) ? std::string()
                                             : "'" + text + "' is no date: expected YYYY-MM-DD[THH:MM[:SS]]";
        },
        "DATE");
    return validator;
}
} // namespace cli
