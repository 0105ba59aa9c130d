// Sticky notes for people and in JSON: the colours by name, one line per note for lists, every field for show, and
// the record as JSON (every field under its own name, the colour's name beside its number).
#pragma once

#include "Host.h"

#include <mapipim/MAPIMemoInfo.h>

#include <ostream>
#include <string>
#include <vector>

namespace cli
{
// blue, green, pink, yellow, white: the colours 0 to 4.
const std::vector<std::string>& NoteColorNames();
// The name of a colour; its number for any other value.
std::string NoteColorName(int color);

Json NoteJson(const CMAPIMemoInfo& note);
void WriteNoteLine(std::ostream& out, const CMAPIMemoInfo& note);
void WriteNote(std::ostream& out, const CMAPIMemoInfo& note);
} // namespace cli
