// What the comparison benchmarks share: a profile in a temporary home made for the run, the store's SQLite file
// opened beside the service for the raw baselines, folders filled through the store's database in one transaction,
// and the side-by-side timing that runs the library and its baseline alternately in one process and reports their
// ratio as a counter.
#pragma once

#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace benchworld
{
namespace fs = std::filesystem;

// Object types of the store's object table.
const int kFolderRow = MAPI_FOLDER;
const int kMessageRow = MAPI_MESSAGE;

// A fresh MAPIPIM_HOME for the life of the object, removed afterwards.
class TemporaryHome
{
public:
    TemporaryHome()
    {
        std::string strHome = (fs::temp_directory_path() / "mapipim-bench-XXXXXX").string();
        if (!mkdtemp(strHome.data()))
            std::abort();
        m_path = strHome;
        setenv("MAPIPIM_HOME", strHome.c_str(), 1);
        // A host that does not ask for the call log does not pay for it.
        mapisvc::SetCallLogEnabled(false);
    }
    ~TemporaryHome()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const fs::path& Path() const { return m_path; }

    // The one store file of the home's default profile.
    fs::path StoreFile() const
    {
        for (const auto& entry : fs::directory_iterator(m_path / "stores"))
            if (entry.path().extension() == ".db")
                return entry.path();
        return {};
    }

private:
    fs::path m_path;
};

// A connection of its own to a store file, beside the service's.
class RawStore
{
public:
    explicit RawStore(const fs::path& file)
    {
        if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            std::abort();
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~RawStore() { sqlite3_close(m_db); }
    RawStore(const RawStore&) = delete;
    RawStore& operator=(const RawStore&) = delete;

    sqlite3* Db() const { return m_db; }

    void Exec(const char* szSql)
    {
        if (sqlite3_exec(m_db, szSql, nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
    }

    int64_t Scalar(const std::string& strSql)
    {
        sqlite3_stmt* pStatement = Prepare(strSql.c_str());
        int64_t nValue = sqlite3_step(pStatement) == SQLITE_ROW ? sqlite3_column_int64(pStatement, 0) : 0;
        sqlite3_finalize(pStatement);
        return nValue;
    }

    sqlite3_stmt* Prepare(const char* szSql)
    {
        sqlite3_stmt* pStatement = nullptr;
        if (sqlite3_prepare_v2(m_db, szSql, -1, &pStatement, nullptr) != SQLITE_OK)
            std::abort();
        return pStatement;
    }

    // The newest row of a type: the object the service saved last.
    int64_t LastRow(int nType) { return Scalar("SELECT max(id) FROM object WHERE type = " + std::to_string(nType)); }

    // nCopies copies of a saved message in a folder, in one transaction.
    void CloneMessage(int64_t nMessage, int64_t nFolder, int nCopies)
    {
        Exec("BEGIN IMMEDIATE");
        sqlite3_stmt* pStatement =
            Prepare("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?1) "
                    "INSERT INTO object(type, parent, flags, attach_seq, recip_seq, props) "
                    "SELECT o.type, ?2, o.flags, 0, 0, o.props FROM object o, n WHERE o.id = ?3");
        sqlite3_bind_int(pStatement, 1, nCopies);
        sqlite3_bind_int64(pStatement, 2, nFolder);
        sqlite3_bind_int64(pStatement, 3, nMessage);
        if (sqlite3_step(pStatement) != SQLITE_DONE)
            std::abort();
        sqlite3_finalize(pStatement);
        Exec("COMMIT");
    }

    // nCopies copies of a saved folder, in one transaction: all below nParent (flat), or each below the copy
    // (i - 1) / 10 before it, the first ten below nParent (a tree ten wide at each level).
    void CloneFolder(int64_t nFolder, int64_t nParent, int nCopies, bool bTree)
    {
        Exec("BEGIN IMMEDIATE");
        sqlite3_stmt* pStatement = Prepare("INSERT INTO object(type, parent, flags, attach_seq, recip_seq, props) "
                                           "SELECT type, ?1, flags, 0, 0, props FROM object WHERE id = ?2");
        std::vector<int64_t> ids;
        for (int i = 0; i < nCopies; ++i)
        {
            const int64_t nUnder = bTree && i >= 10 ? ids[static_cast<size_t>((i - 10) / 10)] : nParent;
            sqlite3_bind_int64(pStatement, 1, nUnder);
            sqlite3_bind_int64(pStatement, 2, nFolder);
            if (sqlite3_step(pStatement) != SQLITE_DONE)
                std::abort();
            sqlite3_reset(pStatement);
            ids.push_back(sqlite3_last_insert_rowid(m_db));
        }
        sqlite3_finalize(pStatement);
        Exec("COMMIT");
    }

private:
    sqlite3* m_db = nullptr;
};

inline mapisvc::EntryId ToBytes(const SBinary& bin)
{
    return mapisvc::EntryId(bin.lpb, bin.lpb + bin.cb);
}

// The default store's entry identifier.
inline mapisvc::EntryId DefaultStore()
{
    CArray<COutlookStore*, COutlookStore*> arrStores;
    CMAPIInterface mapi;
    mapi.GetAllStoreInfo(arrStores, 0, nullptr);
    mapisvc::EntryId store;
    for (INT_PTR i = 0; i < arrStores.GetSize(); ++i)
    {
        if (arrStores[i]->bDefault)
            store = ToBytes(arrStores[i]->sbEntryID);
        delete arrStores[i];
    }
    return store;
}

// A host's record of a new folder below the store's IPM subtree (or below parent).
inline std::unique_ptr<COutlookFolder> NewFolder(const mapisvc::EntryId& store, const std::u16string& strName,
                                                 const std::u16string& strClass,
                                                 const mapisvc::EntryId* pParent = nullptr)
{
    mapisvc::EntryId folder;
    if (mapisvc::CreateFolder(store, pParent, strName, strClass, &folder) != S_OK)
        std::abort();
    auto pRecord = std::make_unique<COutlookFolder>();
    SBinary storeID = {ULONG(store.size()), const_cast<BYTE*>(store.data())};
    SBinary folderID = {ULONG(folder.size()), folder.data()};
    CopySBinary(pRecord->sbStoreEntryID, storeID);
    CopySBinary(pRecord->sbEntryID, folderID);
    pRecord->strName = CString(strName.c_str());
    return pRecord;
}

inline CMAPIContactInfo TypicalContact(int nIndex)
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

template <typename T> void DeleteAll(CArray<T*, T*>& arr)
{
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        delete arr[i];
    arr.RemoveAll();
}

// The library and its baseline timed alternately, the order swapped every iteration so that neither always
// runs on a warm cache; the iteration's time is the library's. Besides the wall clock, each side's CPU time
// (of this thread) is counted, which a machine loaded by other work disturbs far less.
class SideBySide
{
public:
    template <typename Library, typename Baseline>
    void Run(benchmark::State& state, Library runLibrary, Baseline runBaseline)
    {
        for (auto _ : state)
        {
            Times library, baseline;
            if (m_nRuns++ % 2 == 0)
            {
                library = Measure(runLibrary);
                baseline = Measure(runBaseline);
            }
            else
            {
                baseline = Measure(runBaseline);
                library = Measure(runLibrary);
            }
            m_library.Add(library);
            m_baseline.Add(baseline);
            state.SetIterationTime(library.dWall);
        }
    }

    // Per-item microseconds of both and the ratio library / baseline, by the wall clock and by CPU time.
    void Report(benchmark::State& state, int64_t nItemsPerRun) const
    {
        const double dItems = static_cast<double>(m_nRuns * nItemsPerRun);
        state.counters["lib_us_per_item"] = m_library.dWall * 1e6 / dItems;
        state.counters["raw_us_per_item"] = m_baseline.dWall * 1e6 / dItems;
        state.counters["ratio"] = m_baseline.dWall > 0 ? m_library.dWall / m_baseline.dWall : 0;
        state.counters["lib_cpu_us_per_item"] = m_library.dCpu * 1e6 / dItems;
        state.counters["raw_cpu_us_per_item"] = m_baseline.dCpu * 1e6 / dItems;
        state.counters["cpu_ratio"] = m_baseline.dCpu > 0 ? m_library.dCpu / m_baseline.dCpu : 0;
    }

private:
    struct Times
    {
        double dWall = 0;
        double dCpu = 0;
        void Add(const Times& other)
        {
            dWall += other.dWall;
            dCpu += other.dCpu;
        }
    };

    static double ThreadCpuSeconds()
    {
        timespec now = {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    }

    template <typename F> static Times Measure(F run)
    {
        const double dCpuStart = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        run();
        Times times;
        times.dWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.dCpu = ThreadCpuSeconds() - dCpuStart;
        return times;
    }

    int64_t m_nRuns = 0;
    Times m_library;
    Times m_baseline;
};
} // namespace benchworld
