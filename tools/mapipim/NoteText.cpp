#include "NoteText.h"

#include "DateText.h"
#include "EntryId.h"
#include "JsonRecords.h"
#include "LabelledText.h"
#include "ShortIds.h"
#include "Text.h"

namespace cli
{
const std::vector<std::string>& NoteColorNames()
{
    static const std::vector<std::string> names = {"blue", "green", "pink", "yellow", "white"};
    return names;
}

std::string NoteColorName(int color)
{
    const std::vector<std::string>& names = NoteColorNames();
    if (color >= 0 && color < static_cast<int>(names.size()))
        return names[static_cast<size_t>(color)];
    return std::to_string(color);
}

Json NoteJson(const CMAPIMemoInfo& note)
{
    Json json;
    json["strEntryID"] = Utf8(note.strEntryID);
    json["sbEntryID"] = EntryIdText(note.sbEntryID);
    json["tmCTime"] = TimeJson(note.tmCTime);
    json["tmLMTime"] = TimeJson(note.tmLMTime);
    json["strSubject"] = Utf8(note.strSubject);
    json["strContents"] = Utf8(note.strContents);
    json["strLabel"] = Utf8(note.strLabel);
    json["nNoteColor"] = note.nNoteColor;
    json["color"] = NoteColorName(note.nNoteColor);
    json["nNoteX"] = note.nNoteX;
    json["nNoteY"] = note.nNoteY;
    json["nNoteWidth"] = note.nNoteWidth;
    json["nNoteHeight"] = note.nNoteHeight;
    return json;
}

void WriteNoteLine(std::ostream& out, const CMAPIMemoInfo& note)
{
    out << ShownId(Utf8(note.strEntryID)) << "  [" << NoteColorName(note.nNoteColor) << "] "
        << (note.strSubject.IsEmpty() ? std::string("(no subject)") : Utf8(note.strSubject)) << '\n';
}

void WriteNote(std::ostream& out, const CMAPIMemoInfo& note)
{
    WriteLabelled(out, "Entry ID", ShownId(Utf8(note.strEntryID)));
    WriteLabelled(out, "Created", DateTimeText(note.tmCTime));
    WriteLabelled(out, "Modified", DateTimeText(note.tmLMTime));
    WriteLabelled(out, "Subject", Utf8(note.strSubject));
    WriteLabelled(out, "Text", Utf8(note.strContents));
    WriteLabelled(out, "Colour", NoteColorName(note.nNoteColor));
    WriteLabelled(out, "Position", std::to_string(note.nNoteX) + "," + std::to_string(note.nNoteY));
    WriteLabelled(out, "Size", std::to_string(note.nNoteWidth) + "x" + std::to_string(note.nNoteHeight));
    WriteLabelled(out, "Categories", Utf8(note.strLabel));
}
} // namespace cli
