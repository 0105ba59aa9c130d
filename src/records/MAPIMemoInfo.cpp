#include <mapipim/MAPIMemoInfo.h>

CMAPIMemoInfo::CMAPIMemoInfo() : nNoteColor(3), nNoteX(0), nNoteY(0), nNoteWidth(200), nNoteHeight(200) {}

// Every field is a value that copies itself; the base part copies the identifier bytes deeply.
CMAPIMemoInfo::CMAPIMemoInfo(const CMAPIMemoInfo& source) = default;
CMAPIMemoInfo::~CMAPIMemoInfo() = default;
CMAPIMemoInfo& CMAPIMemoInfo::operator=(const CMAPIMemoInfo& source) = default;
