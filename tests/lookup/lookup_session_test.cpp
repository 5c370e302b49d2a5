#include "lookup/lookup_session.h"
#include "lookup/search_statement.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::TestDatabase;
using Lines = std::vector<std::string>;

struct StatementCase {
    lookup::MatchMode mode;
    std::string text;
    Lines lines;
};

class SearchStatementTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(SearchStatementTest, FiveLinesWithTheMatchTerm)
{
    EXPECT_EQ(lookup::searchStatement("PROVIDER", "PROVIDER_NAME", GetParam().mode, GetParam().text).lines(),
              GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SearchStatementTest,
    ::testing::Values(
        StatementCase{
            lookup::MatchMode::Exact, "A", {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like 'A'"}},
        StatementCase{
            lookup::MatchMode::Prefix, "A", {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like 'A%'"}},
        StatementCase{
            lookup::MatchMode::Contains, "A", {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like '%A%'"}},
        StatementCase{
            lookup::MatchMode::Contains, "", {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like '%%'"}},
        // A quote is doubled; the wildcards stay as typed.
        StatementCase{lookup::MatchMode::Exact,
                      "O'B_%",
                      {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like 'O''B_%'"}},
        // The trail byte of 北 (A5 5F) is escaped; the clerk's own "_" and "!" keep their meaning.
        StatementCase{lookup::MatchMode::Prefix,
                      "\xA5\x5F_!",
                      {"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME", "like '\xA5!\x5F_!!%' escape '!'"}}));

class LookupSessionTest : public ::testing::Test {
protected:
    TestDatabase database;
    db::RecordSet providers;
    const work::GridColumns providerColumns{{"PROVIDER_ID", "廠商代號", 10, true},
                                            {"PROVIDER_NAME", "廠商名稱", 50, true}};

    void SetUp() override
    {
        addProvider("P01", "甲廠商");
        addProvider("P02", "乙廠商");
        addProvider("P03", "O'Brien");
        addProvider("Q10", "甲乙聯合");
        providers = database.connection().query("select PROVIDER_ID, PROVIDER_NAME from PROVIDER order by PROVIDER_ID");
    }
    void addProvider(const std::string& id, const std::string& utf8Name)
    {
        database.connection().execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID) VALUES (" +
                                      db::quote(id) + "," + db::quote(text::big5(utf8Name)) + ",'0161234')");
    }
    lookup::LookupSession session()
    {
        return lookup::LookupSession(database.connection(), providers, providerColumns, "PROVIDER");
    }
    static Lines ids(const db::RecordSet& records)
    {
        Lines values;
        for (std::size_t r = 0; r < records.rowCount(); ++r)
            values.push_back(records.text(r, "PROVIDER_ID"));
        return values;
    }
};

TEST_F(LookupSessionTest, FieldListIsFilledOnceFromTheCallersFields)
{
    auto s = session();
    s.fillFieldList();
    s.fillFieldList();
    ASSERT_EQ(s.fieldList().size(), 2u);
    EXPECT_EQ(s.fieldList()[0].label, "廠商代號");
    EXPECT_EQ(s.fieldList()[0].name, "PROVIDER_ID");
    EXPECT_EQ(s.fieldList()[1].label, "廠商名稱");
    EXPECT_EQ(s.fieldList()[1].name, "PROVIDER_NAME");
}

struct ModeCase {
    lookup::MatchMode mode;
    int field;
    std::string utf8Text;
    Lines ids;
};

class LookupSearchTest : public LookupSessionTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LookupSearchTest, FindsTheMatchingRows)
{
    auto s = session();
    s.fillFieldList();
    ASSERT_EQ(s.search(GetParam().field, GetParam().mode, text::big5(GetParam().utf8Text)),
              lookup::SearchOutcome::Found);
    EXPECT_TRUE(s.showingResult());
    Lines found = ids(s.shown());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(Modes, LookupSearchTest,
                         ::testing::Values(ModeCase{lookup::MatchMode::Exact, 0, "P02", {"P02"}},
                                           ModeCase{lookup::MatchMode::Exact, 0, "P0_", {"P01", "P02", "P03"}},
                                           ModeCase{lookup::MatchMode::Prefix, 1, "甲", {"P01", "Q10"}},
                                           ModeCase{lookup::MatchMode::Contains, 1, "乙", {"P02", "Q10"}},
                                           ModeCase{lookup::MatchMode::Contains, 1, "", {"P01", "P02", "P03", "Q10"}},
                                           ModeCase{lookup::MatchMode::Exact, 1, "O'Brien", {"P03"}},
                                           ModeCase{lookup::MatchMode::Contains, 1, "'", {"P03"}}));

TEST_F(LookupSessionTest, TheBytesOfADoubleByteCharacterAreNeverWildcards)
{
    // 北 is A5 5F and 功 A5 5C: to LIKE the trail byte of 北 is "_", any one byte.
    addProvider("N01", "北");
    addProvider("N02", "功");
    addProvider("N03", "台北店");
    addProvider("N04", "北!");
    addProvider("N05", "北x");
    struct Case {
        lookup::MatchMode mode;
        const char* utf8Text;
        Lines ids;
    };
    const Case cases[] = {
        {lookup::MatchMode::Exact, "北", {"N01"}},
        {lookup::MatchMode::Prefix, "北", {"N01", "N04", "N05"}},
        {lookup::MatchMode::Contains, "北", {"N01", "N03", "N04", "N05"}},
        {lookup::MatchMode::Exact, "北!", {"N04"}},
        // "_" typed by the clerk is still any one character.
        {lookup::MatchMode::Exact, "北_", {"N04", "N05"}},
        {lookup::MatchMode::Exact, "功", {"N02"}},
    };
    auto s = session();
    s.fillFieldList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8Text);
        ASSERT_EQ(s.search(1, c.mode, text::big5(c.utf8Text)), lookup::SearchOutcome::Found);
        Lines found = ids(s.shown());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.ids);
    }
}

TEST_F(LookupSessionTest, ResultHasEveryColumnTitledByNameInChinese)
{
    auto s = session();
    s.fillFieldList();
    ASSERT_EQ(s.search(0, lookup::MatchMode::Exact, "P02"), lookup::SearchOutcome::Found);
    EXPECT_GT(s.shown().columnCount(), 2u);
    EXPECT_GE(s.shown().columnIndex("BANK_ID"), 0);
    const auto& titles = s.shownFields();
    ASSERT_EQ(titles.size(), s.shown().columnCount());
    EXPECT_EQ(titles[0].caption, "廠商代號");
    EXPECT_EQ(titles[1].caption, "廠商名稱");
    EXPECT_EQ(titles[static_cast<std::size_t>(s.shown().columnIndex("BANK_ID"))].caption, "銀行代號");
    EXPECT_EQ(titles[static_cast<std::size_t>(s.shown().columnIndex("BANK_ACCID"))].caption, "銀行帳號");
    EXPECT_EQ(s.currentText("PROVIDER_ID"), "P02");
    EXPECT_EQ(s.currentText("PROVIDER_NAME"), text::big5("乙廠商"));
    EXPECT_EQ(s.currentText("BANK_ID"), "0161234");
}

TEST_F(LookupSessionTest, NotFoundKeepsWhatTheGridShowed)
{
    auto s = session();
    s.fillFieldList();
    ASSERT_EQ(s.search(1, lookup::MatchMode::Prefix, text::big5("甲")), lookup::SearchOutcome::Found);
    EXPECT_EQ(s.search(0, lookup::MatchMode::Exact, "NONE"), lookup::SearchOutcome::NotFound);
    EXPECT_TRUE(s.showingResult());
    EXPECT_EQ(ids(s.shown()).size(), 2u);
    s.reset();
    EXPECT_FALSE(s.showingResult());
    EXPECT_EQ(&s.shown(), &providers);
}

TEST_F(LookupSessionTest, NoFieldChosenSearchesNothing)
{
    auto s = session();
    s.fillFieldList();
    EXPECT_EQ(s.search(-1, lookup::MatchMode::Exact, "P01"), lookup::SearchOutcome::NoFieldChosen);
    EXPECT_EQ(s.search(2, lookup::MatchMode::Exact, "P01"), lookup::SearchOutcome::NoFieldChosen);
    EXPECT_TRUE(s.lastStatement().empty());
    EXPECT_FALSE(s.showingResult());
}

TEST_F(LookupSessionTest, MissingTableFailsWithTheServersMessage)
{
    lookup::LookupSession s(database.connection(), providers, providerColumns, "NO_SUCH_TABLE");
    s.fillFieldList();
    EXPECT_THROW(s.search(0, lookup::MatchMode::Exact, "P01"), text::UserError);
    EXPECT_FALSE(s.showingResult());
}

TEST_F(LookupSessionTest, NavigationFollowsTheRows)
{
    auto s = session();
    EXPECT_EQ(s.currentRow(), 0);
    EXPECT_FALSE(s.canMoveBack());
    EXPECT_TRUE(s.canMoveForward());
    s.next();
    EXPECT_EQ(s.currentText("PROVIDER_ID"), "P02");
    EXPECT_TRUE(s.canMoveBack());
    s.last();
    EXPECT_EQ(s.currentText("PROVIDER_ID"), "Q10");
    EXPECT_FALSE(s.canMoveForward());
    s.next();
    EXPECT_EQ(s.currentRow(), 3);
    s.prior();
    EXPECT_EQ(s.currentText("PROVIDER_ID"), "P03");
    s.first();
    EXPECT_EQ(s.currentRow(), 0);

    db::RecordSet none = database.connection().query("select * from PROVIDER where 1 = 0");
    lookup::LookupSession empty(database.connection(), none, {}, "PROVIDER");
    EXPECT_EQ(empty.currentRow(), -1);
    EXPECT_FALSE(empty.canMoveBack());
    EXPECT_FALSE(empty.canMoveForward());
    EXPECT_EQ(empty.currentText("PROVIDER_ID"), "");
}

} // namespace
