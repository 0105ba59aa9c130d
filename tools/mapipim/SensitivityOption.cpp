#include "SensitivityOption.h"

#include "ContactFields.h"

#include <algorithm>

namespace cli
{
const CLI::Validator& SensitivityValidator()
{
    static const CLI::Validator validator(
        [](std::string& text)
        {
            const std::vector<std::string>& names = SensitivityNames();
            if (std::find(names.begin(), names.end(), text) != names.end() ||
                (text.size() == 1 && text[0] >= '0' && text[0] <= '3'))
                return std::string();
            return "'" + text + "' is no sensitivity: expected none, personal, private, confidential or 0 to 3";
        },
        "LEVEL");
    return validator;
}

int SensitivityOf(const std::string& text)
{
    const std::vector<std::string>& names = SensitivityNames();
    const auto found = std::find(names.begin(), names.end(), text);
    return found != names.end() ? static_cast<int>(found - names.begin()) : std::stoi(text);
}
} // namespace cli
