// The condition confirm: which cheques are listed, the ROC due-date columns, the no-data exits,
// the grid's order and fields, and the progress lines.
#include "cheque/cheque_table.h"
#include "cheque_fixture.h"

#include "text/error.h"

using cheque_testing::Cheque;
using cheque_testing::ChequeDeskTest;

namespace {

using Ids = std::vector<std::string>;

TEST_F(ChequeDeskTest, DateColumnChoiceDecidesWhichDateTheRangeAppliesTo)
{
    // Each cheque falls in the range by exactly one of its three dates.
    addCheque({"DUE", "2020/01/01", "2024/05/10", "2020/01/01"});
    addCheque({"RCV", "2024/05/11", "2026/01/01", "2020/01/01"});
    addCheque({"ADV", "2020/01/01", "2026/01/01", "2024/05/12"});

    const std::pair<cheque::DateColumn, Ids> cases[] = {
        {cheque::DateColumn::Due, {"DUE"}},
        {cheque::DateColumn::Issued, {"RCV"}},
        {cheque::DateColumn::Advance, {"ADV"}},
    };
    for (const auto& [dateColumn, expected] : cases) {
        cheque::confirm(desk, range("2024/05/01", "2024/05/31", {}, dateColumn));
        EXPECT_EQ(column(grid, "ID"), expected);
    }
    EXPECT_TRUE(messages.informed.empty());
}

TEST_F(ChequeDeskTest, AccountFilterAppliesOnlyWithAKey)
{
    addCheque({"C1", "", "2024/05/10", "", "P01", "01"});
    addCheque({"C2", "", "2024/05/11", "", "P01", "02"});
    addCheque({"C3", "", "2024/05/12", "", "P01", "O'1"});

    const std::pair<std::string, Ids> cases[] = {
        {text::big5("01,一銀總行"), {"C1"}},
        {"02,", {"C2"}},
        {"O'1,quoted", {"C3"}},           // the key goes into the statement quoted
        {"", {"C1", "C2", "C3"}},         // empty text
        {"01", {"C1", "C2", "C3"}},       // a bare id has no key
        {"  ,blank", {"C1", "C2", "C3"}}, // a key of blanks is no key
    };
    for (const auto& [combo, expected] : cases) {
        cheque::confirm(desk, range("2024/05/01", "2024/05/31", combo));
        EXPECT_EQ(column(grid, "ID"), expected) << combo;
    }
}

TEST_F(ChequeDeskTest, DueDatesGetTheirRocColumnsInTheTableAndTheGrid)
{
    addCheque({"C1", "", "2016/02/29", ""});
    addCheque({"C2", "", "2010/12/31", ""});
    cheque::confirm(desk, range("2010/01/01", "2016/12/31"));

    const db::RecordSet table =
        db().query("SELECT ID, YMD, YYYY, MM, DD FROM " + tables.names().tableA + " ORDER BY ID");
    ASSERT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(column(table, "YMD"), (Ids{"105/02/29", "99/12/31"}));
    EXPECT_EQ(column(table, "YYYY"), (Ids{"105", "99"}));
    EXPECT_EQ(column(table, "MM"), (Ids{"02", "12"}));
    EXPECT_EQ(column(table, "DD"), (Ids{"29", "31"}));
    // The grid is opened after the columns are written, so it carries them too.
    EXPECT_EQ(column(grid, "YMD"), (Ids{"105/02/29", "99/12/31"})); // one account number: by id
}

TEST_F(ChequeDeskTest, BlankDueDateIsListedWithItsMessageAndEmptyRocColumns)
{
    addCheque({"C1", "2024/05/01", "2024/06/01", ""});
    addCheque({"C2", "2024/05/02", "    /  /", ""});
    cheque::confirm(desk, range("2024/05/01", "2024/05/31", {}, cheque::DateColumn::Issued));

    EXPECT_EQ(messages.informed, (Ids{"[ C2 ] 支票到期日 格式有誤......"}));
    ASSERT_EQ(grid.rowCount(), 2u);
    EXPECT_EQ(column(grid, "YMD"), (Ids{"113/06/01", ""}));
    EXPECT_TRUE(grid.isNull(1, grid.fieldIndex("YYYY")));
}

TEST_F(ChequeDeskTest, MalformedDueDateStopsTheRunWithTablesLeftAndNoGrid)
{
    addCheque({"C1", "2024/05/01", "2024/06/01", ""});
    addCheque({"C2", "2024/05/02", "2024/02/30", ""});
    try {
        cheque::confirm(desk, range("2024/05/01", "2024/05/31", {}, cheque::DateColumn::Issued));
        FAIL() << "a malformed due date was accepted";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "'2024/02/30' is not a valid date");
    }
    EXPECT_FALSE(grid.isOpen());
    EXPECT_TRUE(relationExists(tables.names().tableA));
    EXPECT_TRUE(relationExists(tables.names().tableC));
    // Nothing was written half-way: the good row's columns were not stamped either.
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM " + tables.names().tableA + " WHERE YMD IS NOT NULL"), "0");
    EXPECT_FALSE(cheque::listIsCurrent(desk));
}

TEST_F(ChequeDeskTest, NoDataExitsCloseTheGridAndDropTheTables)
{
    struct Case {
        const char* name;
        std::string rcv, exp;
    };
    const Case cases[] = {
        {"empty range", "2023/01/01", "2023/02/01"},
        {"first due date empty", "2024/05/10", ""},
        {"first due date null", "2024/05/10", "NULL"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A list from before, which the exit must close.
        addCheque({"OLD" + std::to_string(n), "2024/05/01", "2024/05/01", ""});
        cheque::confirm(desk, range("2024/05/01", "2024/05/01", {}, cheque::DateColumn::Issued));
        ASSERT_EQ(grid.rowCount(), 1u);
        addCheque({"NEW" + std::to_string(n), c.rcv, c.exp, ""});

        messages.informed.clear();
        cheque::confirm(desk, range("2024/05/10", "2024/05/10", {}, cheque::DateColumn::Issued));
        EXPECT_EQ(messages.informed, (Ids{"無資料..........."}));
        EXPECT_FALSE(grid.isOpen());
        EXPECT_FALSE(relationExists(tables.names().tableA));
        EXPECT_FALSE(relationExists(tables.names().tableC));
        db().execute("DELETE FROM CHKPAY");
        ++n;
    }
}

TEST_F(ChequeDeskTest, GridFollowsTheChosenOrder)
{
    addCheque({"C3", "", "2024/05/10", "", "P01", "01", "900"});
    addCheque({"C1", "", "2024/05/10", "", "P02", "01", "900"});
    addCheque({"C2", "", "2024/05/10", "", "P03", "01", "100"});
    addCheque({"C0", "", "2024/05/10", "", "P02", "01", "100"});

    cheque::confirm(desk,
                    range("2024/05/10", "2024/05/10", {}, cheque::DateColumn::Due, cheque::SortOrder::ChequeNumber));
    EXPECT_EQ(column(grid, "ID"), (Ids{"C0", "C2", "C1", "C3"})); // account number, then id
    cheque::confirm(desk, range("2024/05/10", "2024/05/10", {}, cheque::DateColumn::Due, cheque::SortOrder::Provider));
    EXPECT_EQ(column(grid, "ID"), (Ids{"C3", "C0", "C1", "C2"})); // provider, then id
}

TEST_F(ChequeDeskTest, GridCarriesItsFieldsAndKeepsLongChequeNumbers)
{
    const std::string longId = "AB12345678901234567Z"; // the column's full 20 bytes
    addCheque({longId, "2024/05/02", "2024/06/01", "2024/05/20", "P01", "01", "1234567", 56789.5,
               text::big5("大統企業股份有限公司")});
    cheque::confirm(desk, range("2024/06/01", "2024/06/01"));

    ASSERT_EQ(grid.rowCount(), 1u);
    EXPECT_EQ(grid.text(0, "ID"), longId);
    EXPECT_EQ(grid.column(grid.fieldIndex("ID")).size, 20u);
    EXPECT_EQ(grid.text(0, "CHKTITLE"), text::big5("大統企業股份有限公司"));
    EXPECT_DOUBLE_EQ(grid.number(0, "CURRAMT"), 56789.5);
    EXPECT_EQ(grid.text(0, "ADVDATE"), "2024/05/20");

    std::vector<std::string> shown, hidden;
    for (const work::GridColumn& field : cheque::gridFields())
        (field.visible ? shown : hidden).push_back(field.name + ":" + field.caption);
    EXPECT_EQ(shown, (Ids{"CHKED:選擇", "ID:支票號碼", "PROVIDER_ID:廠商編號", "PROVIDER_NAME:廠商名稱",
                          "CHKTITLE:支票抬頭", "EXPDATE:支票到期日", "CURRAMT:支票金額", "ACNT_NO:開立帳號",
                          "RCVDATE:開票日期", "ISSUED_ON:已開票"}));
    EXPECT_EQ(hidden.size(), 8u);
    EXPECT_EQ(hidden.front(), "ACNT_ID:開立帳戶");
}

TEST_F(ChequeDeskTest, WorkTablesHaveTheChequeLayoutAndTheIssuedTableStartsEmpty)
{
    addCheque({"C1", "", "2024/05/10", ""});
    cheque::confirm(desk, range("2024/05/10", "2024/05/10"));
    const Ids layout{"CHKED",    "RCVDATE", "EXPDATE", "ADVDATE",   "PROVIDER_ID", "PROVIDER_NAME",
                     "CHKTITLE", "ID",      "ACNT_ID", "ACNT_NO",   "BANK_NAME",   "CURRAMT",
                     "MEMO",     "REMARK2", "ACC_ID",  "BANK_DATE", "YMD",         "YYYY",
                     "MM",       "DD",      "FLAG"};
    for (const std::string& table : {tables.names().tableA, tables.names().tableC}) {
        const db::RecordSet rows = db().query("SELECT * FROM " + table);
        Ids names;
        for (const db::Column& c : rows.columns())
            names.push_back(c.name);
        EXPECT_EQ(names, layout) << table;
    }
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM " + tables.names().tableC), "0");
    // The cheque run names a view but makes none.
    EXPECT_FALSE(relationExists(tables.names().viewA));
}

TEST_F(ChequeDeskTest, ProgressLinesFollowTheRun)
{
    addCheque({"C1", "", "2024/05/10", ""});
    cheque::confirm(desk, range("2024/05/10", "2024/05/10"));
    EXPECT_EQ(progress.lines, (Ids{"檢視資料清除中....", "CAST2 .....", "CAST3 .....", "CAST4 .....", "CAST5 .....",
                                   "CAST6 .....", "CAST6 .....2"}));
    EXPECT_EQ(progress.gaugeMaximum(), 10);
    EXPECT_EQ(progress.gaugeValue(), 6);
}

TEST_F(ChequeDeskTest, InvalidDateEditStopsBeforeAnyTableIsMade)
{
    addCheque({"C1", "", "2024/05/10", ""});
    try {
        cheque::confirm(desk, range("2024/05/10", "    /  /  "));
        FAIL() << "a blank date edit was accepted";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "'    /  /  ' is not a valid date");
    }
    EXPECT_FALSE(relationExists(tables.names().tableA));
    EXPECT_FALSE(grid.isOpen());
}

} // namespace
