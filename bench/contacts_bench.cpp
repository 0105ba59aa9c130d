// Contacts through the interface object against the embedded service: whole-folder lists of 1,000 and 10,000
// contacts (every field read), with the pauses off and at their default, and single creations and modifications.
#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace
{
const ULONG kAllFields = 0x7;

CMAPIContactInfo TypicalContact(int nIndex)
{
    CMAPIContactInfo info;
    info.strFirstName.Format(_T("Anna%d"), nIndex);
    info.strLastName = _T("Berg");
    info.strCompany = _T("Example GmbH");
    info.strTitle = _T("Engineer");
    info.strEmail1.Format(_T("anna%d@example.com"), nIndex);
    info.strEmailDispaly1 = _T("Anna Berg");
    info.strNumberBiz1 = _T("+49 30 1234567");
    info.strNumberCellphone = _T("+49 170 7654321");
    info.strBizStreet = _T("Unter den Linden 1");
    info.strBizCity = _T("Berlin");
    info.strBizPostalCode = _T("10117");
    info.strBizCountry = _T("Germany");
    info.strMemo = _T("Met at the trade fair.");
    info.tmBirthday.wYear = 1980;
    info.tmBirthday.wMonth = 7;
    info.tmBirthday.wDay = 14;
    return info;
}

// One profile in a temporary directory, one interface object, and a contacts folder per list size, filled once.
class Bench
{
public:
    static Bench& Get()
    {
        static Bench bench;
        return bench;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    COutlookFolder& Folder(int nContacts)
    {
        auto it = m_folders.find(nContacts);
        if (it != m_folders.end())
            return *it->second;
        auto pFolder = std::make_unique<COutlookFolder>();
        MakeFolder(nContacts, *pFolder);
        CMAPIInterface::SetYield(0);
        for (int i = 0; i < nContacts; ++i)
        {
            CMAPIContactInfo info = TypicalContact(i);
            m_pInterface->CreateContact(pFolder.get(), &info);
        }
        return *(m_folders[nContacts] = std::move(pFolder));
    }

private:
    Bench()
    {
        std::string strHome = (fs::temp_directory_path() / "mapipim-bench-XXXXXX").string();
        mkdtemp(strHome.data());
        m_home = strHome;
        setenv("MAPIPIM_HOME", strHome.c_str(), 1);
        m_pInterface = std::make_unique<CMAPIInterface>();
        CMAPIEx session;
        session.Login();
        session.OpenMessageStore();
        SPropTagArray tags = {1, {PR_ENTRYID}};
        ULONG ulCount = 0;
        LPSPropValue pValue = nullptr;
        session.GetMessageStore()->GetProps(&tags, 0, &ulCount, &pValue);
        m_store.assign(pValue->Value.bin.lpb, pValue->Value.bin.lpb + pValue->Value.bin.cb);
        MAPIFreeBuffer(pValue);
    }
    ~Bench()
    {
        m_folders.clear();
        m_pInterface.reset();
        std::error_code error;
        fs::remove_all(m_home, error);
    }

    void MakeFolder(int nContacts, COutlookFolder& record)
    {
        const std::string strName = "Contacts " + std::to_string(nContacts);
        const std::u16string strName16(strName.begin(), strName.end());
        mapisvc::EntryId folder;
        mapisvc::CreateFolder(m_store, nullptr, strName16, u"IPF.Contact", &folder);
        SBinary store = {ULONG(m_store.size()), m_store.data()};
        SBinary entry = {ULONG(folder.size()), folder.data()};
        CopySBinary(record.sbStoreEntryID, store);
        CopySBinary(record.sbEntryID, entry);
        record.strName = CString(strName16.c_str());
    }

    fs::path m_home;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    mapisvc::EntryId m_store;
    std::map<int, std::unique_ptr<COutlookFolder>> m_folders;
};

void DeleteAll(CArray<CMAPIContactInfo*, CMAPIContactInfo*>& arrContacts)
{
    for (INT_PTR i = 0; i < arrContacts.GetSize(); ++i)
        delete arrContacts[i];
    arrContacts.RemoveAll();
}

// Args: number of contacts, pause in milliseconds.
void ListContacts(benchmark::State& state)
{
    const int nContacts = static_cast<int>(state.range(0));
    Bench& bench = Bench::Get();
    COutlookFolder& folder = bench.Folder(nContacts);
    CMAPIInterface::SetYield(static_cast<int>(state.range(1)));
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> arrContacts;
    for (auto _ : state)
    {
        if (!bench.Interface().GetContact(&folder, arrContacts, kAllFields) || arrContacts.GetSize() != nContacts)
            state.SkipWithError("the list failed");
    }
    DeleteAll(arrContacts);
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations() * nContacts);
    state.counters["us_per_contact"] =
        benchmark::Counter(static_cast<double>(state.iterations() * nContacts),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void CreateContact(benchmark::State& state)
{
    Bench& bench = Bench::Get();
    COutlookFolder& folder = bench.Folder(0);
    CMAPIInterface::SetYield(0);
    int nIndex = 0;
    for (auto _ : state)
    {
        CMAPIContactInfo info = TypicalContact(nIndex++);
        if (!bench.Interface().CreateContact(&folder, &info))
            state.SkipWithError("CreateContact failed");
    }
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations());
}

void ModifyContact(benchmark::State& state)
{
    Bench& bench = Bench::Get();
    COutlookFolder& folder = bench.Folder(1);
    CMAPIInterface::SetYield(0);
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> arrContacts;
    bench.Interface().GetContact(&folder, arrContacts, kAllFields);
    CMAPIContactInfo info = *arrContacts[0];
    DeleteAll(arrContacts);
    int nIndex = 0;
    for (auto _ : state)
    {
        info.strCompany.Format(_T("Company %d"), nIndex++);
        if (!bench.Interface().ModifyContact(&folder, &info))
            state.SkipWithError("ModifyContact failed");
    }
    CMAPIInterface::SetYield(1);
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK(ListContacts)->Args({1000, 0})->Args({10000, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ListContacts)->Args({1000, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(CreateContact)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(ModifyContact)->Unit(benchmark::kMicrosecond)->UseRealTime();
