#include "LabelledText.h"

#include <iomanip>
#include <sstream>

namespace cli
{
namespace
{
const int kLabelWidth = 24;
}

void WriteLabelled(std::ostream& out, const std::string& label, const std::string& value)
{
    if (value.empty())
        return;
    std::istringstream lines(value);
    std::string line;
    bool bFirst = true;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out << std::left << std::setw(kLabelWidth) << (bFirst ? label + ":" : std::string()) << line << '\n';
        bFirst = false;
    }
}
} // namespace cli
