// notes list|show|add|edit|delete: the memo operations of the interface object.
#include "CommandSet.h"
#include "FolderTypes.h"
#include "ItemCommands.h"
#include "NoteOptions.h"
#include "NoteText.h"
#include "ShowCommand.h"

namespace cli
{
namespace
{
struct NoteKind
{
    typedef CMAPIMemoInfo Info;
    typedef NoteOptions Options;
    static constexpr const char* kGroup = "notes";
    static constexpr const char* kNoun = "note";
    static constexpr unsigned kFolderType = kFolderTypeNotes;

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& notes, ULONG ulFlags)
    {
        return mapi.GetMemo(pFolder, notes, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pNote, ULONG ulFlags) { return mapi.GetMemo(pNote, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pNote)
    {
        return mapi.CreateMemo(pFolder, pNote);
    }
    static BOOL Modify(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pNote)
    {
        return mapi.ModifyMemo(pFolder, pNote);
    }
    static BOOL Delete(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pNote, int bMove)
    {
        return mapi.DeleteMemo(pFolder, pNote, bMove);
    }
    static Json ToJson(const Info& note) { return NoteJson(note); }
    static void WriteLine(std::ostream& out, const Info& note) { WriteNoteLine(out, note); }
    static void Write(std::ostream& out, const Info& note) { WriteNote(out, note); }
};
} // namespace

void ShowNote(Host& host, const std::string& id)
{
    ItemCommands<NoteKind>::ShowItem(host, id);
}

void AddNoteCommands(CommandSet& commands)
{
    ItemCommands<NoteKind>::Register(commands, "Read and write sticky notes");
}
} // namespace cli
