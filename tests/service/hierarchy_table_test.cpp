// Hierarchy tables: the columns a folder computes from its store (message and unread counts, PR_SUBFOLDERS)
// when the columns, a restriction or a sort ask for them, one level or all levels below, and leaf folders.
#include "platform/mapi/HierarchyRows.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Text.h"
#include "platform/trace/TraceCapture.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

namespace
{
const std::vector<ULONG> kCountColumns = {PR_DISPLAY_NAME_W, PR_CONTENT_COUNT, PR_CONTENT_UNREAD, PR_SUBFOLDERS};

// A row of kCountColumns as "name count/unread sub|leaf"; a column without its value shows as "?".
std::u16string Describe(const SRow& row)
{
    auto number = [&](size_t column, ULONG tag)
    {
        const SPropValue& value = row.lpProps[column];
        return value.ulPropTag == tag ? std::to_string(value.Value.l) : std::string("?");
    };
    const SPropValue& name = row.lpProps[0];
    const SPropValue& subfolders = row.lpProps[3];
    std::string text = " " + number(1, PR_CONTENT_COUNT) + "/" + number(2, PR_CONTENT_UNREAD) + " " +
                       (subfolders.ulPropTag != PR_SUBFOLDERS ? "?"
                        : subfolders.Value.b                  ? "sub"
                                                              : "leaf");
    std::u16string described = name.ulPropTag == PR_DISPLAY_NAME_W ? name.Value.lpszW : u"?";
    return described + std::u16string(text.begin(), text.end());
}

std::vector<std::u16string> DescribeRows(IMAPITable* table)
{
    const TableRows rows = ReadRows(table, kCountColumns);
    std::vector<std::u16string> described;
    for (size_t i = 0; i < rows.size(); ++i)
        described.push_back(Describe(rows[i]));
    return described;
}

// The display names of the rows from the cursor on.
std::vector<std::u16string> Names(IMAPITable* table)
{
    std::vector<std::u16string> names;
    for (;;)
    {
        Rows rows;
        EXPECT_EQ(table->QueryRows(10, 0, rows.Out()), S_OK);
        if (!rows.Get() || rows->cRows == 0)
            return names;
        for (ULONG i = 0; i < rows->cRows; ++i)
            names.push_back(rows->aRow[i].lpProps[0].Value.lpszW);
    }
}

HRESULT SetColumns(IMAPITable* table, const std::vector<ULONG>& tags)
{
    std::vector<ULONG> array{static_cast<ULONG>(tags.size())};
    array.insert(array.end(), tags.begin(), tags.end());
    return table->SetColumns(reinterpret_cast<LPSPropTagArray>(array.data()), 0);
}

// Inbox holds Full (one read and two unread messages) and Empty (none); Full holds Inner (one unread message).
class HierarchyTableTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        m_full = NewFolder(Inbox(), u"Full");
        m_empty = NewFolder(Inbox(), u"Empty");
        m_inner = NewFolder(m_full.Get(), u"Inner");
        m_read = CreateMessage(m_full.Get(), u"read", {LongValue(PR_MESSAGE_FLAGS, MSGFLAG_READ)});
        m_unread = CreateMessage(m_full.Get(), u"unread", {LongValue(PR_MESSAGE_FLAGS, 0)});
        CreateMessage(m_full.Get(), u"also unread", {LongValue(PR_MESSAGE_FLAGS, 0)});
        CreateMessage(m_inner.Get(), u"inner", {LongValue(PR_MESSAGE_FLAGS, 0)});
    }

    void TearDown() override
    {
        m_full.Reset();
        m_empty.Reset();
        m_inner.Reset();
        DefaultStoreTest::TearDown();
    }

    Ref<IMAPIFolder> NewFolder(IMAPIFolder* parent, const char16_t* name)
    {
        Ref<IMAPIFolder> folder;
        EXPECT_EQ(parent->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(name), nullptr, nullptr, MAPI_UNICODE,
                                       folder.Out()),
                  S_OK);
        return folder;
    }

    static Ref<IMAPITable> Hierarchy(IMAPIFolder* folder, ULONG flags = 0)
    {
        Ref<IMAPITable> table;
        EXPECT_EQ(folder->GetHierarchyTable(flags | MAPI_UNICODE, table.Out()), S_OK);
        return table;
    }

    HRESULT Move(const mapisvc::EntryId& message, IMAPIFolder* from, IMAPIFolder* to)
    {
        SBinary bin = AsSBinary(message);
        ENTRYLIST list{1, &bin};
        return from->CopyMessages(&list, nullptr, to, 0, nullptr, MESSAGE_MOVE);
    }

    Ref<IMAPIFolder> m_full, m_empty, m_inner;
    mapisvc::EntryId m_read, m_unread;
};

TEST_F(HierarchyTableTest, CountsOfAFreshTableFollowAddedDeletedAndMovedMessages)
{
    EXPECT_EQ(DescribeRows(Hierarchy(Inbox()).Get()),
              (std::vector<std::u16string>{u"Full 3/2 sub", u"Empty 0/0 leaf"}));

    SBinary unread = AsSBinary(m_unread);
    ENTRYLIST deleted{1, &unread};
    ASSERT_EQ(m_full->DeleteMessages(&deleted, 0, nullptr, 0), S_OK);
    ASSERT_EQ(Move(m_read, m_full.Get(), m_empty.Get()), S_OK);
    CreateMessage(m_empty.Get(), u"new", {LongValue(PR_MESSAGE_FLAGS, 0)});
    EXPECT_EQ(DescribeRows(Hierarchy(Inbox()).Get()),
              (std::vector<std::u16string>{u"Full 1/1 sub", u"Empty 2/1 leaf"}));
}

TEST_F(HierarchyTableTest, CountsAreTakenWhenFirstAskedForNotWhenTheTableIsOpened)
{
    Ref<IMAPITable> table = Hierarchy(Inbox());
    CreateMessage(m_empty.Get(), u"after the table", {LongValue(PR_MESSAGE_FLAGS, MSGFLAG_READ)});
    NewFolder(m_empty.Get(), u"Below empty");
    EXPECT_EQ(DescribeRows(table.Get()), (std::vector<std::u16string>{u"Full 3/2 sub", u"Empty 1/0 sub"}));
}

TEST_F(HierarchyTableTest, ColumnsChangedBetweenFetchesBringTheirValuesFromThenOn)
{
    Ref<IMAPITable> table = Hierarchy(Inbox());
    ASSERT_EQ(SetColumns(table.Get(), {PR_DISPLAY_NAME_W}), S_OK);
    {
        Rows first;
        ASSERT_EQ(table->QueryRows(1, 0, first.Out()), S_OK);
        ASSERT_EQ(first->cRows, 1u);
        EXPECT_EQ(first->aRow[0].cValues, 1u);
        EXPECT_EQ(std::u16string(first->aRow[0].lpProps[0].Value.lpszW), u"Full");
    }
    ASSERT_EQ(SetColumns(table.Get(), kCountColumns), S_OK);
    Rows second;
    ASSERT_EQ(table->QueryRows(1, 0, second.Out()), S_OK);
    ASSERT_EQ(second->cRows, 1u);
    EXPECT_EQ(Describe(second->aRow[0]), u"Empty 0/0 leaf");

    ASSERT_EQ(SetColumns(table.Get(), {PR_CONTENT_UNREAD}), S_OK);
    ASSERT_EQ(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), S_OK);
    Rows again;
    ASSERT_EQ(table->QueryRows(1, 0, again.Out()), S_OK);
    ASSERT_EQ(again->cRows, 1u);
    ASSERT_EQ(again->aRow[0].cValues, 1u);
    EXPECT_EQ(again->aRow[0].lpProps[0].ulPropTag, PR_CONTENT_UNREAD);
    EXPECT_EQ(again->aRow[0].lpProps[0].Value.l, 2);
}

TEST_F(HierarchyTableTest, RowsWithoutCountColumnsShowNoCounts)
{
    Ref<IMAPITable> table = Hierarchy(Inbox());
    const TableRows rows = ReadRows(table.Get(), {PR_DISPLAY_NAME_W, PR_ENTRYID});
    ASSERT_EQ(rows.size(), 2u);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        ASSERT_EQ(rows[i].cValues, 2u);
        EXPECT_EQ(rows[i].lpProps[0].ulPropTag, PR_DISPLAY_NAME_W);
        EXPECT_EQ(rows[i].lpProps[1].ulPropTag, PR_ENTRYID);
    }
    EXPECT_EQ(ToEntryId(rows[1].lpProps[1].Value.bin), EntryIdOf(m_empty.Get()));
}

TEST_F(HierarchyTableTest, RestrictionsOnComputedColumnsNotAmongTheColumnsStillApply)
{
    Ref<IMAPITable> table = Hierarchy(Inbox(), CONVENIENT_DEPTH);
    ASSERT_EQ(SetColumns(table.Get(), {PR_DISPLAY_NAME_W}), S_OK);
    SPropValue none = LongValue(PR_CONTENT_COUNT, 0);
    SRestriction holdsMessages = PropertyRestriction(RELOP_GT, none);
    ASSERT_EQ(table->Restrict(&holdsMessages, 0), S_OK);
    EXPECT_EQ(Names(table.Get()), (std::vector<std::u16string>{u"Full", u"Inner"}));

    SPropValue has = BoolValue(PR_SUBFOLDERS, true);
    SRestriction hasSubfolders = PropertyRestriction(RELOP_EQ, has);
    ASSERT_EQ(table->Restrict(&hasSubfolders, 0), S_OK);
    EXPECT_EQ(Names(table.Get()), std::vector<std::u16string>{u"Full"});
    ULONG count = 0;
    ASSERT_EQ(table->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 1u);
}

TEST_F(HierarchyTableTest, SortOnAComputedColumnNotAmongTheColumns)
{
    Ref<IMAPITable> table = Hierarchy(Inbox(), CONVENIENT_DEPTH);
    ASSERT_EQ(SetColumns(table.Get(), {PR_DISPLAY_NAME_W}), S_OK);
    SizedSSortOrderSet(1, byUnread) = {1, 0, 0, {{PR_CONTENT_UNREAD, TABLE_SORT_ASCEND}}};
    ASSERT_EQ(table->SortTable(reinterpret_cast<LPSSortOrderSet>(&byUnread), 0), S_OK);
    EXPECT_EQ(Names(table.Get()), (std::vector<std::u16string>{u"Empty", u"Inner", u"Full"}));
}

TEST_F(HierarchyTableTest, FindRowOnACountMovesToTheFirstMatch)
{
    Ref<IMAPITable> table = Hierarchy(Inbox(), CONVENIENT_DEPTH);
    ASSERT_EQ(SetColumns(table.Get(), {PR_DISPLAY_NAME_W}), S_OK);
    SPropValue one = LongValue(PR_CONTENT_UNREAD, 1);
    SRestriction oneUnread = PropertyRestriction(RELOP_EQ, one);
    ASSERT_EQ(table->FindRow(&oneUnread, BOOKMARK_BEGINNING, 0), S_OK);
    Rows rows;
    ASSERT_EQ(table->QueryRows(1, 0, rows.Out()), S_OK);
    ASSERT_EQ(rows->cRows, 1u);
    EXPECT_EQ(std::u16string(rows->aRow[0].lpProps[0].Value.lpszW), u"Inner");
}

TEST_F(HierarchyTableTest, AllLevelsTableCountsEveryLevelDepthFirst)
{
    Ref<IMAPITable> table = Hierarchy(Inbox(), CONVENIENT_DEPTH);
    EXPECT_EQ(DescribeRows(table.Get()),
              (std::vector<std::u16string>{u"Full 3/2 sub", u"Inner 1/1 leaf", u"Empty 0/0 leaf"}));
    const TableRows depths = ReadRows(table.Get(), {PR_DEPTH});
    ASSERT_EQ(depths.size(), 3u);
    EXPECT_EQ(depths[0].lpProps[0].Value.l, 1);
    EXPECT_EQ(depths[1].lpProps[0].Value.l, 2);
    EXPECT_EQ(depths[2].lpProps[0].Value.l, 1);

    // Below a folder of the tree, only its own sub-folders count.
    EXPECT_EQ(DescribeRows(Hierarchy(m_full.Get(), CONVENIENT_DEPTH).Get()),
              std::vector<std::u16string>{u"Inner 1/1 leaf"});
}

TEST_F(HierarchyTableTest, TableOfMostOfTheStoreCountsItsFoldersAsATableOfAFew)
{
    Ref<IMAPIFolder> root;
    ULONG type = 0;
    ASSERT_EQ(Store()->OpenEntry(0, nullptr, &IID_IMAPIFolder, MAPI_BEST_ACCESS, &type,
                                 reinterpret_cast<LPUNKNOWN*>(root.Out())),
              S_OK);
    const std::vector<std::u16string> all = DescribeRows(Hierarchy(root.Get(), CONVENIENT_DEPTH).Get());
    for (const char16_t* row : {u"Full 3/2 sub", u"Inner 1/1 leaf", u"Empty 0/0 leaf"})
        EXPECT_NE(std::find(all.begin(), all.end(), row), all.end()) << mapisvc::ToUtf8(row);
}

TEST_F(HierarchyTableTest, LeafFolderHasAnEmptyTableAtEveryDepth)
{
    for (ULONG flags : {ULONG(0), ULONG(CONVENIENT_DEPTH)})
    {
        SCOPED_TRACE(flags);
        Ref<IMAPITable> table = Hierarchy(m_empty.Get(), flags);
        ULONG count = 99;
        ASSERT_EQ(table->GetRowCount(0, &count), S_OK);
        EXPECT_EQ(count, 0u);
        EXPECT_TRUE(DescribeRows(table.Get()).empty());
    }
    EXPECT_EQ(GetLong(m_empty.Get(), PR_SUBFOLDERS), 0);
    EXPECT_EQ(GetLong(m_full.Get(), PR_SUBFOLDERS), 1);
}

// The row source itself, over a store of its own: the IPM subtree holds `folder`, which holds `below`.
class HierarchySourceTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::StoreDatabase::Create(Path(), mapisvc::NewMAPIUID(), true, false), S_OK);
        ASSERT_EQ(mapisvc::StoreDatabase::Open(Path(), store), S_OK);
        subtree = store->RoleFolder(mapisvc::FolderRole::IpmSubtree);
        mapisvc::PropertyBag props;
        props.Set(PR_CONTAINER_CLASS_A, "IPF.Note");
        ASSERT_EQ(store->CreateFolder(subtree, props, folder), S_OK);
        ASSERT_EQ(store->CreateFolder(folder, props, below), S_OK);
    }

    void TearDown() override
    {
        store.reset();
        ServiceTest::TearDown();
    }

    std::string Path() const { return Home() + "/store.db"; }

    int64_t NewFolder(int64_t parent, const char* name)
    {
        mapisvc::PropertyBag props;
        props.Set(PR_DISPLAY_NAME_A, name);
        int64_t id = 0;
        EXPECT_EQ(store->CreateFolder(parent, props, id), S_OK);
        return id;
    }

    // The trace line of a walk that met `id` below itself.
    CString BelowItself(int64_t id) const
    {
        return CString(_T("[MAPI] GetHierarchyTable - folder ")) +
               CString(mapisvc::FromUtf8(std::to_string(id)).c_str()) + _T(" lies below itself in ") +
               CString(mapisvc::FromUtf8(Path()).c_str());
    }

    // Gives `id` another parent behind the store's back, as a foreign writer could.
    void Reparent(int64_t id, int64_t parent)
    {
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(Path(), false, db), S_OK);
        const std::string damage =
            "UPDATE object SET parent = " + std::to_string(parent) + " WHERE id = " + std::to_string(id);
        ASSERT_EQ(db->Execute(damage.c_str()), S_OK);
    }

    // The rows of the table below `top` as "name/depth", every row read.
    std::vector<std::string> Walk(int64_t top, bool allLevels)
    {
        std::unique_ptr<mapisvc::RowSource> source;
        EXPECT_EQ(mapisvc::MakeHierarchyRows(store, top, allLevels, source), S_OK);
        std::vector<std::string> walked;
        if (!source)
            return walked;
        const std::vector<ULONG> wanted = {PROP_ID(PR_DISPLAY_NAME_A), PROP_ID(PR_DEPTH)};
        std::vector<mapisvc::TableRow> rows;
        EXPECT_EQ(source->Scan(-1, 1000, &wanted, rows), S_OK);
        for (const mapisvc::TableRow& row : rows)
        {
            const mapisvc::Prop* name = row.props.Find(PROP_ID(PR_DISPLAY_NAME_A));
            const mapisvc::Prop* depth = row.props.Find(PROP_ID(PR_DEPTH));
            walked.push_back((name ? name->data : std::string("?")) + "/" +
                             (depth ? std::to_string(mapisvc::DecodeLong(depth->data)) : std::string("?")));
        }
        return walked;
    }

    std::shared_ptr<mapisvc::StoreDatabase> store;
    int64_t subtree = 0, folder = 0, below = 0;
};

// Walks in a store of a few folders, where a walk below the IPM subtree takes most of the store's folders, and in
// one that also holds 300 other folders, where every walk takes a small part of them.
class HierarchyWalkTest : public HierarchySourceTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        HierarchySourceTest::SetUp();
        if (!GetParam())
            return;
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(Path(), false, db), S_OK);
        const std::string others = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                                   "INSERT INTO object(type, parent, props) SELECT 3, " +
                                   std::to_string(store->RoleFolder(mapisvc::FolderRole::Root)) +
                                   ", props FROM n, object WHERE object.id = " + std::to_string(folder);
        ASSERT_EQ(db->Execute(others.c_str()), S_OK);
    }
};

INSTANTIATE_TEST_SUITE_P(Stores, HierarchyWalkTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return info.param ? "AmongManyOtherFolders" : "InASmallStore"; });

TEST_P(HierarchyWalkTest, OtherFoldersOfTheStoreStayOutOfTheWalk)
{
    const int64_t a = NewFolder(subtree, "A");
    NewFolder(a, "A1");
    EXPECT_EQ(Walk(subtree, true), (std::vector<std::string>{"?/1", "?/2", "A/1", "A1/2"}));
}

TEST_F(HierarchySourceTest, RowsCarryComputedValuesOnlyWhenWanted)
{
    std::unique_ptr<mapisvc::RowSource> source;
    ASSERT_EQ(mapisvc::MakeHierarchyRows(store, subtree, false, source), S_OK);

    const std::vector<ULONG> plain = {PROP_ID(PR_CONTAINER_CLASS_A)};
    std::vector<mapisvc::TableRow> rows;
    ASSERT_EQ(source->Scan(-1, 10, &plain, rows), S_OK);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].props.Find(PROP_ID(PR_CONTAINER_CLASS_A)), nullptr);
    for (ULONG tag : {PR_CONTENT_COUNT, PR_CONTENT_UNREAD, PR_SUBFOLDERS, PR_DEPTH, PR_ENTRYID})
        EXPECT_EQ(rows[0].props.Find(PROP_ID(tag)), nullptr) << std::hex << tag;

    std::vector<ULONG> computed = {PROP_ID(PR_CONTENT_COUNT), PROP_ID(PR_SUBFOLDERS)};
    std::sort(computed.begin(), computed.end());
    rows.clear();
    ASSERT_EQ(source->Fetch({0}, &computed, rows), S_OK);
    ASSERT_EQ(rows.size(), 1u);
    const mapisvc::Prop* subfolders = rows[0].props.Find(PROP_ID(PR_SUBFOLDERS));
    ASSERT_NE(subfolders, nullptr);
    EXPECT_EQ(subfolders->data, mapisvc::EncodeBool(true));
    const mapisvc::Prop* count = rows[0].props.Find(PROP_ID(PR_CONTENT_COUNT));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->data, mapisvc::EncodeLong(0));
    EXPECT_EQ(rows[0].props.Find(PROP_ID(PR_CONTAINER_CLASS_A)), nullptr);
}

TEST_P(HierarchyWalkTest, AllLevelsAreDepthFirstWithSiblingsInTheOrderTheyWereMade)
{
    // Made so that a later level holds folders older than some of an earlier one, and a parent's children are
    // not made one after the other.
    const int64_t a = NewFolder(subtree, "A");
    const int64_t b = NewFolder(subtree, "B");
    const int64_t a1 = NewFolder(a, "A1");
    NewFolder(b, "B1");
    NewFolder(a, "A2");
    NewFolder(a1, "A1x");
    const std::vector<std::string> expected = {"A/1", "A1/2", "A1x/3", "A2/2", "B/1", "B1/2"};
    std::vector<std::string> walked = Walk(subtree, true);
    // The subtree also holds the folder the fixture made, with its own sub folder, before A.
    ASSERT_EQ(walked.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(walked.begin() + 2, walked.end()), expected);
    EXPECT_EQ(Walk(a, true), (std::vector<std::string>{"A1/1", "A1x/2", "A2/1"}));
    EXPECT_EQ(Walk(a, false), (std::vector<std::string>{"A1/1", "A2/1"}));
}

TEST_P(HierarchyWalkTest, WideLevelKeepsEachFolderBeforeItsOwnSubFolders)
{
    // Thirty sub folders, each given a sub folder of its own in the reverse order, so that the ids of the second
    // level run against those of their parents.
    const int64_t top = NewFolder(subtree, "W");
    std::vector<int64_t> children;
    for (int i = 0; i < 30; ++i)
        children.push_back(NewFolder(top, ("c" + std::to_string(i)).c_str()));
    for (int i = 29; i >= 0; --i)
        NewFolder(children[i], ("g" + std::to_string(i)).c_str());
    std::vector<std::string> expected;
    for (int i = 0; i < 30; ++i)
    {
        expected.push_back("c" + std::to_string(i) + "/1");
        expected.push_back("g" + std::to_string(i) + "/2");
    }
    EXPECT_EQ(Walk(top, true), expected);
}

TEST_P(HierarchyWalkTest, DeletedFoldersLeaveTheWalkWithEverythingBelowThem)
{
    const int64_t a = NewFolder(subtree, "A");
    const int64_t a1 = NewFolder(a, "A1");
    NewFolder(a1, "A1x");
    NewFolder(a, "A2");
    ASSERT_EQ(store->DeleteFolder(a1, DEL_FOLDERS | DEL_MESSAGES), S_OK);
    EXPECT_EQ(Walk(a, true), std::vector<std::string>{"A2/1"});
}

TEST_P(HierarchyWalkTest, DeletedFoldersAreNotListedBelowTheSubtree)
{
    const int64_t a = NewFolder(subtree, "A");
    const int64_t a1 = NewFolder(a, "A1");
    NewFolder(a1, "A1x");
    NewFolder(a, "A2");
    NewFolder(subtree, "B");
    ASSERT_EQ(store->DeleteFolder(a1, DEL_FOLDERS | DEL_MESSAGES), S_OK);
    EXPECT_EQ(Walk(subtree, true), (std::vector<std::string>{"?/1", "?/2", "A/1", "A2/2", "B/1"}));
}

TEST_P(HierarchyWalkTest, DeletingAFolderWhoseParentsRunInACircleEndsAndTakesTheCircle)
{
    const int64_t a = NewFolder(subtree, "A");
    const int64_t a1 = NewFolder(a, "A1");
    Reparent(a, a1);
    ASSERT_EQ(store->DeleteFolder(a, DEL_FOLDERS | DEL_MESSAGES), S_OK);
    mapisvc::ObjectRecord record;
    EXPECT_EQ(store->LoadObject(a, record), MAPI_E_NOT_FOUND);
    EXPECT_EQ(store->LoadObject(a1, record), MAPI_E_NOT_FOUND);
}

TEST_P(HierarchyWalkTest, EmptyingAFolderBelowItselfDeletesWhatLiesBelowButNeverTheFolder)
{
    // Its own parent, and the parent of its parent's parent: both circles lead back to the folder emptied.
    const int64_t own = NewFolder(subtree, "Own");
    const int64_t ownChild = NewFolder(own, "Own child");
    Reparent(own, own);
    const int64_t circle = NewFolder(subtree, "Circle");
    const int64_t circleChild = NewFolder(circle, "Circle child");
    const int64_t grandChild = NewFolder(circleChild, "Grand child");
    Reparent(circle, grandChild);

    ASSERT_EQ(store->DeleteFoldersBelow(own), S_OK);
    ASSERT_EQ(store->DeleteFoldersBelow(circle), S_OK);
    mapisvc::ObjectRecord record;
    EXPECT_EQ(store->LoadObject(own, record), S_OK);
    EXPECT_EQ(store->LoadObject(circle, record), S_OK);
    for (int64_t below : {ownChild, circleChild, grandChild})
        EXPECT_EQ(store->LoadObject(below, record), MAPI_E_NOT_FOUND) << below;
}

TEST_F(HierarchySourceTest, ChildCountsOfAListCountEachFolderGivenAndLeaveOutTheEmpty)
{
    const int64_t a = NewFolder(subtree, "A");
    NewFolder(a, "A1");
    NewFolder(a, "A2");
    const int64_t b = NewFolder(subtree, "B");
    std::map<int64_t, mapisvc::ChildCounts> counts;
    // `folder` has a sub folder too, but is not among those asked about.
    ASSERT_EQ(store->CountChildrenOf({b, a}, MAPI_FOLDER, counts), S_OK);
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[a].count, 2u);
    counts.clear();
    EXPECT_EQ(store->CountChildrenOf({}, MAPI_FOLDER, counts), S_OK);
    EXPECT_TRUE(counts.empty());
}

TEST_F(HierarchySourceTest, ChildCountsOfEveryFolderAgreeWithThoseOfAList)
{
    const int64_t a = NewFolder(subtree, "A");
    NewFolder(a, "A1");
    NewFolder(a, "A2");
    const int64_t b = NewFolder(subtree, "B");
    std::map<int64_t, mapisvc::ChildCounts> all, listed;
    ASSERT_EQ(store->CountChildrenOfAll(MAPI_FOLDER, all), S_OK);
    ASSERT_EQ(store->CountChildrenOf({subtree, folder, a, b}, MAPI_FOLDER, listed), S_OK);
    EXPECT_EQ(all[subtree].count, 3u);
    EXPECT_EQ(all[a].count, 2u);
    EXPECT_EQ(all.count(b), 0u);
    for (const auto& [id, counts] : listed)
        EXPECT_EQ(all[id].count, counts.count) << id;
}

TEST_P(HierarchyWalkTest, FolderThatIsItsOwnParentEndsAOneLevelTable)
{
    const int64_t a = NewFolder(subtree, "A");
    NewFolder(a, "A1");
    Reparent(a, a);
    mapipim::TraceCapture trace;
    EXPECT_EQ(Walk(a, false), std::vector<std::string>{"A1/1"});
    EXPECT_EQ(Walk(a, true), std::vector<std::string>{"A1/1"});
    EXPECT_TRUE(trace.Contains(BelowItself(a)));
}

TEST_P(HierarchyWalkTest, FoldersWhoseParentsRunInACircleEndTheWalk)
{
    {
        // Damage the file as a foreign writer could: `folder` now lies below its own child.
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(Path(), false, db), S_OK);
        const std::string damage =
            "UPDATE object SET parent = " + std::to_string(below) + " WHERE id = " + std::to_string(folder);
        ASSERT_EQ(db->Execute(damage.c_str()), S_OK);
    }
    mapipim::TraceCapture trace;
    std::unique_ptr<mapisvc::RowSource> source;
    ASSERT_EQ(mapisvc::MakeHierarchyRows(store, folder, true, source), S_OK);
    EXPECT_TRUE(trace.Contains(BelowItself(folder)));
    const std::vector<ULONG> wanted = {PROP_ID(PR_DEPTH), PROP_ID(PR_SUBFOLDERS)};
    std::vector<mapisvc::TableRow> rows;
    ASSERT_EQ(source->Scan(-1, 10, &wanted, rows), S_OK);
    ASSERT_EQ(rows.size(), 1u);
    const mapisvc::Prop* subfolders = rows[0].props.Find(PROP_ID(PR_SUBFOLDERS));
    ASSERT_NE(subfolders, nullptr);
    EXPECT_EQ(subfolders->data, mapisvc::EncodeBool(true));
}

// A folder below `below` with a name, a class and a value too large for its row, kept beside it.
const ULONG kLargeTag = PROP_TAG(PT_BINARY, 0x6613);

class StoredRowTest : public HierarchySourceTest
{
protected:
    void SetUp() override
    {
        HierarchySourceTest::SetUp();
        mapisvc::PropertyBag props;
        props.Set(PR_DISPLAY_NAME_A, "Named");
        props.Set(PR_CONTAINER_CLASS_A, "IPF.Contact");
        props.Set(kLargeTag, std::string(mapisvc::kLargeValueSize + 1, 'L'));
        int64_t id = 0;
        ASSERT_EQ(store->CreateFolder(below, props, id), S_OK);
    }
};

TEST_F(StoredRowTest, RowParsedForItsColumnsHoldsWhatTheWholeRowHolds)
{
    std::unique_ptr<mapisvc::RowSource> source;
    ASSERT_EQ(mapisvc::MakeHierarchyRows(store, below, false, source), S_OK);

    std::vector<ULONG> wanted = {PROP_ID(PR_DISPLAY_NAME_A), PROP_ID(PR_CONTAINER_CLASS_A), PROP_ID(kLargeTag),
                                 PROP_ID(PR_COMMENT_A)};
    std::sort(wanted.begin(), wanted.end());
    std::vector<mapisvc::TableRow> some, whole;
    ASSERT_EQ(source->Fetch({0}, &wanted, some), S_OK);
    ASSERT_EQ(source->Fetch({0}, nullptr, whole), S_OK);
    ASSERT_EQ(some.size(), 1u);
    ASSERT_EQ(whole.size(), 1u);
    for (ULONG propId : wanted)
    {
        SCOPED_TRACE(propId);
        mapisvc::PropView part, all;
        const bool inPart = some[0].props.Peek(propId, part);
        ASSERT_EQ(inPart, whole[0].props.Peek(propId, all));
        if (!inPart)
            continue;
        EXPECT_EQ(part.tag, all.tag);
        EXPECT_EQ(part.data, all.data);
        EXPECT_EQ(part.size, all.size);
        EXPECT_EQ(part.loaded, all.loaded);
    }
    mapisvc::PropView large;
    ASSERT_TRUE(some[0].props.Peek(PROP_ID(kLargeTag), large));
    EXPECT_EQ(large.size, mapisvc::kLargeValueSize + 1);
    EXPECT_FALSE(some[0].props.Has(PROP_ID(PR_COMMENT_A)));
    EXPECT_FALSE(some[0].props.Has(PROP_ID(PR_RECORD_KEY)));
}

TEST_F(StoredRowTest, TableGivesErrorValuesForAMissingColumnAndOneKeptBesideTheRow)
{
    std::unique_ptr<mapisvc::RowSource> source;
    ASSERT_EQ(mapisvc::MakeHierarchyRows(store, below, false, source), S_OK);
    Ref<IMAPITable> table;
    ASSERT_EQ(mapisvc::NewTable(std::move(source), 0, table.Out()), S_OK);
    const TableRows rows = ReadRows(table.Get(), {PR_DISPLAY_NAME_A, PR_COMMENT_A, kLargeTag});
    ASSERT_EQ(rows.size(), 1u);
    const SPropValue* values = rows[0].lpProps;
    ASSERT_EQ(values[0].ulPropTag, PR_DISPLAY_NAME_A);
    EXPECT_STREQ(values[0].Value.lpszA, "Named");
    EXPECT_EQ(values[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_COMMENT_A)));
    EXPECT_EQ(values[1].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(values[2].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(kLargeTag)));
    EXPECT_EQ(values[2].Value.err, MAPI_E_NOT_ENOUGH_MEMORY);
}
} // namespace
