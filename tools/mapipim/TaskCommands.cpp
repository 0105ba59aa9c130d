// tasks list|show|add|edit|delete: the todo operations of the interface object.
#include "AttachingProgress.h"
#include "CommandSet.h"
#include "FolderTypes.h"
#include "ItemCommands.h"
#include "ShowCommand.h"
#include "TaskOptions.h"
#include "TaskText.h"

namespace cli
{
namespace
{
struct TaskKind
{
    typedef CMAPITodoInfo Info;
    typedef TaskOptions Options;
    static constexpr const char* kGroup = "tasks";
    static constexpr const char* kNoun = "task";
    static constexpr unsigned kFolderType = kFolderTypeTasks;

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& tasks, ULONG ulFlags)
    {
        return mapi.GetTodo(pFolder, tasks, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pTask, ULONG ulFlags) { return mapi.GetTodo(pTask, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pTask)
    {
        return WriteAttaching(pTask->strAttachFile, [&] { return mapi.CreateTodo(pFolder, pTask); });
    }
    static BOOL Modify(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pTask)
    {
        return WriteAttaching(pTask->strAttachFile, [&] { return mapi.ModifyTodo(pFolder, pTask); });
    }
    static BOOL Delete(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pTask, int bMove)
    {
        return mapi.DeleteTodo(pFolder, pTask, bMove);
    }
    static Json ToJson(const Info& task) { return TaskJson(task); }
    static void WriteLine(std::ostream& out, const Info& task) { WriteTaskLine(out, task); }
    static void Write(std::ostream& out, const Info& task) { WriteTask(out, task); }
};
} // namespace

void ShowTask(Host& host, const std::string& id)
{
    ItemCommands<TaskKind>::ShowItem(host, id);
}

void AddTaskCommands(CommandSet& commands)
{
    ItemCommands<TaskKind>::Register(commands, "Read and write tasks");
}
} // namespace cli
