// GetEmail over whole folders of 1,000 and 10,000 e-mails, each with a 10 KB HTML body and two recipients, every
// field read and the pauses off; e-mails per second and the cost of one e-mail, which should stay flat between the
// two sizes. And CreateEmail per second, which also fills the folders.
#include "BenchWorld.h"

#include <map>

using namespace benchworld;

namespace
{
const ULONG kAllFields = 0x7;

CMAPIEmailInfo TypicalEmail(int nIndex)
{
    CMAPIEmailInfo info;
    info.strSubject.Format(_T("Status report %d"), nIndex);
    info.strSenderName = _T("Anna Berg <anna@example.com>");
    info.strTo = _T("Lopez, Maria <maria@example.com>;jose@example.com");
    info.nForm = 2;
    CString strHtml = _T("<html><body>");
    while (strHtml.GetLength() < 10 * 1024)
        strHtml += _T("<p>The figures of the quarter are in; nothing needs doing before Monday.</p>");
    strHtml += _T("</body></html>");
    info.strContents = strHtml;
    info.nMsgState = 3;
    return info;
}

class EmailWorld
{
public:
    static EmailWorld& Get()
    {
        static EmailWorld world;
        return world;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    // A folder of nEmails e-mails, made through CreateEmail once.
    COutlookFolder* Folder(int nEmails)
    {
        auto it = m_folders.find(nEmails);
        if (it == m_folders.end())
        {
            const std::string name = "Mail " + std::to_string(nEmails);
            auto pFolder = NewFolder(m_store, std::u16string(name.begin(), name.end()), u"IPF.Note");
            CMAPIInterface::SetYield(0);
            for (int i = 0; i < nEmails; ++i)
            {
                CMAPIEmailInfo info = TypicalEmail(i);
                if (!m_pInterface->CreateEmail(pFolder.get(), &info))
                    std::abort();
            }
            it = m_folders.emplace(nEmails, std::move(pFolder)).first;
        }
        return it->second.get();
    }

    // A folder of its own for the create benchmark.
    COutlookFolder* CreateFolder()
    {
        if (!m_pCreateFolder)
            m_pCreateFolder = NewFolder(m_store, u"Created", u"IPF.Note");
        return m_pCreateFolder.get();
    }

private:
    EmailWorld()
    {
        m_store = DefaultStore();
        m_pInterface = std::make_unique<CMAPIInterface>();
    }

    TemporaryHome m_home;
    mapisvc::EntryId m_store;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    std::map<int, std::unique_ptr<COutlookFolder>> m_folders;
    std::unique_ptr<COutlookFolder> m_pCreateFolder;
};

void DeleteEmails(CArray<CMAPIEmailInfo*, CMAPIEmailInfo*>& arrEmails)
{
    for (INT_PTR i = 0; i < arrEmails.GetSize(); ++i)
        delete arrEmails[i];
    arrEmails.RemoveAll();
}

void ListEmails(benchmark::State& state)
{
    const int nEmails = static_cast<int>(state.range(0));
    EmailWorld& world = EmailWorld::Get();
    COutlookFolder* pFolder = world.Folder(nEmails);
    CMAPIInterface::SetYield(0);
    CArray<CMAPIEmailInfo*, CMAPIEmailInfo*> arrEmails;
    for (auto _ : state)
    {
        if (!world.Interface().GetEmail(pFolder, arrEmails, kAllFields) || arrEmails.GetSize() != nEmails)
            state.SkipWithError("the list failed");
        DeleteEmails(arrEmails);
    }
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations() * nEmails);
    state.counters["s_per_email"] = benchmark::Counter(static_cast<double>(nEmails) * state.iterations(),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                        benchmark::Counter::OneK::kIs1000);
}

void CreateEmails(benchmark::State& state)
{
    EmailWorld& world = EmailWorld::Get();
    COutlookFolder* pFolder = world.CreateFolder();
    CMAPIInterface::SetYield(0);
    int nIndex = 0;
    for (auto _ : state)
    {
        CMAPIEmailInfo info = TypicalEmail(nIndex++);
        if (!world.Interface().CreateEmail(pFolder, &info))
            state.SkipWithError("CreateEmail failed");
    }
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK(ListEmails)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CreateEmails)->Unit(benchmark::kMicrosecond)->MinTime(2);
