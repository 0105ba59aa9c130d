// Store files that are not stores: empty, cut short, foreign. Opening one fails with MAPI_E_CORRUPT_DATA and one
// trace line, as often as it is tried, and leaves the file as it was.
#include "platform/mapi/Sqlite.h"
#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class DamagedStoreTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        init.reset(new MapiInit);
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(), S_OK);
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(Home()) / "stores"))
            if (entry.path().extension() == ".db")
                storeFile = entry.path();
        ASSERT_FALSE(storeFile.empty());
        goodStore = ReadAll(storeFile);
    }
    void TearDown() override
    {
        init.reset();
        ServiceTest::TearDown();
    }

    // Opens the profile's only store as a host would; the result of OpenMsgStore.
    HRESULT OpenTheStore()
    {
        Ref<IMAPISession> session = Logon();
        Ref<IMAPITable> table;
        EXPECT_EQ(session->GetMsgStoresTable(0, table.Out()), S_OK);
        const TableRows rows = ReadRows(table.Get(), {PR_ENTRYID});
        EXPECT_EQ(rows.size(), 1u);
        if (rows.size() != 1)
            return E_UNEXPECTED;
        const mapisvc::EntryId id = ToEntryId(rows[0].lpProps[0].Value.bin);
        Ref<IMsgStore> store;
        return session->OpenMsgStore(0, static_cast<ULONG>(id.size()),
                                     reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())), nullptr,
                                     MDB_NO_DIALOG | MAPI_BEST_ACCESS, store.Out());
    }

    // Two opens in a row each fail alone with one trace line naming the file, which stays as it was.
    void ExpectDamaged()
    {
        const std::string before = ReadAll(storeFile);
        const std::vector<CString> expected = {CString(_T("[MAPI] The store file ")) +
                                               CString(storeFile.u16string().c_str()) + _T(" is damaged")};
        for (int attempt = 0; attempt < 2; ++attempt)
        {
            mapipim::TraceCapture trace;
            EXPECT_EQ(OpenTheStore(), MAPI_E_CORRUPT_DATA) << "attempt " << attempt;
            EXPECT_EQ(trace.GetLines(), expected) << "attempt " << attempt;
        }
        EXPECT_EQ(ReadAll(storeFile), before);
    }

    std::unique_ptr<MapiInit> init;
    fs::path storeFile;
    std::string goodStore;
};

TEST_F(DamagedStoreTest, IntactStoreOpens)
{
    EXPECT_EQ(OpenTheStore(), S_OK);
}

TEST_F(DamagedStoreTest, EmptyFileIsDamaged)
{
    WriteAll(storeFile, "");
    ExpectDamaged();
}

TEST_F(DamagedStoreTest, FileCutShortIsDamaged)
{
    ASSERT_GT(goodStore.size(), 8192u);
    for (size_t length : {size_t(10), size_t(100), size_t(4096), goodStore.size() / 2})
    {
        SCOPED_TRACE(length);
        WriteAll(storeFile, goodStore.substr(0, length));
        ExpectDamaged();
    }
}

TEST_F(DamagedStoreTest, TextFileIsDamaged)
{
    WriteAll(storeFile, "these are not the messages you are looking for\n");
    ExpectDamaged();
}

TEST_F(DamagedStoreTest, OtherDatabaseIsDamagedAndKeepsItsTables)
{
    fs::remove(storeFile);
    {
        std::unique_ptr<mapisvc::Database> other;
        ASSERT_EQ(mapisvc::Database::Open(storeFile.string(), true, other), S_OK);
        ASSERT_EQ(other->Execute("CREATE TABLE song(title TEXT); INSERT INTO song VALUES('kept')"), S_OK);
    }
    ExpectDamaged();
    std::unique_ptr<mapisvc::Database> other;
    ASSERT_EQ(mapisvc::Database::Open(storeFile.string(), false, other), S_OK);
    mapisvc::Query query = other->Prepare("SELECT title FROM song");
    ASSERT_TRUE(query.Step());
    EXPECT_EQ(query.Text(0), "kept");
}

TEST_F(DamagedStoreTest, StoreWithoutIdentityIsDamaged)
{
    {
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(storeFile.string(), false, db), S_OK);
        ASSERT_EQ(db->Execute("DELETE FROM meta WHERE key = 'uid'"), S_OK);
    }
    ExpectDamaged();
}

TEST_F(DamagedStoreTest, DamagedStoredValueIsDamaged)
{
    // Values the store never writes: the caller sees a damaged store, not an exception.
    const std::pair<const char*, const char*> damaged[] = {
        {"role3", "x"}, {"role3", ""}, {"role3", "12abc"}, {"role3", "99999999999999999999999"},
        {"unicode", "yes"}, {"uid", "short"}};
    for (const auto& value : damaged)
    {
        SCOPED_TRACE(std::string(value.first) + "=" + value.second);
        WriteAll(storeFile, goodStore);
        {
            std::unique_ptr<mapisvc::Database> db;
            ASSERT_EQ(mapisvc::Database::Open(storeFile.string(), false, db), S_OK);
            mapisvc::Query update = db->Prepare("UPDATE meta SET value = ? WHERE key = ?");
            ASSERT_EQ(update.BindBlob(1, value.second).BindText(2, value.first).Run(), S_OK);
            ASSERT_EQ(db->Changes(), 1);
        }
        ExpectDamaged();
    }
}

TEST_F(DamagedStoreTest, UnreadableFileIsRefusedButNotDamaged)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads any file";
    fs::permissions(storeFile, fs::perms::none);
    mapipim::TraceCapture trace;
    EXPECT_EQ(OpenTheStore(), MAPI_E_NO_ACCESS);
    EXPECT_EQ(trace.GetLines(), std::vector<CString>());
    fs::permissions(storeFile, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(OpenTheStore(), S_OK);
}

TEST_F(DamagedStoreTest, RepairedFileOpensAgain)
{
    WriteAll(storeFile, "");
    EXPECT_EQ(OpenTheStore(), MAPI_E_CORRUPT_DATA);
    WriteAll(storeFile, goodStore);
    EXPECT_EQ(OpenTheStore(), S_OK);
}
} // namespace
