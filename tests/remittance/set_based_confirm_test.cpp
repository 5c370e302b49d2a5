// The condition confirm's set-based statements leave the very work tables that the
// statement-by-statement sequence leaves, cell for cell, on generated books: both books, every
// remittance state and date column, stores listed, missing and absent, accounts complete,
// incomplete and missing, NULLs, quotes and Big5 edge bytes.
#include "prescribed_confirm.h"

#include "report/bridge.h"
#include "support/generated_book.h"
#include "support/old_declarations.h"
#include "support/recording.h"
#include "support/table_compare.h"
#include "support/test_database.h"
#include "text/big5.h"

#include <gtest/gtest.h>

namespace remittance_tests {
namespace {

using remittance::Books;
using remittance::RemittanceState;
using testing_support::StoreList;

// One desk of the page: its own work-table names, grid and recorders.
struct Desk {
    Desk(db::Connection& database, const std::string& suffix, const std::string& folder)
        : tables(database, suffix, report::handOverFiles(folder)), desk{database, tables, progress, messages,
                                                                        grid,     run,    reports}
    {
    }
    work::WorkTables tables;
    testing_support::RecordingProgress progress;
    testing_support::RecordingMessages messages;
    db::RecordSet grid;
    remittance::ListedRun run;
    report::Bridge reports{""};
    remittance::RemittanceDesk desk;
    remittance::ExportFileNames shown;
    bool selectAll = false;

    remittance::ConfirmOutputs outputs()
    {
        return {.showFileNames = [this](const remittance::ExportFileNames& n) { shown = n; },
                .enableSelectAll = [this] { selectAll = true; }};
    }
};

struct Case {
    Books books;
    RemittanceState state;
    int dateColumn;
    std::string storeCombo;
    std::string accountCombo;
};

void expectSameRun(db::Connection& database, Desk& reference, Desk& program, const std::string& what)
{
    EXPECT_EQ(reference.messages.informed, program.messages.informed) << what;
    EXPECT_EQ(reference.progress.lines, program.progress.lines) << what;
    EXPECT_EQ(reference.progress.gaugeValue(), program.progress.gaugeValue()) << what;
    EXPECT_EQ(reference.shown.exportFile, program.shown.exportFile) << what;
    EXPECT_EQ(reference.shown.interBank, program.shown.interBank) << what;
    EXPECT_EQ(reference.shown.sameBank, program.shown.sameBank) << what;
    EXPECT_EQ(reference.selectAll, program.selectAll) << what;
    EXPECT_EQ(reference.grid.rowCount(), program.grid.rowCount()) << what;
    EXPECT_EQ(reference.run.stamp.empty(), program.run.stamp.empty()) << what;

    const work::WorkNames& r = reference.tables.names();
    const work::WorkNames& p = program.tables.names();
    const bool built = testing_support::relationExists(database, r.tableA);
    ASSERT_EQ(built, testing_support::relationExists(database, p.tableA)) << what;
    if (!built) {
        EXPECT_FALSE(testing_support::relationExists(database, p.viewA)) << what;
        return;
    }
    EXPECT_EQ(testing_support::columnNames(database, r.viewA), testing_support::columnNames(database, p.viewA)) << what;
    testing_support::expectSameRows(database, r.viewA, p.viewA, what + " WorkViewA");
    for (const auto& [ref, prog, label] : {std::tuple{r.tableA, p.tableA, "WorkTableA"},
                                           {r.tableB, p.tableB, "WorkTableB"},
                                           {r.tableC, p.tableC, "WorkTableC"},
                                           {r.tableD, p.tableD, "WorkTableD"}})
        testing_support::expectSameTable(database, ref, prog, what + " " + label);
}

void compareOnBook(StoreList stores, bool functionsAsBefore)
{
    testing_support::TestDatabase database;
    testing_support::TempFolder folder;
    if (functionsAsBefore)
        testing_support::declareFunctionsAsBefore(database.connection());
    const auto book = testing_support::generateBook(database.connection(), {.stores = stores, .seed = 7});
    // Suffixes that name no attachment: neither desk's run takes the other's tables for orphans.
    Desk reference(database.connection(), "_R_", folder.path());
    Desk program(database.connection(), "_P_", folder.path());

    const std::string a1 = text::big5("A1,總公司帳戶");
    const std::string firstStore = book.storeIds.empty() ? "01" : book.storeIds.front();
    const Case cases[] = {
        {Books::OwnStore, RemittanceState::NotRemitted, 0, "", a1},
        {Books::OwnStore, RemittanceState::Remitted, 1, "", a1},
        {Books::OwnStore, RemittanceState::Either, 0, "02,", "A2,O'Brien"},
        {Books::Joint, RemittanceState::NotRemitted, 0, "", a1},
        {Books::Joint, RemittanceState::Either, 1, firstStore + "," + text::big5("某店"), a1},
        {Books::Joint, RemittanceState::Remitted, 0, "99,", a1}, // a store SLAVE_ITEM does not list
        {Books::Joint, RemittanceState::Either, 0, "", "A9,"},   // an account BANK_ACCOUNT does not hold
        {Books::Joint, RemittanceState::Either, 1, "77,", a1},   // no bill: 查無資料
    };
    for (const Case& c : cases) {
        remittance::ConfirmConditions conditions;
        conditions.state = c.state;
        conditions.dateColumn = c.dateColumn;
        conditions.fromDateText = book.firstDay;
        conditions.toDateText = book.lastDay;
        conditions.accountComboText = c.accountCombo;
        conditions.storeComboText = c.storeCombo;
        conditions.books = c.books;
        const std::string what = std::string(c.books == Books::Joint ? "joint" : "own") + " state " +
                                 std::to_string(static_cast<int>(c.state)) + " date " + std::to_string(c.dateColumn) +
                                 " store '" + c.storeCombo + "' account '" + c.accountCombo + "'";
        reference.messages.informed.clear();
        program.messages.informed.clear();
        reference.selectAll = program.selectAll = false;
        reference.shown = program.shown = {};

        remittance_reference::prescribedConfirm(reference.desk, conditions, reference.outputs());
        remittance::confirmRemittance(program.desk, conditions, program.outputs());
        expectSameRun(database.connection(), reference, program, what);
    }
}

class SetBasedConfirmTest : public ::testing::TestWithParam<StoreList> {};

TEST_P(SetBasedConfirmTest, LeavesTheTablesOfTheStatementSequence)
{
    compareOnBook(GetParam(), false);
}

// A database whose STRLEN and SUBSTR keep the declarations of earlier schemas works the same.
TEST(SetBasedConfirmOldDeclarations, LeavesTheTablesOfTheStatementSequence)
{
    compareOnBook(StoreList::Several, true);
}

INSTANTIATE_TEST_SUITE_P(Stores, SetBasedConfirmTest,
                         ::testing::Values(StoreList::Several, StoreList::None, StoreList::One,
                                           StoreList::EmptyIdFirst));

// The generated book exercises what it claims: bills in both books of every kind the cases
// rely on, so an equality above is not an equality of empty tables.
TEST(GeneratedBookTest, HoldsTheBillsTheComparisonsNeed)
{
    testing_support::TestDatabase database;
    testing_support::generateBook(database.connection(), {});
    auto& db = database.connection();
    const auto count = [&](const std::string& sql) { return std::stoi(db.lookup(sql)); };
    for (const std::string book : {"PAY_MASTER", "PAY_MASTERU"}) {
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BANK_DATE IS NULL"), 5) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BANK_DATE = '' "), 5) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE OCTET_LENGTH(BANK_DATE) = 10"), 20) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE PROVIDER_ID IS NULL"), 2) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE PROVIDER_ID = 'PX'"), 2) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BILL_DATE IS NULL"), 0) << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BANK_IO <> 0 AND CASH_AMT <> 0 AND PAGE_AMT <> 0"), 2)
            << book;
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BANK_IO IS NULL"), 2) << book;
    }
    EXPECT_GT(count("SELECT COUNT(*) FROM PAY_MASTERU WHERE STORE_ID = '99'"), 5);
    EXPECT_GT(count("SELECT COUNT(*) FROM PAY_MASTERU WHERE STORE_ID IS NULL"), 2);
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE BANK_ID IS NULL"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE ACNT_AMT IS NULL"), 0);
}

} // namespace
} // namespace remittance_tests
