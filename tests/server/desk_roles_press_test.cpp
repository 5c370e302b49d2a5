// The desk's presses under real roles: a clerk lists and remits through the very press the page
// calls, and the journal names that clerk and role; a clerk's clearing and re-remitting are
// refused by the database, and so is a clerk's cheque void; nobody changes or deletes a journal
// row.
#include "cheque/cheque_desk.h"
#include "report/bridge.h"
#include "support/desk_users.h"
#include "support/recording.h"
#include "text/big5.h"
#include "work/work_tables.h"
#include "workstation.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace {

using testing_support::connectAs;
using testing_support::deskUserName;
using testing_support::TestDatabase;
using namespace server_tests;

class DeskRolesPress : public ::testing::Test {
protected:
    void SetUp() override { bills_.addBills(1, 3); }

    TestDatabase books_;
    SharedBooks bills_{books_.connection()};
};

TEST_F(DeskRolesPress, AClerkListsAndRemitsAndTheJournalNamesTheClerkAndRole)
{
    const std::string user = deskUserName("DESK_CLERK");
    Workstation clerk(connectAs(books_, user, "DESK_CLERK"));
    clerk.confirm();
    ASSERT_EQ(clerk.grid.rowCount(), 3u) << testing::PrintToString(clerk.messages.informed);
    const remittance::RemitResult result = clerk.remitAll("2024/02/01");
    ASSERT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted)
        << testing::PrintToString(clerk.messages.informed);
    EXPECT_EQ(result.stamped.size(), 3u);
    EXPECT_EQ(books_.connection().lookup("SELECT DB_USER || '/' || DB_ROLE FROM PAY_RUN WHERE RUN_ID = " +
                                         std::to_string(result.runId)),
              user + "/DESK_CLERK");
}

TEST_F(DeskRolesPress, AClerksRemitAgainIsRefusedAndASupervisorsGoesThrough)
{
    books_.connection().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/25'");
    Workstation clerk(connectAs(books_, deskUserName("DESK_CLERK"), "DESK_CLERK"));
    clerk.messages.answers = {true}; // "yes" to remitting remitted rows again
    clerk.confirm(remittance::RemittanceState::Remitted);
    ASSERT_EQ(clerk.grid.rowCount(), 3u);
    EXPECT_THROW(clerk.remitAll("2024/02/01"), std::exception);
    EXPECT_EQ(books_.connection().lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/01/25'"), "3");

    Workstation supervisor(connectAs(books_, deskUserName("DESK_SUPERVISOR"), "DESK_SUPERVISOR"));
    supervisor.messages.answers = {true};
    supervisor.confirm(remittance::RemittanceState::Remitted);
    const remittance::RemitResult result = supervisor.remitAll("2024/02/01");
    EXPECT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    EXPECT_EQ(books_.connection().lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/02/01'"), "3");
}

// The void press under a role, as the cheque tab runs it: the list of June's cheques, C1 ticked.
cheque::VoidResult voidAs(TestDatabase& books, const std::string& role)
{
    std::unique_ptr<db::Connection> connection = connectAs(books, deskUserName(role), role);
    testing_support::TempFolder exeFolder;
    testing_support::RecordingProgress progress;
    testing_support::RecordingMessages messages;
    work::WorkTables tables(*connection, work::connectionSuffix(connection->connectionId()),
                            report::handOverFiles(exeFolder.path()));
    report::Bridge reports(exeFolder.path());
    db::RecordSet grid;
    cheque::ChequeDesk desk(*connection, tables, progress, messages, reports, grid);
    cheque::confirm(desk, cheque::ListConditions{cheque::DateColumn::Due, "2024/06/01", "2024/06/30", "", {}});
    EXPECT_EQ(grid.rowCount(), 1u) << testing::PrintToString(messages.informed);
    for (std::size_t row = 0; row < grid.rowCount(); ++row)
        grid.setText(row, "CHKED", "Y");
    messages.reasons.push_back(std::string("開錯"));
    return cheque::voidTicked(desk);
}

TEST_F(DeskRolesPress, AClerksChequeVoidIsRefusedAndASupervisorsGoesThrough)
{
    db::Connection& books = books_.connection();
    books.execute(text::big5("INSERT INTO CHKPAY (ID, EXPDATE, PROVIDER_ID, ACNT_ID, CURRAMT) "
                             "VALUES ('C1', '2024/06/20', 'P1', '01', 100)"));
    books.execute("INSERT INTO PAY_MASTER (MASTERBILLID, PAGE_ID, BANK_DATE) VALUES ('VB1', 'C1', '2024/06/25')");
    EXPECT_THROW(voidAs(books_, "DESK_CLERK"), std::exception);
    EXPECT_EQ(books.lookup("SELECT BANK_DATE FROM PAY_MASTER WHERE MASTERBILLID = 'VB1'"), "2024/06/25");
    EXPECT_EQ(books.lookup("SELECT COUNT(*) FROM PAY_RUN WHERE KIND = 'VOID'"), "0");

    const cheque::VoidResult voided = voidAs(books_, "DESK_SUPERVISOR");
    EXPECT_EQ(voided.voided, std::vector<std::string>{"C1"});
    EXPECT_EQ(books.lookup("SELECT COALESCE(BANK_DATE, '-') FROM PAY_MASTER WHERE MASTERBILLID = 'VB1'"), "-");
    EXPECT_EQ(books.lookup("SELECT DB_ROLE FROM PAY_RUN WHERE KIND = 'VOID'"), "DESK_SUPERVISOR");
}

TEST_F(DeskRolesPress, NobodyChangesOrDeletesAJournalRow)
{
    Workstation station(books_);
    station.confirm();
    const remittance::RemitResult result = station.remitAll("2024/02/01");
    ASSERT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    const std::string run = std::to_string(result.runId);
    const std::string statements[] = {
        "UPDATE PAY_RUN SET BILL_COUNT = 0 WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN WHERE RUN_ID = " + run,
        "UPDATE PAY_RUN_BILL SET STAMP_AFTER = NULL WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN_BILL WHERE RUN_ID = " + run,
        "UPDATE PAY_RUN_FILE SET RECORDS = 0 WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN_FILE WHERE RUN_ID = " + run,
    };
    for (const char* role : {"DESK_CLERK", "DESK_SUPERVISOR", "DESK_AUDITOR", ""}) {
        std::unique_ptr<db::Connection> connection =
            *role ? connectAs(books_, deskUserName(role), role) : books_.connectAgain(); // "" : the administrator
        for (const std::string& sql : statements)
            EXPECT_THROW(connection->execute(sql), std::exception) << (*role ? role : "SYSDBA") << ": " << sql;
    }
    EXPECT_EQ(books_.connection().lookup("SELECT BILL_COUNT FROM PAY_RUN WHERE RUN_ID = " + run), "3");
}

} // namespace
