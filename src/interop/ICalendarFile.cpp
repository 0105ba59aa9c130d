#include "interop/ICalendarFile.h"

#include "interop/ContentLine.h"

namespace mapipim::interop
{
namespace
{
constexpr int kMaxNesting = 8; // VCALENDAR > VEVENT > VALARM is as deep as a sound file goes

struct Block
{
    int nLine = 0;
    std::string name; // the component's name, upper case
    std::string text;
    std::string error;
    int nDepth = 0;
};

bool IsItem(const std::string& name)
{
    return name == "VEVENT" || name == "VTODO";
}

// The first complaint libical wrote into a parsed component as an X-LIC-ERROR property, if any.
std::string ParseComplaint(icalcomponent* component)
{
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY))
        if (const char* text = icalproperty_get_xlicerror(p))
            return text;
    for (icalcomponent* inner = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); inner;
         inner = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
    {
        const std::string complaint = ParseComplaint(inner);
        if (!complaint.empty())
            return complaint;
    }
    return std::string();
}

void Finish(Block& block, CalendarFile& file, CalendarZones& zones)
{
    if (IsItem(block.name))
    {
        CalendarItem item;
        item.nLine = block.nLine;
        item.kind = block.name == "VEVENT" ? ICAL_VEVENT_COMPONENT : ICAL_VTODO_COMPONENT;
        item.text = std::move(block.text);
        item.error = block.error;
        file.items.push_back(std::move(item));
        return;
    }
    std::string error = block.error;
    if (error.empty() && !zones.Add(block.text, error))
        error = error.empty() ? "VTIMEZONE cannot be read" : error;
    if (!error.empty())
        file.failures.push_back("line " + std::to_string(block.nLine) + ": " + error);
}
} // namespace

CalendarFile ReadCalendarFile(std::string_view text, CalendarZones& zones)
{
    // A libical built to abort on its errors would end the host's process on a malformed file.
    icalerror_set_errors_are_fatal(0);
    CalendarFile file;
    Block block;
    bool bInBlock = false;
    bool bInCalendar = false;
    std::vector<Block> zoneBlocks;
    std::vector<Block> itemBlocks;
    auto close = [&](const char* missingEnd)
    {
        if (!bInBlock)
            return;
        if (missingEnd && block.error.empty())
            block.error = missingEnd;
        (block.name == "VTIMEZONE" ? zoneBlocks : itemBlocks).push_back(std::move(block));
        block = Block();
        bInBlock = false;
    };
    for (const ContentLine& line : ReadContentLines(text))
    {
        const bool bBegin = line.name == "BEGIN";
        const bool bEnd = line.name == "END";
        const std::string value = UpperAscii(line.value);
        if (!bInBlock)
        {
            if (bBegin && value == "VCALENDAR")
                bInCalendar = true;
            else if (bEnd && value == "VCALENDAR")
                bInCalendar = false;
            else if (bBegin && (IsItem(value) || value == "VTIMEZONE") && bInCalendar)
            {
                bInBlock = true;
                block.nLine = line.nLine;
                block.name = value;
                block.text = line.raw + "\r\n";
                block.nDepth = 1;
            }
            else if (line.name.empty())
                file.failures.push_back("line " + std::to_string(line.nLine) + ": " + line.value);
            else if (!bInCalendar)
                file.failures.push_back("line " + std::to_string(line.nLine) + ": text outside BEGIN:VCALENDAR");
            continue; // calendar properties (VERSION, PRODID, ...) and unknown components' lines
        }
        if (line.name.empty())
        {
            if (block.error.empty())
                block.error = "line " + std::to_string(line.nLine) + ": " + line.value;
            continue;
        }
        if (bBegin && (IsItem(value) || value == "VTIMEZONE" || value == "VCALENDAR"))
        {
            close("not closed before the next component begins");
            if (value != "VCALENDAR")
            {
                bInBlock = true;
                block.nLine = line.nLine;
                block.name = value;
                block.text = line.raw + "\r\n";
                block.nDepth = 1;
            }
            continue;
        }
        if (bEnd && value == "VCALENDAR")
        {
            close("not closed before END:VCALENDAR");
            bInCalendar = false;
            continue;
        }
        block.text += line.raw;
        block.text += "\r\n";
        if (bBegin && ++block.nDepth > kMaxNesting && block.error.empty())
            block.error = "line " + std::to_string(line.nLine) + ": components nested too deep";
        if (bEnd && --block.nDepth == 0)
        {
            if (value != block.name && block.error.empty())
                block.error = "line " + std::to_string(line.nLine) + ": END:" + value + " closes BEGIN:" + block.name;
            close(nullptr);
        }
    }
    close("not closed at the end of the file");
    for (Block& zone : zoneBlocks)
        Finish(zone, file, zones);
    for (Block& item : itemBlocks)
        Finish(item, file, zones);
    return file;
}

icalcomponent* ParseCalendarItem(const CalendarItem& item, std::string& error)
{
    if (!item.error.empty())
    {
        error = item.error;
        return nullptr;
    }
    icalcomponent* component = icalparser_parse_string(item.text.c_str());
    if (!component || icalcomponent_isa(component) != item.kind)
    {
        if (component)
            icalcomponent_free(component);
        error = "the component cannot be parsed";
        return nullptr;
    }
    const std::string complaint = ParseComplaint(component);
    if (!complaint.empty())
    {
        icalcomponent_free(component);
        error = complaint;
        return nullptr;
    }
    return component;
}

std::string WriteCalendarFile(const std::vector<icalcomponent*>& items, const CalendarZones& zones)
{
    std::string out;
    AppendFolded(out, "BEGIN:VCALENDAR");
    AppendFolded(out, "VERSION:2.0");
    AppendFolded(out, "PRODID:-//mapipim//mapipim//EN");
    AppendFolded(out, "CALSCALE:GREGORIAN");
    for (const std::string& zone : zones.Definitions())
        out += zone;
    for (icalcomponent* item : items)
    {
        char* text = icalcomponent_as_ical_string_r(item);
        out += text;
        free(text);
        icalcomponent_free(item);
    }
    AppendFolded(out, "END:VCALENDAR");
    return out;
}
} // namespace mapipim::interop
