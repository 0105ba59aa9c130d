// GetTodo over whole folders of 1,000 and 10,000 tasks (every field), half of them recurring, with the pauses off:
// items per second, and the cost per task, which should not grow with the folder.
#include "BenchWorld.h"

#include <map>

using namespace benchworld;

namespace
{
const ULONG kAllFields = 0x7;

CMAPITodoInfo TypicalTask(bool bRecurring)
{
    CMAPITodoInfo info;
    info.strSubject = _T("Prepare the quarterly report");
    info.strContents = _T("Figures from finance, then the summary.");
    info.strOwner = _T("Anna Berg");
    info.nStatus = 1;
    info.dCompleteRate = 40.0;
    info.tmStartTime.wYear = 2026;
    info.tmStartTime.wMonth = 3;
    info.tmStartTime.wDay = 2;
    info.tmEndTime = info.tmStartTime;
    info.tmEndTime.wDay = 6;
    info.bAlarmSet = 1;
    info.tmAlarmTime = info.tmEndTime;
    info.tmAlarmTime.wHour = 9;
    info.strLabel = _T("Work");
    if (bRecurring)
    {
        info.bRecurSet = 1;
        info.lprcRecurring = new CMAPIRecurring; // weekly on Monday and Tuesday, never ending
        info.lprcRecurring->tmStartDate = info.tmStartTime;
    }
    return info;
}

// One home, one interface, and a folder per size: one single and one recurring task written by the library, each
// copied until they make half the folder.
class TodoWorld
{
public:
    static TodoWorld& Get()
    {
        static TodoWorld world;
        return world;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    COutlookFolder* Folder(int nTasks)
    {
        auto it = m_folders.find(nTasks);
        if (it != m_folders.end())
            return it->second.get();
        const std::string name = "Tasks " + std::to_string(nTasks);
        auto pFolder = NewFolder(m_store, std::u16string(name.begin(), name.end()), u"IPF.Task");
        const int64_t nFolder = m_pRaw->LastRow(kFolderRow);
        CMAPIInterface::SetYield(0);
        for (bool bRecurring : {false, true})
        {
            CMAPITodoInfo info = TypicalTask(bRecurring);
            if (!m_pInterface->CreateTodo(pFolder.get(), &info))
                std::abort();
            m_pRaw->CloneMessage(m_pRaw->LastRow(kMessageRow), nFolder, nTasks / 2 - 1);
        }
        return m_folders.emplace(nTasks, std::move(pFolder)).first->second.get();
    }

private:
    TodoWorld()
    {
        m_store = DefaultStore();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pRaw = std::make_unique<RawStore>(m_home.StoreFile());
    }

    TemporaryHome m_home;
    mapisvc::EntryId m_store;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    std::unique_ptr<RawStore> m_pRaw;
    std::map<int, std::unique_ptr<COutlookFolder>> m_folders;
};

void ListTodos(benchmark::State& state)
{
    const int nTasks = static_cast<int>(state.range(0));
    TodoWorld& world = TodoWorld::Get();
    COutlookFolder* pFolder = world.Folder(nTasks);
    CMAPIInterface::SetYield(0);
    CArray<CMAPITodoInfo*, CMAPITodoInfo*> arrTasks;
    for (auto _ : state)
    {
        if (!world.Interface().GetTodo(pFolder, arrTasks, kAllFields) || arrTasks.GetSize() != nTasks ||
            !arrTasks[nTasks - 1]->lprcRecurring)
            state.SkipWithError("the list failed");
    }
    DeleteAll(arrTasks);
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations() * nTasks);
    // Seconds per task, shown with its unit prefix (u for microseconds).
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(state.iterations() * nTasks),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK(ListTodos)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2);
