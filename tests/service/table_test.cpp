// Tables: columns, cursor paging, row counts, every restriction kind, sorting, seeking and bookmarks, on a
// contents table (paged from the store) and on a memory-backed table (recipients).
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <cstring>

namespace
{
struct Item
{
    const char16_t* subject;
    LONG importance;
    LONG flags;
};

const Item kItems[] = {
    {u"banana", 1, MSGFLAG_READ},    {u"Apple", 2, 0},           {u"cherry", 1, 0},
    {u"apple pie", 0, MSGFLAG_READ}, {u"Date", 2, MSGFLAG_READ},
};

class TableTest : public DefaultStoreTest
{
protected:
    void SetUp() override
    {
        DefaultStoreTest::SetUp();
        for (const Item& item : kItems)
            CreateMessage(Inbox(), item.subject,
                          {LongValue(PR_IMPORTANCE, item.importance), LongValue(PR_MESSAGE_FLAGS, item.flags)});
        ASSERT_EQ(Inbox()->GetContentsTable(MAPI_UNICODE, m_table.Out()), S_OK);
        SizedSPropTagArray(1, columns) = {1, {PR_SUBJECT_W}};
        ASSERT_EQ(m_table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    }
    void TearDown() override
    {
        m_table.Reset();
        DefaultStoreTest::TearDown();
    }

    // The subjects of the rows from the cursor on, read `batch` rows at a time.
    std::vector<std::u16string> Subjects(LONG batch = 100)
    {
        std::vector<std::u16string> subjects;
        for (;;)
        {
            Rows rows;
            EXPECT_EQ(m_table->QueryRows(batch, 0, rows.Out()), S_OK);
            if (rows->cRows == 0)
                return subjects;
            for (ULONG i = 0; i < rows->cRows; ++i)
                subjects.push_back(rows->aRow[i].lpProps[0].Value.lpszW);
        }
    }

    std::vector<std::u16string> Restricted(SRestriction restriction)
    {
        EXPECT_EQ(m_table->Restrict(&restriction, 0), S_OK);
        return Subjects();
    }

    Ref<IMAPITable> m_table;
};

SRestriction Content(ULONG fuzzy, SPropValue& value)
{
    SRestriction r{};
    r.rt = RES_CONTENT;
    r.res.resContent.ulFuzzyLevel = fuzzy;
    r.res.resContent.ulPropTag = value.ulPropTag;
    r.res.resContent.lpProp = &value;
    return r;
}

SRestriction Bitmask(ULONG relation, ULONG mask)
{
    SRestriction r{};
    r.rt = RES_BITMASK;
    r.res.resBitMask = {relation, PR_MESSAGE_FLAGS, mask};
    return r;
}

SRestriction Exist(ULONG tag)
{
    SRestriction r{};
    r.rt = RES_EXIST;
    r.res.resExist.ulPropTag = tag;
    return r;
}

TEST_F(TableTest, ColumnsKeepTheirOrderAndMissingOnesComeAsErrors)
{
    SizedSPropTagArray(3, columns) = {3, {PR_IMPORTANCE, PR_BODY_W, PR_SUBJECT_W}};
    ASSERT_EQ(m_table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    Rows rows;
    ASSERT_EQ(m_table->QueryRows(1, 0, rows.Out()), S_OK);
    ASSERT_EQ(rows->cRows, 1u);
    const SRow& row = rows->aRow[0];
    ASSERT_EQ(row.cValues, 3u);
    EXPECT_EQ(row.lpProps[0].ulPropTag, PR_IMPORTANCE);
    EXPECT_EQ(row.lpProps[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_BODY_W)));
    EXPECT_EQ(row.lpProps[1].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(std::u16string(row.lpProps[2].Value.lpszW), u"banana");

    MapiBuffer<SPropTagArray> queried;
    ASSERT_EQ(m_table->QueryColumns(0, queried.Out()), S_OK);
    EXPECT_EQ(queried->cValues, 3u);
    EXPECT_EQ(queried->aulPropTag[1], PR_BODY_W);
}

TEST_F(TableTest, QueryRowsPagesFromTheCursorInCreationOrderAndEndsWithNoRows)
{
    EXPECT_EQ(Subjects(2), (std::vector<std::u16string>{u"banana", u"Apple", u"cherry", u"apple pie", u"Date"}));
    Rows rows;
    EXPECT_EQ(m_table->QueryRows(10, 0, rows.Out()), S_OK);
    EXPECT_EQ(rows->cRows, 0u);
    ULONG count = 0;
    ASSERT_EQ(m_table->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 5u);

    ASSERT_EQ(m_table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), S_OK);
    ASSERT_EQ(m_table->QueryRows(1, TBL_NOADVANCE, rows.Out()), S_OK);
    EXPECT_EQ(Subjects(1).size(), 5u);
}

TEST_F(TableTest, EveryRestrictionKind)
{
    SPropValue apple = UnicodeValue(PR_SUBJECT_W, u"APPLE");
    EXPECT_EQ(Restricted(Content(FL_SUBSTRING | FL_IGNORECASE, apple)),
              (std::vector<std::u16string>{u"Apple", u"apple pie"}));
    EXPECT_EQ(Restricted(Content(FL_PREFIX | FL_IGNORECASE, apple)),
              (std::vector<std::u16string>{u"Apple", u"apple pie"}));
    EXPECT_EQ(Restricted(Content(FL_FULLSTRING | FL_IGNORECASE, apple)), std::vector<std::u16string>{u"Apple"});
    EXPECT_TRUE(Restricted(Content(FL_SUBSTRING, apple)).empty());

    SPropValue high = LongValue(PR_IMPORTANCE, 2);
    EXPECT_EQ(Restricted(PropertyRestriction(RELOP_EQ, high)), (std::vector<std::u16string>{u"Apple", u"Date"}));
    EXPECT_EQ(Restricted(PropertyRestriction(RELOP_LT, high)).size(), 3u);
    SPropValue cherry = UnicodeValue(PR_SUBJECT_W, u"CHERRY");
    EXPECT_EQ(Restricted(PropertyRestriction(RELOP_GE, cherry)), (std::vector<std::u16string>{u"cherry", u"Date"}));

    EXPECT_EQ(Restricted(Bitmask(BMR_EQZ, MSGFLAG_READ)), (std::vector<std::u16string>{u"Apple", u"cherry"}));
    EXPECT_EQ(Restricted(Bitmask(BMR_NEZ, MSGFLAG_READ)).size(), 3u);

    SRestriction unread = Bitmask(BMR_EQZ, MSGFLAG_READ);
    SRestriction important = PropertyRestriction(RELOP_EQ, high);
    SRestriction both[2] = {unread, important};
    SRestriction conjunction{};
    conjunction.rt = RES_AND;
    conjunction.res.resAnd = {2, both};
    EXPECT_EQ(Restricted(conjunction), std::vector<std::u16string>{u"Apple"});
    SRestriction disjunction{};
    disjunction.rt = RES_OR;
    disjunction.res.resOr = {2, both};
    EXPECT_EQ(Restricted(disjunction).size(), 3u);
    SRestriction negation{};
    negation.rt = RES_NOT;
    negation.res.resNot.lpRes = &unread;
    EXPECT_EQ(Restricted(negation), (std::vector<std::u16string>{u"banana", u"apple pie", u"Date"}));

    EXPECT_EQ(Restricted(Exist(PR_IMPORTANCE)).size(), 5u);
    EXPECT_TRUE(Restricted(Exist(PR_BODY_W)).empty());

    SRestriction size{};
    size.rt = RES_SIZE;
    size.res.resSize = {RELOP_GT, PR_SUBJECT_W, 12}; // more than five characters with the terminator
    EXPECT_EQ(Restricted(size), (std::vector<std::u16string>{u"banana", u"cherry", u"apple pie"}));

    SRestriction compare{};
    compare.rt = RES_COMPAREPROPS;
    compare.res.resCompareProps = {RELOP_EQ, PR_SUBJECT_W, PR_SUBJECT_W};
    EXPECT_EQ(Restricted(compare).size(), 5u);

    SRestriction comment{};
    comment.rt = RES_COMMENT;
    comment.res.resComment.lpRes = &unread;
    EXPECT_EQ(Restricted(comment).size(), 2u);

    ASSERT_EQ(m_table->Restrict(nullptr, 0), S_OK);
    EXPECT_EQ(Subjects().size(), 5u);
}

TEST_F(TableTest, ContentIgnoringCaseMatchesLigaturesAsTheirLetters)
{
    // Each U+FB03 folds to three letters, which outgrows room for twice the text.
    CreateMessage(Inbox(), u"\uFB03\uFB03\uFB03");
    SPropValue spelled = UnicodeValue(PR_SUBJECT_W, u"FFIFFIFFI");
    EXPECT_EQ(Restricted(Content(FL_FULLSTRING | FL_IGNORECASE, spelled)),
              std::vector<std::u16string>{u"\uFB03\uFB03\uFB03"});
    SPropValue letters = UnicodeValue(PR_SUBJECT_W, u"ffi");
    EXPECT_EQ(Restricted(Content(FL_SUBSTRING | FL_IGNORECASE, letters)),
              std::vector<std::u16string>{u"\uFB03\uFB03\uFB03"});
    EXPECT_TRUE(Restricted(Content(FL_FULLSTRING, spelled)).empty());
}

TEST_F(TableTest, RestrictionsOnRecipientsAndRejectedOperators)
{
    Ref<IMessage> message = OpenMessage(Session(), CreateMessage(Inbox(), u"to bob"));
    SPropValue address = UnicodeValue(PR_EMAIL_ADDRESS_W, u"bob@example.com");
    SizedADRLIST(1, list) = {1, {{0, 1, &address}}};
    ASSERT_EQ(message->ModifyRecipients(MODRECIP_ADD, reinterpret_cast<LPADRLIST>(&list)), S_OK);
    ASSERT_EQ(message->SaveChanges(0), S_OK);

    SPropValue bob = UnicodeValue(PR_EMAIL_ADDRESS_W, u"BOB@");
    SRestriction inner = Content(FL_PREFIX | FL_IGNORECASE, bob);
    SRestriction sub{};
    sub.rt = RES_SUBRESTRICTION;
    sub.res.resSub = {PR_MESSAGE_RECIPIENTS, &inner};
    EXPECT_EQ(Restricted(sub), std::vector<std::u16string>{u"to bob"});

    SPropValue pattern = UnicodeValue(PR_SUBJECT_W, u"a.*");
    SRestriction regex = PropertyRestriction(RELOP_RE, pattern);
    EXPECT_EQ(m_table->Restrict(&regex, 0), MAPI_E_TOO_COMPLEX);
}

TEST_F(TableTest, SortsOnSeveralKeysIgnoringCase)
{
    SizedSSortOrderSet(2, sort) = {2, 0, 0, {{PR_IMPORTANCE, TABLE_SORT_DESCEND}, {PR_SUBJECT_W, TABLE_SORT_ASCEND}}};
    ASSERT_EQ(m_table->SortTable(reinterpret_cast<LPSSortOrderSet>(&sort), 0), S_OK);
    EXPECT_EQ(Subjects(2), (std::vector<std::u16string>{u"Apple", u"Date", u"banana", u"cherry", u"apple pie"}));

    SizedSSortOrderSet(1, bySubject) = {1, 0, 0, {{PR_SUBJECT_W, TABLE_SORT_ASCEND}}};
    ASSERT_EQ(m_table->SortTable(reinterpret_cast<LPSSortOrderSet>(&bySubject), 0), S_OK);
    EXPECT_EQ(Subjects(), (std::vector<std::u16string>{u"Apple", u"apple pie", u"banana", u"cherry", u"Date"}));

    MapiBuffer<SSortOrderSet> queried;
    ASSERT_EQ(m_table->QuerySortOrder(queried.Out()), S_OK);
    EXPECT_EQ(queried->cSorts, 1u);
    EXPECT_EQ(queried->aSort[0].ulPropTag, PR_SUBJECT_W);
}

TEST_F(TableTest, RestrictingOrSortingRewindsTheCursor)
{
    Rows rows;
    ASSERT_EQ(m_table->QueryRows(3, 0, rows.Out()), S_OK);
    ASSERT_EQ(m_table->Restrict(nullptr, 0), S_OK);
    EXPECT_EQ(Subjects().size(), 5u);
    ASSERT_EQ(m_table->QueryRows(3, 0, rows.Out()), S_OK);
    SizedSSortOrderSet(1, sort) = {1, 0, 0, {{PR_SUBJECT_W, TABLE_SORT_DESCEND}}};
    ASSERT_EQ(m_table->SortTable(reinterpret_cast<LPSSortOrderSet>(&sort), 0), S_OK);
    EXPECT_EQ(Subjects().front(), u"Date");
}

TEST_F(TableTest, SeekingBookmarksAndFindRow)
{
    LONG sought = 0;
    ASSERT_EQ(m_table->SeekRow(BOOKMARK_BEGINNING, 2, &sought), S_OK);
    EXPECT_EQ(sought, 2);
    BOOKMARK mark = 0;
    ASSERT_EQ(m_table->CreateBookmark(&mark), S_OK);
    ASSERT_EQ(m_table->SeekRow(BOOKMARK_END, -1, &sought), S_OK);
    EXPECT_EQ(Subjects(), std::vector<std::u16string>{u"Date"});
    ASSERT_EQ(m_table->SeekRow(mark, 0, &sought), S_OK);
    EXPECT_EQ(Subjects().front(), u"cherry");
    EXPECT_EQ(m_table->FreeBookmark(mark), S_OK);
    EXPECT_EQ(m_table->SeekRow(mark, 0, &sought), MAPI_E_INVALID_BOOKMARK);

    // Backwards from the end.
    Rows rows;
    ASSERT_EQ(m_table->QueryRows(-2, 0, rows.Out()), S_OK);
    ASSERT_EQ(rows->cRows, 2u);
    EXPECT_EQ(std::u16string(rows->aRow[0].lpProps[0].Value.lpszW), u"Date");

    SPropValue cherry = UnicodeValue(PR_SUBJECT_W, u"cherry");
    SRestriction wanted = PropertyRestriction(RELOP_EQ, cherry);
    ASSERT_EQ(m_table->FindRow(&wanted, BOOKMARK_BEGINNING, 0), S_OK);
    ULONG row = 0, numerator = 0, denominator = 0;
    ASSERT_EQ(m_table->QueryPosition(&row, &numerator, &denominator), S_OK);
    EXPECT_EQ(row, 2u);
    SPropValue none = UnicodeValue(PR_SUBJECT_W, u"none");
    SRestriction missing = PropertyRestriction(RELOP_EQ, none);
    EXPECT_EQ(m_table->FindRow(&missing, BOOKMARK_BEGINNING, 0), MAPI_E_NOT_FOUND);
}

TEST_F(TableTest, RowsOfLargeValuesComeAsNotEnoughMemory)
{
    const std::u16string body(6000, u'x');
    CreateMessage(Inbox(), u"long", {UnicodeValue(PR_BODY_W, body.c_str())});
    SizedSPropTagArray(2, columns) = {2, {PR_SUBJECT_W, PR_BODY_W}};
    ASSERT_EQ(m_table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    SPropValue subject = UnicodeValue(PR_SUBJECT_W, u"long");
    SRestriction onlyLong = PropertyRestriction(RELOP_EQ, subject);
    ASSERT_EQ(m_table->Restrict(&onlyLong, 0), S_OK);
    Rows rows;
    ASSERT_EQ(m_table->QueryRows(1, 0, rows.Out()), S_OK);
    ASSERT_EQ(rows->cRows, 1u);
    EXPECT_EQ(rows->aRow[0].lpProps[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_BODY_W)));
    EXPECT_EQ(rows->aRow[0].lpProps[1].Value.err, MAPI_E_NOT_ENOUGH_MEMORY);
}
} // namespace
