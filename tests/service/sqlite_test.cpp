// The service's SQLite layer: cached statements shared by nobody at once and found by their text, and
// connections that are either set up whole or not handed out at all.
#include "platform/mapi/Sqlite.h"
#include "support/ServiceFixture.h"

#include <fstream>
#include <vector>

namespace
{
class SqliteTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::Database::Open(Home() + "/test.db", true, db), S_OK);
        ASSERT_EQ(db->Execute("CREATE TABLE number(n INTEGER); INSERT INTO number VALUES(1), (2), (3)"), S_OK);
    }

    std::unique_ptr<mapisvc::Database> db;
};

const char kAllNumbers[] = "SELECT n FROM number ORDER BY n";

std::vector<int64_t> ReadAll(mapisvc::Query& query)
{
    std::vector<int64_t> values;
    while (query.Step())
        values.push_back(query.Int(0));
    return values;
}

TEST_F(SqliteTest, QueryOfAStatementInUseReadsRowsOfItsOwn)
{
    mapisvc::Query outer = db->Prepare(kAllNumbers);
    std::vector<int64_t> outerValues;
    while (outer.Step())
    {
        outerValues.push_back(outer.Int(0));
        // The same SQL while the outer query is between rows: it must neither reset nor advance the outer one.
        mapisvc::Query inner = db->Prepare(kAllNumbers);
        EXPECT_EQ(ReadAll(inner), (std::vector<int64_t>{1, 2, 3}));
        EXPECT_EQ(inner.Result(), S_OK);
    }
    EXPECT_EQ(outer.Result(), S_OK);
    EXPECT_EQ(outerValues, (std::vector<int64_t>{1, 2, 3}));
}

TEST_F(SqliteTest, StatementIsReusedOnceItsQueryEnds)
{
    for (int round = 0; round < 3; ++round)
    {
        mapisvc::Query query = db->Prepare(kAllNumbers);
        EXPECT_EQ(ReadAll(query), (std::vector<int64_t>{1, 2, 3})) << "round " << round;
    }
    // Binding a cached statement again starts from fresh bindings.
    const char sql[] = "SELECT COUNT(*) FROM number WHERE n > ?";
    for (int64_t floor : {0, 2, 3})
    {
        mapisvc::Query query = db->Prepare(sql);
        ASSERT_TRUE(query.Bind(1, floor).Step());
        EXPECT_EQ(query.Int(0), 3 - floor);
    }
}

TEST_F(SqliteTest, StatementsAreFoundByTheirTextNotWhereItLies)
{
    // One buffer holding two statements in turn, as text built at run time does.
    char sql[] = "SELECT MIN(n) FROM number";
    {
        mapisvc::Query query = db->Prepare(sql);
        ASSERT_TRUE(query.Step());
        EXPECT_EQ(query.Int(0), 1);
    }
    sql[7] = 'M', sql[8] = 'A', sql[9] = 'X';
    {
        mapisvc::Query query = db->Prepare(sql);
        ASSERT_TRUE(query.Step());
        EXPECT_EQ(query.Int(0), 3);
    }
    // The same text from another buffer is the same statement, and gives the same rows.
    const std::string copy(kAllNumbers);
    mapisvc::Query query = db->Prepare(copy.c_str());
    EXPECT_EQ(ReadAll(query), (std::vector<int64_t>{1, 2, 3}));
}

TEST_F(SqliteTest, UnpreparableStatementFailsEveryStep)
{
    mapisvc::Query query = db->Prepare("SELECT nothing FROM nowhere");
    EXPECT_FALSE(query.Step());
    EXPECT_NE(query.Result(), S_OK);
    EXPECT_NE(db->Prepare("SELECT nothing FROM nowhere").Run(), S_OK);
}

TEST_F(SqliteTest, FileThatIsNoDatabaseGivesNoConnection)
{
    const std::string path = Home() + "/text.db";
    std::ofstream(path) << "plain text, long enough to fill a database header and more of it............\n";
    std::unique_ptr<mapisvc::Database> other = std::move(db);
    EXPECT_NE(mapisvc::Database::Open(path, false, other), S_OK);
    EXPECT_FALSE(other);
}
} // namespace
