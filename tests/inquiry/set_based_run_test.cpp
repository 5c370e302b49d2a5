// Both inquiry runs' set-based statements leave the very work tables that the statement-by-
// statement sequences leave, cell for cell, on generated books: every processing state,
// payment kind, condition and report format, a provider typed or not, a store chosen, missing
// or not, with stores listed, absent, single and without id, NULLs, quotes and Big5 edge bytes.
#include "prescribed_runs.h"

#include "report/bridge.h"
#include "support/generated_book.h"
#include "support/old_declarations.h"
#include "support/recording.h"
#include "support/table_compare.h"
#include "support/test_database.h"
#include "text/big5.h"

#include <gtest/gtest.h>

namespace inquiry_testing {
namespace {

using testing_support::StoreList;

struct Tab {
    Tab(db::Connection& database, const std::string& suffix, const std::string& folder)
        : tables(database, suffix, report::handOverFiles(folder)), services{database, tables, progress, messages, grid}
    {
    }
    work::WorkTables tables;
    testing_support::RecordingProgress progress;
    testing_support::RecordingMessages messages;
    db::RecordSet grid;
    inquiry::InquiryDesk services;
};

void expectSameRun(db::Connection& database, Tab& reference, Tab& program, const std::string& what)
{
    EXPECT_EQ(reference.messages.informed, program.messages.informed) << what;
    EXPECT_EQ(reference.progress.lines, program.progress.lines) << what;
    EXPECT_EQ(reference.progress.gaugeValue(), program.progress.gaugeValue()) << what;
    EXPECT_EQ(reference.grid.rowCount(), program.grid.rowCount()) << what;
    EXPECT_EQ(reference.grid.isOpen(), program.grid.isOpen()) << what;

    const work::WorkNames& r = reference.tables.names();
    const work::WorkNames& p = program.tables.names();
    const bool built = testing_support::relationExists(database, r.tableA);
    ASSERT_EQ(built, testing_support::relationExists(database, p.tableA)) << what;
    if (!built) {
        EXPECT_FALSE(testing_support::relationExists(database, p.viewA)) << what;
        EXPECT_FALSE(testing_support::relationExists(database, p.tableB)) << what;
        return;
    }
    EXPECT_EQ(testing_support::columnNames(database, r.viewA), testing_support::columnNames(database, p.viewA)) << what;
    testing_support::expectSameRows(database, r.viewA, p.viewA, what + " WorkViewA");
    testing_support::expectSameTable(database, r.tableA, p.tableA, what + " WorkTableA");
    const bool statistics = testing_support::relationExists(database, r.tableB);
    ASSERT_EQ(statistics, testing_support::relationExists(database, p.tableB)) << what;
    if (statistics)
        testing_support::expectSameTable(database, r.tableB, p.tableB, what + " WorkTableB");
}

struct Case {
    inquiry::Scope scope;
    int processingState, paymentKind, condition, reportFormat;
    std::string provider, store;
};

void compareOnBook(StoreList stores, bool functionsAsBefore)
{
    testing_support::TestDatabase database;
    testing_support::TempFolder folder;
    if (functionsAsBefore)
        testing_support::declareFunctionsAsBefore(database.connection());
    const auto book = testing_support::generateBook(database.connection(), {.stores = stores, .seed = 11});
    // Suffixes that name no attachment: neither tab's run takes the other's tables for orphans.
    Tab reference(database.connection(), "_R_", folder.path());
    Tab program(database.connection(), "_P_", folder.path());

    using inquiry::Scope;
    const std::string firstStore = book.storeIds.empty() ? "01" : book.storeIds.front();
    const Case cases[] = {
        {Scope::OwnStore, 2, 0, 0, 0, "", ""},
        {Scope::OwnStore, 0, 1, 1, 1, "", ""},
        {Scope::OwnStore, 1, 4, 0, 1, "", ""},
        {Scope::OwnStore, 2, 2, 2, 1, "", ""},
        {Scope::OwnStore, 2, 3, 0, 1, "P'1", ""},
        {Scope::AllStores, 2, 0, 0, 1, "", ""},
        {Scope::AllStores, 0, 4, 1, 1, "", ""},
        {Scope::AllStores, 1, 2, 0, 1, "", firstStore + "," + text::big5("某店")},
        {Scope::AllStores, 2, 3, 2, 0, "", "99,"},
        {Scope::AllStores, 2, 1, 0, 1, " P03", ""}, // a leading blank matches no provider
        {Scope::AllStores, 2, 0, 0, 1, "P01", ""},
        {Scope::AllStores, 0, 0, 0, 1, "NOBODY", ""}, // no bill: 查無資料
    };
    for (const Case& c : cases) {
        inquiry::InquiryConditions conditions;
        conditions.processingState = c.processingState;
        conditions.paymentKind = c.paymentKind;
        conditions.condition = c.condition;
        conditions.reportFormat = c.reportFormat;
        conditions.dataSelection = c.scope == Scope::AllStores ? inquiry::AllStores : inquiry::OwnStore;
        conditions.billFrom = c.scope == Scope::AllStores ? "M00010" : "M00020";
        conditions.billTo = "M00090";
        conditions.dateFromText = book.firstDay;
        conditions.dateToText = book.lastDay;
        conditions.providerText = c.provider;
        conditions.storeText = c.store;
        const std::string what = std::string(c.scope == Scope::AllStores ? "all stores" : "own store") + " state " +
                                 std::to_string(c.processingState) + " kind " + std::to_string(c.paymentKind) +
                                 " condition " + std::to_string(c.condition) + " format " +
                                 std::to_string(c.reportFormat) + " provider '" + c.provider + "' store '" + c.store +
                                 "'";
        reference.messages.informed.clear();
        program.messages.informed.clear();

        inquiry_reference::prescribedRun(c.scope, conditions, reference.services);
        inquiry::run(c.scope, conditions, program.services);
        expectSameRun(database.connection(), reference, program, what);
    }
}

class SetBasedRunTest : public ::testing::TestWithParam<StoreList> {};

TEST_P(SetBasedRunTest, LeavesTheTablesOfTheStatementSequences)
{
    compareOnBook(GetParam(), false);
}

// A database whose STRLEN and SUBSTR keep the declarations of earlier schemas works the same.
TEST(SetBasedRunOldDeclarations, LeavesTheTablesOfTheStatementSequences)
{
    compareOnBook(StoreList::Several, true);
}

INSTANTIATE_TEST_SUITE_P(Stores, SetBasedRunTest,
                         ::testing::Values(StoreList::Several, StoreList::None, StoreList::One,
                                           StoreList::EmptyIdFirst));

} // namespace
} // namespace inquiry_testing
