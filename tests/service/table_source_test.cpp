// What a table reads from its row source: no more rows than a fetch hands out, and of each row only the
// properties its columns, restriction and sort ask for.
#include "platform/mapi/RowSource.h"
#include "platform/mapi/Table.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
// Rows keyed 0..n-1, each with PR_IMPORTANCE (the key) and PR_SUBJECT_A; counts the rows it hands out.
class CountingSource : public mapisvc::RowSource
{
public:
    CountingSource(size_t rows, size_t& handedOut) : m_rows(rows), m_handedOut(handedOut) {}

    HRESULT Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                 std::vector<mapisvc::TableRow>& rows) override
    {
        for (int64_t key = afterKey < 0 ? 0 : afterKey + 1; key < int64_t(m_rows) && limit; ++key, --limit)
            rows.push_back(RowOf(key, wanted));
        return S_OK;
    }

    HRESULT Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                  std::vector<mapisvc::TableRow>& rows) override
    {
        for (int64_t key : keys)
            rows.push_back(RowOf(key, wanted));
        return S_OK;
    }

    HRESULT Count(ULONG& count) override
    {
        count = static_cast<ULONG>(m_rows);
        return S_OK;
    }

    std::vector<ULONG> DefaultColumns() const override { return {PR_IMPORTANCE}; }

private:
    mapisvc::TableRow RowOf(int64_t key, const std::vector<ULONG>* wanted)
    {
        ++m_handedOut;
        mapisvc::PropertyBag props;
        props.Set(PR_IMPORTANCE, mapisvc::EncodeLong(static_cast<LONG>(key)));
        props.Set(PR_SUBJECT_A, "subject");
        return {key, mapisvc::WantedProps(props, wanted)};
    }

    size_t m_rows;
    size_t& m_handedOut;
};

class TableSourceTest : public ServiceTest
{
protected:
    Ref<IMAPITable> TableOf(size_t rows)
    {
        Ref<IMAPITable> table;
        EXPECT_EQ(mapisvc::NewTable(std::unique_ptr<mapisvc::RowSource>(new CountingSource(rows, m_handedOut)), 0,
                                    table.Out()),
                  S_OK);
        return table;
    }

    size_t m_handedOut = 0;
};

TEST_F(TableSourceTest, FetchingOneRowAtATimeReadsEachRowOnce)
{
    Ref<IMAPITable> table = TableOf(100);
    LONG expected = 0;
    for (;;)
    {
        Rows rows;
        ASSERT_EQ(table->QueryRows(1, 0, rows.Out()), S_OK);
        if (rows->cRows == 0)
            break;
        ASSERT_EQ(rows->cRows, 1u);
        EXPECT_EQ(rows->aRow[0].lpProps[0].Value.l, expected++);
    }
    EXPECT_EQ(expected, 100);
    EXPECT_EQ(m_handedOut, 100u);
}

TEST_F(TableSourceTest, FetchOfNRowsReadsNRows)
{
    Ref<IMAPITable> table = TableOf(1000);
    Rows rows;
    ASSERT_EQ(table->QueryRows(7, 0, rows.Out()), S_OK);
    EXPECT_EQ(rows->cRows, 7u);
    EXPECT_EQ(m_handedOut, 7u);
    Rows peek;
    ASSERT_EQ(table->QueryRows(3, TBL_NOADVANCE, peek.Out()), S_OK);
    ASSERT_EQ(peek->cRows, 3u);
    EXPECT_EQ(peek->aRow[0].lpProps[0].Value.l, 7);
    EXPECT_EQ(m_handedOut, 10u);
}

TEST_F(TableSourceTest, RestrictedFetchStillFindsRowsFarApart)
{
    Ref<IMAPITable> table = TableOf(1000);
    SPropValue far = LongValue(PR_IMPORTANCE, 900);
    SRestriction beyond{};
    beyond.rt = RES_PROPERTY;
    beyond.res.resProperty.relop = RELOP_GE;
    beyond.res.resProperty.ulPropTag = PR_IMPORTANCE;
    beyond.res.resProperty.lpProp = &far;
    ASSERT_EQ(table->Restrict(&beyond, 0), S_OK);
    Rows rows;
    ASSERT_EQ(table->QueryRows(2, 0, rows.Out()), S_OK);
    ASSERT_EQ(rows->cRows, 2u);
    EXPECT_EQ(rows->aRow[0].lpProps[0].Value.l, 900);
    EXPECT_EQ(rows->aRow[1].lpProps[0].Value.l, 901);
}

TEST(WantedPropsTest, KeepsOnlyTheWantedPropertiesInIdOrder)
{
    mapisvc::PropertyBag props;
    props.Set(PR_SUBJECT_A, "subject");
    props.Set(PR_IMPORTANCE, mapisvc::EncodeLong(2));
    props.Set(PR_MESSAGE_FLAGS, mapisvc::EncodeLong(1));
    const std::vector<ULONG> wanted = {PROP_ID(PR_IMPORTANCE), PROP_ID(PR_SUBJECT_A), PROP_ID(PR_DEPTH)};
    const mapisvc::PropertyBag subset = mapisvc::WantedProps(props, &wanted);
    ASSERT_EQ(subset.Size(), 2u);
    EXPECT_EQ(subset.Props()[0].tag, PR_IMPORTANCE);
    EXPECT_EQ(subset.Props()[1].tag, PR_SUBJECT_A);
    EXPECT_EQ(subset.Find(PROP_ID(PR_MESSAGE_FLAGS)), nullptr);
    EXPECT_EQ(mapisvc::WantedProps(props, nullptr).Size(), 3u);
}

TEST_F(TableSourceTest, MemoryRowsCarryOnlyTheWantedProperties)
{
    std::vector<mapisvc::TableRow> rows;
    mapisvc::PropertyBag props;
    props.Set(PR_SUBJECT_A, "subject");
    props.Set(PR_IMPORTANCE, mapisvc::EncodeLong(2));
    mapisvc::AppendRow(rows, props);
    mapisvc::MemoryRowSource source(std::move(rows), {PR_IMPORTANCE});
    const std::vector<ULONG> wanted = {PROP_ID(PR_IMPORTANCE)};
    std::vector<mapisvc::TableRow> scanned, fetched;
    ASSERT_EQ(source.Scan(-1, 10, &wanted, scanned), S_OK);
    ASSERT_EQ(source.Fetch({0}, &wanted, fetched), S_OK);
    for (const std::vector<mapisvc::TableRow>* read : {&scanned, &fetched})
    {
        ASSERT_EQ(read->size(), 1u);
        EXPECT_NE(read->front().props.Find(PROP_ID(PR_IMPORTANCE)), nullptr);
        EXPECT_EQ(read->front().props.Find(PROP_ID(PR_SUBJECT_A)), nullptr);
        EXPECT_EQ(read->front().props.Find(PROP_ID(PR_INSTANCE_KEY)), nullptr);
    }
}
} // namespace
